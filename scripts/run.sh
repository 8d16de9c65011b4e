#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j"$(nproc)"

if [ -x build/ui/soten ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/ui/soten "$@"
fi
echo "run.sh: no desktop session here; showing the reading of 山田 太郎 with soten-cli instead." >&2
exec build/cli/soten-cli 山田 太郎
