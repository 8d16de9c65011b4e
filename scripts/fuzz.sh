#!/usr/bin/env bash
# Builds the libFuzzer target of the new-reading flow with clang (no Qt, no
# tests) and fuzzes it for a minute, starting from 山田 太郎.
#   scripts/fuzz.sh [seconds]    build in build-fuzz/
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build-fuzz
# libFuzzer needs clang; the fuzzer build carries its own sanitizers.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DSOTEN_BUILD_GUI=OFF \
  -DSOTEN_BUILD_TESTS=OFF -DSOTEN_BUILD_BENCH=OFF -DSOTEN_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
cmake --build "$build" -j"$(nproc)" --target soten_name_fuzzer
mkdir -p "$build/corpus"
printf '\x00\x8e\x52\x93\x63\x00\x91\xbe\x98\x59' > "$build/corpus/yamada-taro"
"./$build/fuzz/soten_name_fuzzer" -max_total_time="$seconds" -max_len=512 "$build/corpus"
echo "fuzz.sh: no crash in $seconds s"
