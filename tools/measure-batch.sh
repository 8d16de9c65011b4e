#!/usr/bin/env bash
# Whole-process figures of soten-cli with hyperfine: start-up of one reading,
# a --suggest search by sound in both spaces (the name data loaded afresh),
# and --batch over 20,000 generated names (tools/gen_batch_names.py) as JSON
# lines (the report included) and as TSV and CSV without the report, on all
# processors and on one; then side by side with the peer jami-i/seimei (Node)
# on the same names: alternating runs, the median of each, and the ratio.
# On a shared machine read the user and system times as well as the wall
# time; the load is printed first.
#
#   tools/measure-batch.sh [runs] [build folder]     (defaults: 20, build)
#
# The peer is looked for in $SEIMEI_DIR, then fetched with git into a cache
# folder (~/.cache/soten-peer/seimei) and set up with npm install; when it
# cannot be had, its part is skipped with a message.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-20}"
cli="$here/${2:-build}/cli/soten-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/tools/gen_batch_names.py" 20000 > "$work/names.txt"
python3 "$here/tools/gen_batch_names.py" 1000000 > "$work/million.txt"
echo "load: $(uptime)"

hyperfine -N --warmup 5 --runs "$((runs * 5))" "$cli 山田 太郎" \
    "$cli --suggest 佐藤 --reading ゆい --space all --format json" \
    "$cli --suggest 佐藤 --reading ゆい --gender f --format json"
hyperfine --warmup 3 --runs "$runs" \
    "$cli --batch < $work/names.txt > $work/out 2>/dev/null" \
    "$cli --batch --jobs 1 < $work/names.txt > $work/out 2>/dev/null" \
    "$cli --batch --format tsv < $work/names.txt > $work/out 2>/dev/null" \
    "$cli --batch --format tsv --jobs 1 < $work/names.txt > $work/out 2>/dev/null"
# Names a second without the report, over a million lines.
hyperfine --warmup 1 --runs "$(((runs + 3) / 4))" \
    "$cli --batch --format tsv < $work/million.txt > $work/out 2>/dev/null" \
    "$cli --batch --format csv < $work/million.txt > $work/out 2>/dev/null"

# The peer: a folder given, or a cached clone set up once.
peer="${SEIMEI_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/soten-peer/seimei}"
if [[ ! -f "$peer/index.js" ]] && [[ -z "${SEIMEI_DIR:-}" ]]; then
    mkdir -p "$(dirname "$peer")"
    git clone -q https://github.com/jami-i/seimei "$peer" 2>/dev/null || rm -rf "$peer"
fi
if [[ -f "$peer/index.js" && ! -d "$peer/node_modules" ]]; then
    (cd "$peer" && npm install --no-audit --no-fund >/dev/null 2>&1) || true
fi
if ! command -v node >/dev/null || [[ ! -d "$peer/node_modules" ]]; then
    echo "peer jami-i/seimei not available (set SEIMEI_DIR to a set-up clone): skipped"
    exit 0
fi

# Alternating pairs, whole processes, wall time; the median of each side.
python3 - "$cli" "$peer/index.js" "$work/names.txt" "$((runs > 7 ? runs : 7))" <<'EOF'
import statistics
import subprocess
import sys
import time

cli, peer, names, pairs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
commands = {
    "soten-cli --batch": [cli, "--batch"],
    "soten-cli --batch --jobs 1": [cli, "--batch", "--jobs", "1"],
    "seimei (node index.js)": ["node", peer],
}


def wall(command):
    with open(names, "rb") as source:
        start = time.perf_counter()
        subprocess.run(command, stdin=source, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        return time.perf_counter() - start


times = {name: [] for name in commands}
for _ in range(pairs):
    for name, command in commands.items():
        times[name].append(wall(command))
medians = {name: statistics.median(values) for name, values in times.items()}
peer_median = medians["seimei (node index.js)"]
for name, median in medians.items():
    print(f"{name:28} median {median * 1000:8.1f} ms over {pairs} alternating runs"
          f"  (1/{peer_median / median:.1f} of the peer)")
EOF
echo "load: $(uptime)"
