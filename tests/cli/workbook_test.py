#!/usr/bin/env python3
"""soten-cli --batch with spreadsheets, checked against readers and writers
that are not its own: openpyxl and odfpy make the input workbooks (IDs kept
as text, numbers, dates, an empty row, multi-line cells, Japanese), and
openpyxl reads the workbook soten-cli writes back, cell by cell.

    workbook_test.py SOTEN_CLI [unittest options]
"""
import csv
import datetime
import io
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest
import zipfile

try:
    import openpyxl
    from odf.opendocument import OpenDocumentSpreadsheet
    from odf.table import Table, TableCell, TableRow
    from odf.text import P
except ImportError:
    # Debian's python3-openpyxl and python3-odf belong to the system's Python.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", *sys.argv])
    raise

CLI = ""
ENV = dict(os.environ, LC_ALL="C.UTF-8")
HEADER = ["社員番号", "氏名", "入社日", "点数", "備考"]
# What each row of the sheets below carries, as text, by its row number.
CARRIED = {
    2: ["000001", "山田 太郎", "2024-04-01", "12.5", "一行目\n二行目"],
    4: ["000002", "佐藤　花子", "2024-04-01 09:30:00", "3", '引用"符, 読点'],
    5: ["0042", "林 一", "", "-0.25", ""],
}
NUMBERS = ["line", "total", "heaven", "person", "earth", "outer", "score"]


def run(args):
    return subprocess.run([CLI, "--batch", *args], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=ENV, timeout=30)


def make_xlsx(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "名簿"
    sheet.append(HEADER)
    sheet.append(["000001", "山田 太郎", datetime.date(2024, 4, 1), 12.5, "一行目\n二行目"])
    sheet.append([])
    sheet.append(["000002", "佐藤　花子", datetime.datetime(2024, 4, 1, 9, 30), 3,
                  '引用"符, 読点'])
    sheet.append(["0042", "林 一", None, -0.25])
    other = book.create_sheet("別")
    other.append(["姓", "名"])
    other.append(["鈴木", "一郎"])
    book.save(path)


def make_ods(path):
    document = OpenDocumentSpreadsheet()
    table = Table(name="名簿")

    def row(cells, repeated=None):
        element = TableRow() if repeated is None else TableRow(numberrowsrepeated=repeated)
        for cell in cells:
            element.addElement(cell)
        table.addElement(element)

    def text(value):
        cell = TableCell(valuetype="string")
        for line in value.split("\n"):
            cell.addElement(P(text=line))
        return cell

    def number(value):
        return TableCell(valuetype="float", value=value)

    def empty(repeated=1):
        return TableCell(numbercolumnsrepeated=repeated)

    row([text(h) for h in HEADER] + [empty(16379)])
    row([text("000001"), text("山田 太郎"), TableCell(valuetype="date", datevalue="2024-04-01"),
         number("12.5"), text("一行目\n二行目"), empty(16379)])
    row([empty(16384)])
    row([text("000002"), text("佐藤　花子"),
         TableCell(valuetype="date", datevalue="2024-04-01T09:30:00"), number("3"),
         text('引用"符, 読点')])
    row([text("0042"), text("林 一"), empty(), number("-0.25")])
    # As LibreOffice ends a sheet: empty rows repeated to its last row.
    row([empty(16384)], repeated=1048571)
    document.spreadsheet.addElement(table)
    document.save(path)


def tsv_rows(output):
    return list(csv.reader(io.StringIO(output.decode("utf-8"), newline=""), dialect="excel-tab"))


class WorkbookInput(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.dir = pathlib.Path(self.folder.name)

    def check_carried(self, args):
        result = run([*args, "--format", "tsv", "--no-report"])
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        rows = tsv_rows(result.stdout)
        self.assertEqual(rows[0][:6], HEADER + ["line"])
        by_line = {int(r[5]): r[:5] for r in rows[1:]}
        self.assertEqual(by_line, CARRIED)

    def test_xlsx_cells_are_carried_as_the_sheet_shows_them(self):
        make_xlsx(self.dir / "名簿.xlsx")
        self.check_carried([str(self.dir / "名簿.xlsx")])

    def test_ods_cells_are_carried_and_repeats_expanded_within_the_sheet(self):
        make_ods(self.dir / "名簿.ods")
        self.check_carried([str(self.dir / "名簿.ods")])

    def test_a_sheet_is_chosen_by_name_and_a_missing_one_is_a_usage_error(self):
        make_xlsx(self.dir / "b.xlsx")
        chosen = run([str(self.dir / "b.xlsx"), "--sheet", "別", "--no-report"])
        self.assertEqual(chosen.returncode, 0, chosen.stderr.decode())
        self.assertIn('"surname":"鈴木"', chosen.stdout.decode())
        missing = run([str(self.dir / "b.xlsx"), "--sheet", "無い"])
        self.assertEqual(missing.returncode, 2)
        self.assertEqual(missing.stderr.decode(),
                         f'soten-cli: ブック "{self.dir / "b.xlsx"}" にシート「無い」はありません'
                         "（あるシート：「名簿」「別」）\n")

    def test_a_damaged_workbook_is_an_input_failure_naming_the_file(self):
        path = self.dir / "壊れた.xlsx"
        make_xlsx(path)
        path.write_bytes(path.read_bytes()[:600])
        result = run(["--input", "xlsx", str(path)])
        self.assertEqual(result.returncode, 3)
        err = result.stderr.decode()
        self.assertTrue(err.startswith(f'soten-cli: ブック "{path}" を読めません。'), err)

    def test_a_damaged_part_is_named_in_japanese(self):
        good = self.dir / "元.xlsx"
        make_xlsx(good)
        for part, content, why in [
            ("xl/workbook.xml", b"<workbook", "xl/workbook.xml が正しい XML ではありません"),
            ("xl/_rels/workbook.xml.rels", None, "xl/_rels/workbook.xml.rels がありません"),
        ]:
            with self.subTest(part=part):
                path = self.dir / "壊れた.xlsx"
                with zipfile.ZipFile(good) as source, zipfile.ZipFile(path, "w") as damaged:
                    for item in source.infolist():
                        if item.filename != part:
                            damaged.writestr(item, source.read(item))
                        elif content is not None:
                            damaged.writestr(item, content)
                result = run(["--input", "xlsx", str(path)])
                self.assertEqual(result.returncode, 3)
                self.assertEqual(result.stderr.decode(),
                                 f'soten-cli: ブック "{path}" を読めません。{why}\n')


class WorkbookOutput(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.dir = pathlib.Path(self.folder.name)

    def test_carried_columns_stay_text_and_results_are_numbers_under_a_frozen_header(self):
        make_xlsx(self.dir / "in.xlsx")
        out = self.dir / "結果.xlsx"
        result = run([str(self.dir / "in.xlsx"), "--format", "xlsx", "-o", str(out)])
        self.assertEqual(result.returncode, 0, result.stderr.decode())
        sheet = openpyxl.load_workbook(out).active
        self.assertEqual(sheet.freeze_panes, "A2")
        rows = list(sheet.iter_rows(values_only=True))
        header = list(rows[0])
        self.assertEqual(header[:5], HEADER)
        for values in rows[1:]:
            line = values[header.index("line")]
            self.assertEqual([v if v is not None else "" for v in values[:5]], CARRIED[line])
            for key in NUMBERS:
                self.assertIsInstance(values[header.index(key)], int, key)
            for key in ["surname", "given", "style", "code"]:
                value = values[header.index(key)]
                self.assertTrue(value is None or isinstance(value, str), key)

    def test_a_workbook_needs_a_file_and_a_failed_run_keeps_the_old_one(self):
        self.assertEqual(run(["--format", "xlsx"]).returncode, 2)
        out = self.dir / "old.xlsx"
        out.write_bytes(b"old")
        csv_in = self.dir / "in.csv"
        csv_in.write_text("姓,名\n山田,太郎\n", encoding="utf-8")
        refused = run([str(csv_in), "--input", "csv", "--surname-column", "無い", "--format",
                       "xlsx", "-o", str(out)])
        self.assertEqual(refused.returncode, 2)
        self.assertEqual(out.read_bytes(), b"old")
        written = run([str(csv_in), "--input", "csv", "--format", "xlsx", "-o", str(out)])
        self.assertEqual(written.returncode, 0, written.stderr.decode())
        sheet = openpyxl.load_workbook(out).active
        self.assertEqual([c.value for c in sheet[2]][:3], ["山田", "太郎", 2])


if __name__ == "__main__":
    CLI = sys.argv.pop(1)
    unittest.main()
