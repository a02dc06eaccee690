#!/usr/bin/env bash
# What a library needs of the application is a `...Host` interface: no class is named
# `...Services`.
set -euo pipefail
cd "$(dirname "$0")/../.."
if offenders=$(grep -rnE '^\s*(class|struct)\s+(\w+::)*\w*Services\b' src tools \
    --include='*.h' --include='*.cpp'); then
    echo "host names: interfaces named ...Services:"
    echo "$offenders"
    exit 1
fi
echo "host names: ok"
