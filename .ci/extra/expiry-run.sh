#!/usr/bin/env bash
# The README's main command without a display: the start-up job against the stand-ins must
# write the certificate dates into the simulated meter and record the change on the server.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(mktemp)
trap 'rm -f "$out"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY KX9_CLOCK_SPEED=20 ./scripts/run.sh >"$out" 2>&1 || {
    cat "$out"; echo "expiry-run: run.sh failed"; exit 1; }
today=$(date +%Y/%m/%d)
grep -q "fields after: .*CERT_DATE=$today" "$out" || { cat "$out"; echo "expiry-run: meter not updated"; exit 1; }
grep -q "^SN T200; TECNICO 123456; CERT_DATE 2024/03/01 -> $today" "$out" || {
    cat "$out"; echo "expiry-run: no record on the server"; exit 1; }
echo "expiry-run: ok"
