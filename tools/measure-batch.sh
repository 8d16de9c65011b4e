#!/usr/bin/env bash
# Whole-process figures of soten-cli with hyperfine: start-up of one reading,
# a --suggest search by sound in both spaces (the name data loaded afresh),
# and --batch over 20,000 generated names (tools/gen_batch_names.py) as JSON
# lines and as TSV without the report, on all processors and on one. On a
# shared machine read the user and system times as well as the wall time.
#
#   tools/measure-batch.sh [runs] [build folder]     (defaults: 20, build)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-20}"
cli="$here/${2:-build}/cli/soten-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/tools/gen_batch_names.py" 20000 > "$work/names.txt"

hyperfine -N --warmup 5 --runs "$((runs * 5))" "$cli 山田 太郎" \
    "$cli --suggest 佐藤 --reading ゆい --space all --format json" \
    "$cli --suggest 佐藤 --reading ゆい --gender f --format json"
hyperfine --warmup 3 --runs "$runs" \
    "$cli --batch < $work/names.txt > $work/out" \
    "$cli --batch --jobs 1 < $work/names.txt > $work/out" \
    "$cli --batch --format tsv --no-report < $work/names.txt > $work/out" \
    "$cli --batch --format tsv --no-report --jobs 1 < $work/names.txt > $work/out"
