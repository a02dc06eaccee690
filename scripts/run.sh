#!/usr/bin/env bash
# Installs what is missing, builds, and runs kx9monitor in a scratch program folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${KX9_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" "$build" -DKX9_BUILD_TESTS=OFF
folder=${KX9_PROGRAM_DIR:-$build/program}
mkdir -p "$folder"
cd "$folder"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=offscreen KX9_UNATTENDED=1
fi
exec "$build/src/app/kx9monitor" "$@"
