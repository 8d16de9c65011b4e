#!/usr/bin/env bash
# Builds the program as a distribution would (Release, with Debian's hardening
# flags), runs every test on that build, makes the Debian package, checks it
# with lintian and runs the programs from the unpacked package.
#   scripts/package-check.sh    build in build-release/, package in build-release/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-release
export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSOTEN_WERROR=ON \
  -DSOTEN_BUILD_BENCH=OFF
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

rm -f "$build"/soten_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/soten_*.deb)
echo "package-check.sh: built $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

# No errors; the warnings it may print are explained in the README.
lintian --fail-on error "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for binary in soten soten-cli; do
  if file "$unpacked/usr/bin/$binary" | grep -q "not stripped"; then
    echo "package-check.sh: /usr/bin/$binary carries debug information" >&2
    exit 1
  fi
done
"$unpacked/usr/bin/soten-cli" 山田 太郎
# No display is needed for the version.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/bin/soten" --version
echo "package-check.sh: the package builds, passes lintian and its programs run"
