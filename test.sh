#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install_deps.sh
cmake --preset asan >/dev/null
cmake --build build/asan
ctest --test-dir build/asan --output-on-failure -j "$(nproc)" "$@"
