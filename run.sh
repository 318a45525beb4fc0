#!/usr/bin/env bash
# Installs what is missing, builds the optimised game and starts it in its run folder.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install_deps.sh
cmake --preset release >/dev/null
cmake --build build/release --target velmora run_folder

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (DISPLAY is not set); to run without a screen use: xvfb-run ./run.sh" >&2
    exit 1
fi
cd build/release/run
exec ./velmora "$@"
