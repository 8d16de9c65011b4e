#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (no Qt, no tests) and fuzzes the
# new-reading flow for a minute, starting from 山田 太郎, then the file
# writer's path handling for half of that, in a sandbox of its own under /tmp,
# then the shortlist file's reader for a quarter.
#   scripts/fuzz.sh [seconds]    build in build-fuzz/
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build-fuzz
# libFuzzer needs clang; the fuzzer build carries its own sanitizers.
# CI: line tables only, as in its other builds; a crash still names its lines.
ci_options=()
[ -z "${SOTEN_CI:-}" ] || ci_options=(-DSOTEN_LINE_TABLES_ONLY=ON)
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DSOTEN_BUILD_GUI=OFF \
  -DSOTEN_BUILD_TESTS=OFF -DSOTEN_BUILD_BENCH=OFF -DSOTEN_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" "${ci_options[@]}"
cmake --build "$build" -j"$(nproc)" --target soten_name_fuzzer
mkdir -p "$build/corpus"
printf '\x00\x8e\x52\x93\x63\x00\x91\xbe\x98\x59' > "$build/corpus/yamada-taro"
"./$build/fuzz/soten_name_fuzzer" -max_total_time="$seconds" -max_len=512 "$build/corpus"
echo "fuzz.sh: no crash in $seconds s"

cmake --build "$build" -j"$(nproc)" --target soten_path_fuzzer
mkdir -p "$build/path-corpus"
for seed in to-f dangling loop1 d/e/back shared/planted 'd/../to-d/g' $'odd\xff\xfe'; do
  printf '%s' "$seed" > "$build/path-corpus/$(printf '%s' "$seed" | md5sum | cut -c1-8)"
done
"./$build/fuzz/soten_path_fuzzer" -max_total_time=$((seconds / 2)) -max_len=256 "$build/path-corpus"
echo "fuzz.sh: the path handling, no crash in $((seconds / 2)) s"

cmake --build "$build" -j"$(nproc)" --target soten_shortlist_fuzzer
mkdir -p "$build/shortlist-corpus"
printf '%s' '{"version": 1, "entries": [{"surname": "山田", "given": "太郎", "reading": "たろう", "style": "honji", "note": "祖母の案"}, {"surname": "𠮷田", "given": "海😀"}]}' \
  > "$build/shortlist-corpus/two-names"
printf '%s' '{"version": 1, "entries": [], "later": [[[{"a": [1, 2.5, true, null]}]]]}' \
  > "$build/shortlist-corpus/nested"
"./$build/fuzz/soten_shortlist_fuzzer" -max_total_time=$((seconds / 4)) -max_len=4096 \
  "$build/shortlist-corpus"
echo "fuzz.sh: the shortlist file, no crash in $((seconds / 4)) s"
