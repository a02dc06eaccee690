#!/usr/bin/env bash
# A library links what it includes: a header of another library's folder under src/ is only
# included by a library whose own CMakeLists.txt links a library of that folder, so no library
# builds on what another one happens to link for it.
set -euo pipefail
cd "$(dirname "$0")/../.."
python3 - <<'EOF'
import glob
import re
import sys

defined = {}  # folder -> the libraries its CMakeLists.txt adds
linked = {}   # folder -> the libraries it links
for cmake in sorted(glob.glob("src/*/CMakeLists.txt")):
    folder = cmake.split("/")[1]
    text = open(cmake).read()
    defined[folder] = set(re.findall(r"kx9_add_library\((\w+)", text))
    linked[folder] = set()
    for names in re.findall(r"target_link_libraries\(\w+([^)]*)\)", text, re.S):
        linked[folder].update(names.split())

offenders = []
for folder in sorted(defined):
    for path in sorted(glob.glob(f"src/{folder}/**/*.[hc]*", recursive=True)):
        for line, other in re.findall(r'^(\s*#\s*include\s*"(\w+)/.*)$', open(path).read(), re.M):
            if other != folder and other in defined and not defined[other] & linked[folder]:
                offenders.append(f"{path}: {line.strip()} (links no library of src/{other})")
if offenders:
    print("linked includes: headers of libraries not linked:")
    print("\n".join(offenders))
    sys.exit(1)
print("linked includes: ok")
EOF
