#!/usr/bin/env bash
# Layers point down only: no library under src/ and no stand-in under tools/ includes a header
# of the application (app/), which sits on top of them all.
set -euo pipefail
cd "$(dirname "$0")/../.."
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](\.\./)*app/'
if offenders=$(grep -rnE "$pattern" src tools --include='*.h' --include='*.cpp' |
    grep -v '^src/app/'); then
    echo "layering: files outside src/app include app/ headers:"
    echo "$offenders"
    exit 1
fi
echo "layering: ok"
