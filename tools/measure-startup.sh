#!/usr/bin/env bash
# Start-up figures of the desktop program against a bare Qt window, from
# separate processes (see bench/StartupBench.cpp): medians of exec → splash
# painted, → all windows created, → main window painted, and the resident
# memory with a reading on show. Uses the current X display, or a virtual
# one when there is none.
#
#   tools/measure-startup.sh [runs] [build folder]     (defaults: 15, build-ui)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-15}"
bench="$here/${2:-build-ui}/bench/soten_startup_bench"
if [ -n "${DISPLAY:-}" ]; then
    exec "$bench" "$runs"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" "$runs"
