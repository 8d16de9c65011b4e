#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh              plain build in build/, with Debian's build flags
#   scripts/test.sh --bench      the same, with the benchmarks (build/bench/)
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build
options=(-DSOTEN_WERROR=ON -DSOTEN_BUILD_BENCH=OFF)
case "${1:-}" in
  --bench)
    options=(-DSOTEN_WERROR=ON -DSOTEN_BUILD_BENCH=ON)
    ;;
  --sanitize)
    build=build-asan
    # A unity build; the plain build on a developer's machine compiles file
    # by file, so a missing #include is caught there.
    options=(-DSOTEN_WERROR=ON -DSOTEN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DSOTEN_BUILD_BENCH=OFF
      -DCMAKE_UNITY_BUILD=ON)
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ;;
esac

# The plain build is compiled as Debian compiles its packages (-O2 and the
# hardening flags of dpkg-buildflags), so the tests pass on what the package
# is made of: CI packages this very build (scripts/package-check.sh --from).
if [ "$build" = build ]; then
  options+=("-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
    "-DCMAKE_SHARED_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)")
fi

# CI builds twice on two cores: line tables are all the debug information it
# reads, and it compiles a few files at a time as one unit, as the sanitizer
# build does (a build on a developer's machine still compiles every file
# alone, which finds a missing #include).
if [ -n "${SOTEN_CI:-}" ]; then
  options+=(-DSOTEN_LINE_TABLES_ONLY=ON -DCMAKE_UNITY_BUILD=ON)
fi

# The real-printer test prints to a local cups-pdf queue.
if [ -f scripts/start-cups.sh ]; then
  bash scripts/start-cups.sh || echo "test.sh: CUPS could not be started; the real-printer test will skip"
fi

cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
