#!/usr/bin/env bash
# Fuzzes the zip archive reader with libFuzzer for about a minute, starting from a few archives
# written by Python and Info-ZIP and from the inputs that once crashed it (tests/zip/corpus).
# A crash fails the step; its input is left in $out as crash-* for tests/zip/corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${KX9_FUZZ_DIR:-$root/build-zip-fuzz}
seconds=${KX9_FUZZ_SECONDS:-45}
rm -rf "$out/corpus" && mkdir -p "$out/corpus"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root/src" -I"$root/tests/zip" \
    "$root"/src/zip/*.cpp "$root/src/platform/text.cpp" "$root/src/platform/files.cpp" \
    "$root/tests/zip/archive_probe.cpp" "$root/tests/zip/fuzz/zip_fuzz.cpp" \
    -lz -o "$out/zip_fuzz"

cp "$root"/tests/zip/corpus/* "$out/corpus/" 2>/dev/null || true
(
    cd "$out/corpus"
    python3 - <<'PY'
import io, zipfile
def make(name, **kw):
    with zipfile.ZipFile(name, "w", **kw) as z:
        z.writestr("a.txt", b"hello " * 40)
        z.writestr("dir/", b"")
        z.writestr("dir/caf\u00e9.bin", bytes(range(256)))
        z.comment = b"seed"
make("seed-deflated.zip", compression=zipfile.ZIP_DEFLATED)
make("seed-stored.zip", compression=zipfile.ZIP_STORED)
class Unseekable(io.RawIOBase):
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)
with open("seed-descriptor.zip", "wb") as f:
    with zipfile.ZipFile(Unseekable(f), "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("streamed.txt", b"streamed " * 30)
PY
    echo "secret data secret data" > plain.txt
    zip -q -P secret seed-encrypted.zip plain.txt
    zip -q -0 -P secret seed-encrypted-stored.zip plain.txt
    rm plain.txt
)

"$out/zip_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/" "$out/corpus" 2>"$out/fuzz.log" || {
    tail -n 60 "$out/fuzz.log"
    echo "zip fuzzing found a crash: see $out/crash-* (add it to tests/zip/corpus once fixed)"
    exit 1
}
grep -E "stat::number_of_executed_units|cov:" "$out/fuzz.log" | tail -n 2
