#!/usr/bin/env bash
# Whether LibreOffice opens the shortlist's family export with its Japanese
# intact when nobody chooses a character set (not run in CI): each file
# given (候補リスト.csv or .xlsx as the shortlist wrote it) goes through
# `soffice --headless --convert-to xlsx` with no filter options, under
# LANG=C.UTF-8 and LANG=C, and the header row that comes back is compared
# with the one the program writes.
#   tools/libreoffice-family-export.sh 候補リスト.csv [候補リスト.xlsx ...]
set -euo pipefail
command -v soffice >/dev/null || { echo "soffice not found: nothing to do"; exit 0; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
for file in "$@"; do
  for lang in C.UTF-8 C; do
    out="$dir/$lang"
    mkdir -p "$out"
    cp "$file" "$out/in.${file##*.}"
    (cd "$out" && env LANG=$lang LC_ALL=$lang HOME="$dir/home" \
      soffice --headless --convert-to xlsx:"Calc MS Excel 2007 XML" --outdir converted \
      "in.${file##*.}" >/dev/null 2>&1)
    if /usr/bin/python3 - "$out/converted/in.xlsx" <<'PY'
import sys, openpyxl
head = ["名字", "名前", "読み", "名字の読み", "ローマ字"]
sheet = openpyxl.load_workbook(sys.argv[1]).active
got = [c.value for c in next(sheet.iter_rows(max_row=1))][:5]
sys.exit(0 if got == head else 1)
PY
    then echo "$file, LANG=$lang: Japanese intact"
    else echo "$file, LANG=$lang: garbled"; status=1
    fi
  done
done
exit $status
