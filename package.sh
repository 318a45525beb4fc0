#!/usr/bin/env bash
# Installs what is missing, builds the optimised game and writes its Debian package,
# build/package/velmora_<version>_<arch>.deb, then checks the package with lintian.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install_deps.sh dpkg-dev lintian

out=build/package
build=$out/build
stage=$out/debian/velmora
mkdir -p "$out"
rm -rf "$out/debian" "$out"/velmora_*.deb

# Debian's hardening flags; the programs are stripped, so no debug information is made.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags=" $(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS) "
cxxflags=${cxxflags// -g / }
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr \
    "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" \
    "${launcher[@]}" >/dev/null
nice cmake --build "$build"
DESTDIR="$PWD/$stage" cmake --install "$build" --strip >/dev/null
# As Debian strips programs: without the compiler's notes either.
strip --remove-section=.comment --remove-section=.note "$stage"/usr/games/velmora \
    "$stage"/usr/bin/velmora-tool

version=$(cat "$build/packaging/package-version")
arch=$(dpkg --print-architecture)
deb=$out/velmora_${version}_${arch}.deb

# The shared libraries the programs link give the dependencies; dpkg-shlibdeps reads the
# package's name from a control file of its own and finds the package's folder by its
# DEBIAN folder.
mkdir -p "$stage/DEBIAN"
printf 'Source: velmora\n\nPackage: velmora\nArchitecture: any\n' >"$out/debian/control"
shlibs=$(cd "$out" &&
    dpkg-shlibdeps -O debian/velmora/usr/games/velmora debian/velmora/usr/bin/velmora-tool |
    sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || { echo "dpkg-shlibdeps found no libraries" >&2; exit 1; }

# The toolkit draws through a platform plugin, which no library links; the screens use
# the Liberation fonts in place of the fonts they are laid out for.
cat >"$stage/DEBIAN/control" <<CONTROL
Package: velmora
Version: $version
Architecture: $arch
Section: games
Priority: optional
Maintainer: The Velmora developers <developers@velmora.invalid>
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $shlibs, qt6-qpa-plugins, fonts-liberation
Description: turn-based play-by-file strategy game of world conquest
 Velmora is a turn-based, play-by-file strategy game. Each player leads a race
 on a spherical world of 128 x 256 hexagonal tiles and takes his turns by
 exchanging game files with the host of the game.
 .
 A host creates a game: the world is raised from the sea by random faults and
 a host file plus one player file per player are written. A player opens his
 file and sees his world as a small rotating globe and as a large 3D map; he
 reads his messages, plans research in technology trees, designs units and
 saves his turn. Races are designed in a wizard and saved as race files.
 .
 The game is at an early, pre-alpha stage. The package also holds
 velmora-tool, the command line tool for hosts and scripts.
CONTROL
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "Wrote $deb"

# lintian fails on errors only; its warnings are printed for the packager to read.
lintian --fail-on error --info "$deb"
