#!/usr/bin/env bash
# A 20,000-row sheet through a real LibreOffice and back (not run in CI):
# xlsx made by openpyxl -> soten-cli --batch -> xlsx -> soffice --convert-to
# csv, then every carried cell compared with what went in.
#   tools/libreoffice-roundtrip.sh [build/cli/soten-cli]
set -euo pipefail
cli=${1:-build/cli/soten-cli}
command -v soffice >/dev/null || { echo "soffice not found: nothing to do"; exit 0; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
/usr/bin/python3 - "$dir" <<'PY'
import datetime, sys, openpyxl
book = openpyxl.Workbook(); sheet = book.active
sheet.append(["社員番号", "氏名", "入社日", "備考"])
s = ["山田", "佐藤", "鈴木", "高橋", "渡辺"]; g = ["太郎", "花子", "一郎", "美奈子", "健一"]
for i in range(1, 20001):
    sheet.append([f"{i:06d}", f"{s[i % 5]}　{g[i // 5 % 5]}", datetime.date(2024, 4, 1),
                  "東京都, 新宿区" if i % 3 else 'メモ "引用"'])
book.save(sys.argv[1] + "/名簿.xlsx")
PY
"$cli" --batch "$dir/名簿.xlsx" --format xlsx -o "$dir/結果.xlsx" || [ $? -le 1 ]
(cd "$dir" && soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' 結果.xlsx >/dev/null)
/usr/bin/python3 - "$dir" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1] + "/結果.csv", encoding="utf-8", newline="")))
s = ["山田", "佐藤", "鈴木", "高橋", "渡辺"]; g = ["太郎", "花子", "一郎", "美奈子", "健一"]
bad = 0
for i, row in enumerate(rows[1:], 1):
    want = [f"{i:06d}", f"{s[i % 5]}　{g[i // 5 % 5]}", "2024-04-01",
            "東京都, 新宿区" if i % 3 else 'メモ "引用"']
    bad += row[:4] != want
print(f"{len(rows) - 1} rows back from LibreOffice, {bad} with a carried cell changed")
sys.exit(1 if bad or len(rows) != 20001 else 0)
PY
