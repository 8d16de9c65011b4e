#!/usr/bin/env bash
# Builds the program as a distribution would (Release, with Debian's hardening
# flags), runs the tests labelled "release" on that build, makes the Debian
# package, checks it with lintian and runs the programs from the unpacked
# package.
#   scripts/package-check.sh              build and package in build-release/
#   scripts/package-check.sh --all-tests  the same, running every test
#   scripts/package-check.sh --from DIR   package DIR, a build scripts/test.sh
#                                         has made with the same flags and tested (CI)
#
# The "release" tests are those whose outcome the optimiser and the hardening
# flags can change: the engine (analysis), soten-cli in-process and as a
# process (its exit statuses, pipes and peak memory), the PDF page that
# soten-cli --pdf makes, and the desktop program's --help and --version. The
# windows' tests exercise Qt's code far more than ours; scripts/test.sh runs
# them on an optimised build already.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

mode="${1:-}"
if [ "$mode" = "--from" ]; then
  # Built with Debian's flags and tested already.
  build="${2:?package-check.sh: --from needs a build folder}"
  if [ ! -f "$build/CPackConfig.cmake" ]; then
    echo "package-check.sh: $build is not a configured build folder" >&2
    exit 2
  fi
else
  build=build-release
  export CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
  export LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
  ci_options=()
  # CI only: line tables as the only debug information (the package is stripped).
  [ -z "${SOTEN_CI:-}" ] || ci_options=(-DSOTEN_LINE_TABLES_ONLY=ON)
  # A unity build: a target's files are compiled a few at a time in one unit,
  # which parses the Qt and GoogleTest headers once per batch instead of once
  # per file. scripts/test.sh still compiles every file alone.
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSOTEN_WERROR=ON \
    -DSOTEN_BUILD_BENCH=OFF -DCMAKE_UNITY_BUILD=ON "${ci_options[@]}"
  if [ "$mode" = "--all-tests" ]; then
    cmake --build "$build" -j"$(nproc)"
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
  else
    # What the package installs (every folder but the tests') and the suites
    # that hold the release tests.
    targets=$(cmake --build "$build" -- -t targets all |
      sed -n -E 's|^([a-z]+)/all: phony$|\1/all|p' | grep -v '^tests/all$')
    # shellcheck disable=SC2086
    cmake --build "$build" -j"$(nproc)" --target $targets soten_release_tests
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)" -L release
  fi
fi

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
# A workbook written and read back: soten-cli finds its plug-in where the
# package puts it.
printf '山田 太郎\n' | "$unpacked/usr/bin/soten-cli" --batch --format xlsx -o "$unpacked/名簿.xlsx"
"$unpacked/usr/bin/soten-cli" --batch --no-report --format tsv "$unpacked/名簿.xlsx" | grep -q 太郎
# No display is needed for the version.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/bin/soten" --version
echo "package-check.sh: the package builds, passes lintian and its programs run"
