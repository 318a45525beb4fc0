#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the game need, when missing,
# and any further packages named as arguments (package.sh names its packaging tools).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev libstb-dev libpng-dev nlohmann-json3-dev
    clang libclang-rt-14-dev clang-format
    fonts-liberation xvfb xauth
    # the tests of the installed tree validate the desktop files and file types
    desktop-file-utils appstream shared-mime-info
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
