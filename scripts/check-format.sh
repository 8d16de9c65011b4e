#!/usr/bin/env bash
# Fails when a C++ file of the tree is not formatted as .clang-format says;
# `clang-format -i <file>` formats it.
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "check-format.sh: every C++ file is formatted"
