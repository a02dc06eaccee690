#!/usr/bin/env bash
# Layers point down only: no library under src/ and no stand-in under tools/ includes a header
# of the application (app/), which sits on top of them all. Benchmarks (tools/*_bench/) drive
# the whole program from above, as its main does, and may. The setup pages need nothing of the
# charts: the band captions both use sit below them, with the recording layouts.
set -euo pipefail
cd "$(dirname "$0")/../.."
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](\.\./)*app/'
if offenders=$(grep -rnE "$pattern" src tools --include='*.h' --include='*.cpp' |
    grep -v -e '^src/app/' -e '^tools/[a-z_]*_bench/'); then
    echo "layering: files outside src/app include app/ headers:"
    echo "$offenders"
    exit 1
fi
if offenders=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](\.\./)*charts/' src/setup); then
    echo "layering: the setup includes charts/ headers:"
    echo "$offenders"
    exit 1
fi
echo "layering: ok"
