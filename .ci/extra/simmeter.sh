#!/usr/bin/env bash
# The simulated meter program serves on its own: it prints its port and answers a query there,
# and its --log file holds the transcript of both directions.
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${KX9_BUILD_DIR:-build}/tools/simmeter/simmeter
out=$(mktemp)
log=$(mktemp)
"$program" --baud 9600 --model QS4160_L --log "$log" >"$out" &
meter=$!
trap 'kill "$meter" 2>/dev/null || true; rm -f "$out" "$log"' EXIT
for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
port=$(head -n 1 "$out")
[ -c "$port" ] || { echo "simmeter: no port in '$port'"; exit 1; }
exec 3<>"$port"
stty -F "$port" raw -echo 9600
printf 'SET:INSTR_M:?\r\n' >&3
IFS= read -r -t 5 -d $'\x03' reply <&3 || true
exec 3>&-
[ "$reply" = "SET:INSTR_MODEL:QS4160_L" ] || { echo "simmeter: unexpected reply '$reply'"; exit 1; }
kill "$meter"
wait "$meter" || true
expected=$'>> SET:INSTR_M:?\n<< SET:INSTR_MODEL:QS4160_L<ETX>'
[ "$(cat "$log")" = "$expected" ] || { echo "simmeter: unexpected log"; cat "$log"; exit 1; }
echo "simmeter: ok"
