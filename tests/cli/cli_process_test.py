#!/usr/bin/env python3
"""soten-cli as a process: exit statuses, a closed pipe, TSV and CSV (of
--batch and --suggest) read back by Python's csv module, a spreadsheet's CSV
export in and out, the manual against --help, the PDF helper, and (with
--memory) the peak memory of a batch of 1,000,000 lines.

    cli_process_test.py SOTEN_CLI [--memory] [unittest options]
"""
import csv
import io
import json
import os
import pathlib
import signal
import subprocess
import sys
import tempfile
import unittest

CLI = ""
SOURCE = pathlib.Path(__file__).resolve().parents[2]
EXPORT = SOURCE / "tests/cli/data/customer-export.csv"  # as a spreadsheet exports it
FIVE = ["total", "heaven", "person", "earth", "outer"]
ENV = dict(os.environ, LC_ALL="C.UTF-8")

MIXED = (
    "山田 太郎\n"
    "佐々木 健一 honji\n"
    "山田 太a\n"
    "\n"
    "林 一\r\n"
    "ひとつ\n"
    '"山"田 太郎\n'
    "山田 \xed\xa0\x80\n".encode("utf-8", "surrogateescape").decode("utf-8", "surrogateescape")
)


def run(args, stdin=b"", stdout=subprocess.PIPE, env=None, **kwargs):
    if isinstance(stdin, str):
        stdin = stdin.encode("utf-8", "surrogateescape")
    return subprocess.run([CLI, *args], input=stdin, stdout=stdout, stderr=subprocess.PIPE,
                          env=env or ENV, timeout=60, **kwargs)


def request_fields(request):
    """The fields of soten-pdf's request: LENGTH:BYTES, each."""
    fields = []
    while request:
        length, rest = request.split(b":", 1)
        fields.append(rest[:int(length)])
        assert rest[int(length):int(length) + 1] == b","
        request = rest[int(length) + 1:]
    return fields


def cli_with_helper(folder, script):
    """A copy of soten-cli in `folder` beside a soten-pdf that runs `script`."""
    cli = folder / "soten-cli"
    cli.write_bytes(pathlib.Path(CLI).read_bytes())
    cli.chmod(0o755)
    helper = folder / "soten-pdf"
    helper.write_text(script)
    helper.chmod(0o755)
    return cli


class ExitStatus(unittest.TestCase):
    def test_each_status_has_its_cause(self):
        full = open("/dev/full", "wb")
        self.addCleanup(full.close)
        cases = [
            (["山田", "太郎"], "", None, 0, ""),
            (["山田", "太a"], "", None, 1, "不適切な文字があります"),
            (["--bogus"], "", None, 2, "オプション --bogus はありません"),
            (["山田", "太郎", "--pdf", "--suggest"], "", None, 2, "--pdf には値が必要です"),
            (["--batch", "--encoding", "cp932"], "山田 太郎\n", None, 2,
             "--encoding は --batch と一緒に使えません"),
            (["山田", "太\udce0\udc80\udc80"], "", None, 2, "UTF-8"),
            (["--batch"], "山田 太郎\n\n林 一\n", None, 0, ""),
            (["--batch"], "山田 太郎\n山田 太a\n", None, 1, ""),
            (["--batch"], "山田 太郎\n山田\n山田 太a\n", None, 4,
             "3 行: 鑑定 1、拒否 1、不正 1（unknown-character 1、malformed 1）"),
            (["--batch", "--format", "tsv"], "山田 " + "x" * 5000 + "\n", None, 4, "too-long 1"),
            (["山田", "太郎"], "", full, 3, "ディスクに空きがありません"),
            (["--batch"], "山田 太郎\n" * 1000, full, 3, "ディスクに空きがありません"),
            (["--pdf", "/nonexistent-folder/a.pdf", "山田", "太郎"], "", None, 3,
             "/nonexistent-folder/a.pdf"),
            (["--batch", "--input", "csv", "--surname-column", "姓"], "1,2\n", None, 2,
             "1行目にその名前の列がありません"),
            (["--compare", "山田", "太郎", "太a"], "", None, 1, ""),
            (["--compare", "山田"], "", None, 2, "--compare には名字と"),
            (["--compare", "山田", "太郎", "--format", "json"], "", full, 3,
             "ディスクに空きがありません"),
        ]
        for args, stdin, stdout, status, message in cases:
            with self.subTest(args=args, stdin=stdin[:20]):
                args = [a.encode("utf-8", "surrogateescape") for a in args]
                result = run(args, stdin, stdout if stdout else subprocess.PIPE)
                err = result.stderr.decode("utf-8", "replace")
                self.assertEqual(result.returncode, status, err)
                self.assertIn(message, err)
                if status == 3:
                    self.assertEqual(err.count("\n"), 1, err)  # one message, not one a line

    def test_control_characters_in_arguments_are_echoed_escaped(self):
        for args, status, shown in [
            (["--bogus\x1b]0;x\x07"], 2, "オプション --bogus\\x1b]0;x\\x07 はありません".encode()),
            (["--strokes", "山\x1b[2J"], 1, b"\\x1b\t"),
            (["山田", "太\x1b[0m"], 1, "「\\x1b」".encode()),
        ]:
            with self.subTest(args=args):
                result = run(args)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(shown, result.stdout + result.stderr)
                self.assertNotIn(b"\x1b", result.stdout + result.stderr)

    def test_an_unreadable_input_is_an_input_failure(self):
        folder = os.open("/", os.O_RDONLY)  # reading a folder fails with EISDIR
        self.addCleanup(os.close, folder)
        result = subprocess.run([CLI, "--batch"], stdin=folder, capture_output=True, env=ENV,
                                timeout=60)
        self.assertEqual(result.returncode, 3)
        self.assertIn("入力を読めません。通常のファイルではありません", result.stderr.decode())

    def test_help_names_every_status(self):
        text = run(["--help"]).stdout.decode()
        for status in ("0 every reading made", "1 some names refused", "2 usage error",
                       "3 input/output failure", "4 --batch: some rows malformed"):
            self.assertIn(status, " ".join(text.split()))

    def test_closed_pipe_ends_quietly(self):
        names = "山田 太郎\n" * 200000
        # Also with SIGPIPE ignored by the parent, as some shells and services do.
        for restore in (True, False):
            with self.subTest(restore_signals=restore), tempfile.TemporaryFile() as source:
                source.write(names.encode())
                source.seek(0)
                child = subprocess.Popen([CLI, "--batch"], stdin=source, stdout=subprocess.PIPE,
                                         stderr=subprocess.PIPE, env=ENV, restore_signals=restore)
                self.assertTrue(child.stdout.readline().startswith(b'{"line":1,'))
                child.stdout.close()
                err = child.stderr.read()
                child.wait(timeout=60)
                self.assertIn(child.returncode, (0, -signal.SIGPIPE, 141))
                self.assertEqual(err, b"")


class Tsv(unittest.TestCase):
    def test_columns_hold_what_the_json_holds(self):
        records = [json.loads(line) for line in run(["--batch"], MIXED).stdout.splitlines()]
        tsv = run(["--batch", "--format", "tsv", "--report"], MIXED)
        rows = list(csv.reader(io.StringIO(tsv.stdout.decode("utf-8"), newline=""),
                               dialect="excel-tab"))
        header, rows = rows[0], rows[1:]
        self.assertEqual(len(rows), len(records))
        five = FIVE
        self.assertEqual(header, ["line", "row", "surname", "given", "style", "surname_strokes",
                                  "given_strokes", *five,
                                  *[k + s for k in five for s in ("_grade", "_mark")],
                                  *[k + "_keyword" for k in five], "score", "sansai",
                                  "sansai_elements", "inyo", "inyo_pattern", "registrable",
                                  "code", "error", "characters", "notes", "report"])
        for row, record in zip(rows, records):
            with self.subTest(line=record["line"]):
                cells = dict(zip(header, row))
                self.assertEqual(len(row), len(header))
                self.assertEqual(int(cells["line"]), record["line"])
                self.assertEqual(cells["error"], record.get("error", ""))
                self.assertEqual(cells["code"], record.get("code", ""))
                self.assertEqual(cells["characters"].split(" ") if cells["characters"] else [],
                                 record.get("characters", []))
                self.assertEqual(cells["surname"], record.get("surname", ""))
                self.assertEqual(cells["given"], record.get("given", ""))
                if "error" in record:
                    continue
                self.assertEqual(cells["style"], record["style"])
                for part in ("surname", "given"):
                    self.assertEqual(cells[part + "_strokes"].split(),
                                     [str(n) for n in record["strokes"][part]])
                for key in five:
                    self.assertEqual(int(cells[key]), record["fortunes"][key])
                    self.assertEqual(int(cells[key + "_grade"]), record["grades"][key])
                    self.assertEqual(cells[key + "_mark"], record["marks"][key])
                    self.assertEqual(cells[key + "_keyword"], record["keywords"][key])
                self.assertEqual(int(cells["score"]), record["score"])
                sansai, inyo = record["sansai"], record["inyo"]
                self.assertEqual(cells["sansai"], sansai["verdict"])
                self.assertEqual(cells["sansai_elements"],
                                 sansai["heaven"] + sansai["person"] + sansai["earth"])
                self.assertEqual((cells["inyo"], cells["inyo_pattern"]),
                                 (inyo["verdict"], inyo["pattern"]))
                self.assertEqual(cells["registrable"], "true" if record["registrable"] else "false")
                self.assertEqual(cells["report"], record["report"])

    def test_no_report_holds_the_same_numbers_as_a_full_reading(self):
        def rows(*options):
            return list(csv.reader(io.StringIO(run(["--batch", "--format", "tsv", *options],
                                                   MIXED).stdout.decode("utf-8"), newline=""),
                                   dialect="excel-tab"))
        full, numbers = rows("--report"), rows()
        self.assertEqual(numbers, [row[:-1] for row in full])
        self.assertEqual(rows("--no-report"), numbers)

    def test_single_reading_and_no_report(self):
        rows = list(csv.reader(io.StringIO(
            run(["--format", "tsv", "--no-report", "山田", "太郎"]).stdout.decode(), newline=""),
            dialect="excel-tab"))
        self.assertEqual(len(rows), 2)
        self.assertNotIn("report", rows[0])
        cells = dict(zip(rows[0], rows[1]))
        self.assertEqual((cells["surname"], cells["given"], cells["total"]), ("山田", "太郎", "21"))


def read_table(data, dialect):
    return list(csv.reader(io.StringIO(data.decode("utf-8-sig"), newline=""), dialect=dialect))


class SpreadsheetExport(unittest.TestCase):
    """A CSV as a spreadsheet exports it: byte-order mark, CR LF, a header with
    an ID, names in one cell split by a full-width or ASCII space, quoted
    cells with commas, quotes and line breaks, a blank row and bad rows."""

    def setUp(self):
        self.export = EXPORT.read_bytes()
        self.rows = [row for row in read_table(self.export, "excel")
                     if any(cell.strip() for cell in row)]

    def records(self, data, *options):
        result = run(["--batch", "--input", "csv", "--name-column", "氏名", *options], data)
        return result.returncode, [json.loads(line) for line in result.stdout.splitlines()]

    def test_round_trip_keeps_the_columns_and_matches_the_json(self):
        status, records = self.records(self.export)
        self.assertEqual(status, 4)  # one row has no space between the names
        header = self.rows[0]
        self.assertEqual([r.get("code", "") for r in records],
                         ["", "", "", "malformed", "unknown-character", "refused-length"])
        self.assertEqual(records[4]["characters"], ["𠮷"])
        for fmt, dialect in (("csv", "excel"), ("tsv", "excel-tab")):
            with self.subTest(format=fmt):
                out = run(["--batch", "--input", "csv", "--format", fmt, "--bom",
                           "--name-column", "氏名"], self.export).stdout
                self.assertTrue(out.startswith(b"\xef\xbb\xbf"))
                if fmt == "csv":
                    self.assertEqual(out.count(b"\n"), out.count(b"\r\n"))
                table = read_table(out, dialect)
                self.assertEqual(table[0][:len(header)], header)
                self.assertEqual(len(table), len(self.rows))
                columns = table[0][len(header):]
                for row, source, record in zip(table[1:], self.rows[1:], records):
                    cells = dict(zip(columns, row[len(header):]))
                    self.assertEqual(row[:len(header)], source)  # the input as it was
                    self.assertEqual(record["input"], dict(zip(header, source)))
                    self.assertEqual(int(cells["line"]), record["line"])
                    self.assertEqual(cells["code"], record.get("code", ""))
                    self.assertEqual(cells["error"], record.get("error", ""))
                    if "code" in record:
                        continue
                    self.assertEqual((cells["surname"], cells["given"]),
                                     (record["surname"], record["given"]))
                    self.assertEqual(int(cells["score"]), record["score"])
                    for key in FIVE:
                        self.assertEqual(int(cells[key]), record["fortunes"][key])
                        self.assertEqual(cells[key + "_mark"], record["marks"][key])

    def test_excel_shift_jis_export_is_read_with_cp932(self):
        # What Excel saves as "CSV (コンマ区切り)": code page 932, no mark; a
        # character it lacks is saved as "?".
        text = self.export.decode("utf-8-sig")
        sjis = text.encode("cp932", errors="replace")
        _, expected = self.records(sjis.decode("cp932").encode())
        self.assertEqual(self.records(sjis, "--input-encoding", "cp932")[1], expected)
        status, misread = self.records(sjis)
        self.assertEqual(status, 4)
        self.assertEqual({r.get("code") for r in misread}, {"invalid-encoding"})
        self.assertIn("--input-encoding cp932", misread[0]["error"])
        summary = run(["--batch", "--input", "csv", "--name-column", "氏名"], sjis).stderr
        self.assertIn("--input-encoding cp932 を試してください", summary.decode())


class Manual(unittest.TestCase):
    def test_the_manual_documents_every_option_help_lists(self):
        import re
        help_options = set(re.findall(r"--[a-z][a-z-]*", run(["--help"]).stdout.decode()))
        manual = (SOURCE / "doc/soten-cli.1.md").read_text()
        documented = set(re.findall(r"\*\*(--[a-z][a-z-]*)", manual))
        self.assertEqual(help_options - documented, set())
        for code in ("unknown-character", "refused-length", "malformed", "too-long",
                     "invalid-encoding"):
            self.assertIn(code, manual)


class SuggestTsv(unittest.TestCase):
    def test_rows_hold_what_the_json_holds(self):
        args = ["--suggest", "山田", "--limit", "20"]
        document = json.loads(run([*args, "--format", "json"]).stdout)
        rows = list(csv.reader(io.StringIO(run([*args, "--format", "tsv"]).stdout.decode(),
                                           newline=""), dialect="excel-tab"))
        header, rows = rows[0], rows[1:]
        self.assertEqual(len(rows), len(document["candidates"]))
        for row, candidate in zip(rows, document["candidates"]):
            cells = dict(zip(header, row))
            self.assertEqual(len(row), len(header))
            self.assertEqual((cells["given"], cells["reading"], cells["gender"]),
                             (candidate["given"], candidate["reading"], candidate["gender"]))
            self.assertEqual(cells["strokes"].split(), [str(n) for n in
                                                        candidate["strokes"]["given"]])
            for key in ("total", "heaven", "person", "earth", "outer"):
                self.assertEqual(int(cells[key]), candidate["fortunes"][key])
                self.assertEqual(int(cells[key + "_grade"]), candidate["grades"][key])
                self.assertEqual(cells[key + "_keyword"], candidate["keywords"][key])
            self.assertEqual(int(cells["score"]), candidate["score"])
            self.assertEqual((cells["sansai"], cells["inyo"], cells["inyo_pattern"]),
                             (candidate["sansai"]["verdict"], candidate["inyo"]["verdict"],
                              candidate["inyo"]["pattern"]))


class Pdf(unittest.TestCase):
    def test_soten_cli_links_no_qt(self):
        dynamic = subprocess.run(["readelf", "-d", CLI], capture_output=True, text=True,
                                 check=True).stdout
        self.assertIn("libc.so", dynamic)
        self.assertNotIn("Qt", dynamic)

    def test_the_helper_writes_the_page(self):
        if not (pathlib.Path(CLI).parent / "soten-pdf").exists():
            self.skipTest("built without the printing layer")
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder) / "山田太郎.pdf"
            result = run(["--style", "honji", "山田", "太郎", "--pdf", str(path)])
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(path.read_bytes()[:5], b"%PDF-")


    def test_a_helper_that_leaves_no_complete_file_fails(self):
        with tempfile.TemporaryDirectory() as folder:
            folder = pathlib.Path(folder)
            cli = cli_with_helper(folder, '#!/bin/sh\nprintf "%%PDF-1.4 cut short" > "$2"\nexit 0\n')
            result = subprocess.run([cli, "山田", "太郎", "--pdf", folder / "a.pdf"],
                                    capture_output=True, env=ENV, timeout=60)
            self.assertEqual(result.returncode, 3)
            self.assertIn("完全なファイルを残しませんでした", result.stderr.decode())

    def test_the_names_go_to_the_helper_on_its_input_five_fields_a_name(self):
        # More than the kernel takes as arguments in all (2 MiB under an 8 MiB
        # stack).
        digits = "一二三四五六七八九十"
        many = [{"surname": "山田", "given": "".join(digits[int(d)] for d in f"{i:04}"),
                 "reading": "", "style": "shinji", "note": "メモ" * 100} for i in range(5000)]
        # A name code page 932 cannot hold goes as it was typed (and is
        # refused: status 1).
        many.append({"surname": "𠮷田", "given": "海😀", "reading": "", "style": "honji",
                     "note": ""})
        cases = [
            (["--compare", "--style", "honji", "山田", "太郎", "花子:ハナコ"], None,
             [["honji", "山田", "太郎", "", ""], ["honji", "山田", "花子", "はなこ", ""]]),
            (["--shortlist", "--format", "tsv"], many,
             [[n["style"], n["surname"], n["given"], "", n["note"]] for n in many]),
        ]
        for args, saved, names in cases:
            with self.subTest(args=args, names=len(names)), \
                    tempfile.TemporaryDirectory() as folder:
                folder = pathlib.Path(folder)
                env = dict(ENV, XDG_DATA_HOME=str(folder), HOME=str(folder))
                if saved:
                    (folder / "soten").mkdir(mode=0o700)
                    (folder / "soten" / "shortlist.json").write_text(
                        json.dumps({"version": 1, "entries": saved}, ensure_ascii=False),
                        encoding="utf-8")
                cli = cli_with_helper(folder, '#!/bin/sh\nprintf "%s\\n" "$@" > "${0%/*}/arguments"\n'
                                              'cat > "${0%/*}/request"\n'
                                              'printf "%%PDF-1.4\\n%%%%EOF\\n" > "$2"\n')
                pdf = folder / "比較.pdf"
                result = subprocess.run([cli, *args, "--pdf", pdf], capture_output=True,
                                        env=env, timeout=60)
                self.assertEqual(result.returncode, 1 if saved else 0, result.stderr.decode())
                self.assertEqual((folder / "arguments").read_bytes().split(b"\n")[:-1],
                                 [b"--compare", os.fsencode(pdf)])
                self.assertEqual(request_fields((folder / "request").read_bytes()),
                                 [text.encode() for name in names for text in name])

    def test_the_helper_prints_a_note_longer_than_an_argument_may_be(self):
        if not (pathlib.Path(CLI).parent / "soten-pdf").exists():
            self.skipTest("built without the printing layer")
        with tempfile.TemporaryDirectory() as folder:
            saved = pathlib.Path(folder) / "soten" / "shortlist.json"
            saved.parent.mkdir(mode=0o700)
            saved.write_text(json.dumps({"version": 1, "entries": [
                {"surname": "林", "given": "一", "reading": "はじめ", "style": "honji",
                 "note": "祖母" * 35000}]}), encoding="utf-8")
            path = pathlib.Path(folder) / "比較.pdf"
            result = run(["--shortlist", "--pdf", str(path)],
                         env=dict(ENV, XDG_DATA_HOME=folder, HOME=folder))
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertEqual(path.read_bytes()[:5], b"%PDF-")

    def test_the_helper_prints_a_comparison(self):
        if not (pathlib.Path(CLI).parent / "soten-pdf").exists():
            self.skipTest("built without the printing layer")
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder) / "比較.pdf"
            result = run(["--compare", "山田", "太郎", "花子:はなこ", "太a", "--pdf", str(path)])
            self.assertEqual(result.returncode, 1, result.stderr)  # 太a is refused
            self.assertEqual(path.read_bytes()[:5], b"%PDF-")


class Shortlist(unittest.TestCase):
    def test_a_data_folder_without_a_list_is_an_empty_list(self):
        with tempfile.TemporaryDirectory() as folder:
            env = dict(ENV, XDG_DATA_HOME=folder, HOME=folder)
            json_run, csv_run = (run(["--shortlist", "--format", f], env=env)
                                 for f in ("json", "csv"))
            self.assertEqual((json_run.returncode, json_run.stdout, json_run.stderr),
                             (0, b'{"names":[]}\n', b""))
            rows = read_table(csv_run.stdout, "excel")
            self.assertEqual(len(rows), 1)
            self.assertEqual(rows[0][:5], ["line", "surname", "given", "reading", "style"])
            self.assertEqual(rows[0][-1], "note")

    def test_the_saved_list_is_listed_and_a_damaged_one_kept_aside(self):
        with tempfile.TemporaryDirectory() as folder:
            env = dict(ENV, XDG_DATA_HOME=folder, HOME=folder)
            saved = pathlib.Path(folder) / "soten" / "shortlist.json"
            saved.parent.mkdir(mode=0o700)
            saved.write_text(json.dumps({"version": 1, "entries": [
                {"surname": "佐藤", "given": "結衣", "reading": "ゆい", "style": "shinji",
                 "note": "第一"},
                {"surname": "山田", "given": "太郎", "reading": "", "style": "honji",
                 "note": ""}]}), encoding="utf-8")
            listed = run(["--shortlist", "--format", "json"], env=env)
            self.assertEqual(listed.returncode, 0, listed.stderr)
            names = json.loads(listed.stdout)["names"]
            self.assertEqual([(n["surname"], n["given"], n["reading"], n["style"], n["note"])
                              for n in names],
                             [("佐藤", "結衣", "ゆい", "shinji", "第一"),
                              ("山田", "太郎", "", "honji", "")])
            saved.write_bytes(b"{ damaged")
            damaged = run(["--shortlist", "--format", "json"], env=env)
            self.assertEqual((damaged.returncode, damaged.stdout), (0, b'{"names":[]}\n'))
            self.assertIn("shortlist.json.bak", damaged.stderr.decode())
            self.assertEqual((saved.parent / "shortlist.json.bak").read_bytes(), b"{ damaged")
            # The user's own link to a list kept elsewhere is not damage: it
            # is reported and left where it is.
            kept = pathlib.Path(folder) / "kept.json"
            kept.write_text('{"version": 1, "entries": []}', encoding="utf-8")
            saved.symlink_to(kept)
            linked = run(["--shortlist", "--format", "json"], env=env)
            self.assertIn("上書きしません", linked.stderr.decode())
            self.assertTrue(saved.is_symlink())
            self.assertFalse((saved.parent / "shortlist.json.bak.1").exists())


class PdfFiles(unittest.TestCase):
    """--pdf as a hostile local user would attack it, and the reasons it gives."""

    def setUp(self):
        self.helper = pathlib.Path(CLI).parent / "soten-pdf"
        if not self.helper.exists():
            self.skipTest("built without the printing layer")
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = pathlib.Path(folder.name)
        os.chmod(self.folder, 0o755)

    def pdf(self, path, **kwargs):
        result = run(["山田", "太郎", "--pdf", os.fsencode(path)], stdout=subprocess.DEVNULL,
                     **kwargs)
        return result.returncode, result.stderr.decode("utf-8", "replace")

    def assert_no_part_file(self, folder):
        self.assertEqual([p.name for p in folder.iterdir() if p.name.startswith(".soten-")], [])

    def test_a_file_that_cannot_be_written_says_why_in_japanese(self):
        (self.folder / "loop1").symlink_to("loop2")
        (self.folder / "loop2").symlink_to("loop1")
        for path, reason in [
            (self.folder / "missing" / "a.pdf", "フォルダが見つかりません"),
            (self.folder / "loop1", "シンボリックリンクが循環"),
            (self.folder, "通常のファイルではありません"),
            (self.folder / ("x" * 300), "ファイル名が長すぎます"),
        ]:
            with self.subTest(path=path):
                status, err = self.pdf(path)
                self.assertEqual(status, 3, err)
                self.assertTrue(err.startswith(f'soten-cli: ファイル "{path}" を作成できません。'), err)
                self.assertIn(reason, err)
                self.assertNotIn("TRbPrinter", err)
        self.assertEqual(os.readlink(self.folder / "loop1"), "loop2")
        self.assert_no_part_file(self.folder)

    def test_root_follows_no_link_another_user_planted_in_a_shared_folder(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to give a link to another user")
        shared = self.folder / "st"
        shared.mkdir()
        os.chmod(shared, 0o1777)
        (self.folder / "victim").mkdir()
        secret = self.folder / "victim" / "secret.conf"
        secret.write_text("root only")
        os.chmod(secret, 0o600)
        (shared / "report.pdf").symlink_to(secret)
        os.lchown(shared / "report.pdf", 65534, 65534)
        status, err = self.pdf(shared / "report.pdf")
        self.assertEqual(status, 3, err)
        self.assertIn("他のユーザーのシンボリックリンク", err)
        self.assertEqual(secret.read_text(), "root only")
        self.assert_no_part_file(shared)

    def test_an_ordinary_user_may_not_replace_a_read_only_file(self):
        if os.geteuid() != 0:
            self.skipTest("needs root to run as a second user")
        os.chown(self.folder, 65534, 65534)
        target = self.folder / "read-only.pdf"
        target.write_text("kept")
        os.chown(target, 65534, 65534)
        os.chmod(target, 0o444)
        status, err = self.pdf(target, user=65534, group=65534, extra_groups=[])
        self.assertEqual(status, 3, err)
        self.assertIn("アクセスが拒否されました", err)
        self.assertEqual(target.read_text(), "kept")

    def test_a_split_hard_link_is_written_and_said(self):
        first, second = self.folder / "h1.pdf", self.folder / "h2.pdf"
        first.write_text("old")
        os.link(first, second)
        status, err = self.pdf(first)
        self.assertEqual(status, 0, err)
        self.assertIn("ハードリンク", err)
        self.assertEqual(first.read_bytes()[:5], b"%PDF-")
        self.assertEqual(second.read_text(), "old")

    def test_without_the_japanese_fonts_no_pdf_is_written(self):
        config = self.folder / "fonts.conf"
        config.write_text(f"<fontconfig><cachedir>{self.folder}/cache</cachedir></fontconfig>")
        env = dict(ENV, FONTCONFIG_FILE=config)
        compare = run(["--compare", "山田", "太郎", "--pdf", self.folder / "boxes.pdf"],
                      stdout=subprocess.DEVNULL, env=env)
        for status, err in (self.pdf(self.folder / "boxes.pdf", env=env),
                            (compare.returncode, compare.stderr.decode())):
            self.assertEqual(status, 3, err)
            self.assertIn("fonts-ipafont-gothic", err)
            self.assertIn("fonts-ipafont-mincho", err)
            self.assertFalse((self.folder / "boxes.pdf").exists())

    def test_a_signal_while_writing_leaves_no_part_file(self):
        request = b"6:shinji,4:" + "山田".encode("cp932") + b",4:" + "太郎".encode("cp932") + b","
        programs = [
            ("soten-cli", lambda path: [CLI, "山田", "太郎", "--pdf", path]),
            ("soten-pdf", lambda path: [self.helper, "--reading", path]),
        ]
        signals = [signal.SIGINT, signal.SIGTERM, signal.SIGHUP]
        names = tempfile.TemporaryFile()  # soten-pdf reads its names on its input
        self.addCleanup(names.close)
        names.write(request)
        names.flush()
        caught = 0
        for attempt in range(60):
            if caught == 20:
                break
            name, command = programs[0] if attempt % 4 else programs[1]
            number = signals[attempt % 3]
            path = self.folder / "signalled.pdf"
            self.assert_no_part_file(self.folder)
            names.seek(0)
            child = subprocess.Popen(command(path), stdin=names, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, env=ENV)
            # The signal goes the moment the temporary file appears.
            while child.poll() is None:
                if any(p.name.startswith(".soten-") for p in self.folder.iterdir()):
                    child.send_signal(number)
                    caught += 1
                    break
            child.communicate(timeout=60)
            with self.subTest(program=name, signal=number.name, attempt=attempt):
                if child.returncode == 0:  # written before the poll saw it
                    path.unlink()
                    continue
                self.assertEqual(child.returncode, 128 + number)
                self.assert_no_part_file(self.folder)
                if path.exists():  # the signal came after the rename: a whole file
                    self.assertTrue(path.read_bytes().rstrip().endswith(b"%%EOF"))
                    path.unlink()
        self.assertEqual(caught, 20, "the temporary file was seen too rarely")


def peak_kb(args, **kwargs):
    """Runs soten-cli under GNU time, which reports the peak of soten-cli
    alone (a process forked from this script would count the script's
    memory too)."""
    with tempfile.NamedTemporaryFile() as report:
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name, CLI] + args,
                                stdout=subprocess.DEVNULL, env=ENV, timeout=300, **kwargs)
        return result, int(pathlib.Path(report.name).read_text().split()[-1])


class Memory(unittest.TestCase):
    def test_a_million_lines_in_flat_memory(self):
        kinds = ["山田 太郎\n", "佐々木 健一 honji\n", "山田 太a\n", "渡辺 花子\r\n", "\n"]
        with tempfile.TemporaryFile() as source:
            for start in range(0, 1000000, 10000):
                source.write("".join(kinds[i % len(kinds)] for i in range(10000)).encode())
            source.seek(0)
            result, peak = peak_kb(["--batch"], stdin=source)
        self.assertEqual(result.returncode, 1)  # 太a is refused
        print(f"peak RSS {peak / 1024:.1f} MB", file=sys.stderr)
        self.assertLessEqual(peak, 40 * 1024)

    def test_a_long_comparison_is_written_as_it_is_read(self):
        # A reading with its report takes some 35 KB; kept for every name,
        # 20,000 names would take 700 MB.
        names = ["太郎", "花子", "一郎", "夢姫"] * 5000
        for output in ("json", "tsv"):
            result, peak = peak_kb(["--compare", "山田", *names, "--format", output])
            self.assertEqual(result.returncode, 0)
            self.assertLessEqual(peak, 120 * 1024, output)


if __name__ == "__main__":
    CLI = sys.argv.pop(1)
    memory = "--memory" in sys.argv
    if memory:
        sys.argv.remove("--memory")
    suite = unittest.TestSuite()
    loader = unittest.defaultTestLoader
    for case in ([Memory] if memory else [ExitStatus, Tsv, SpreadsheetExport, Manual, SuggestTsv,
                                          Pdf, PdfFiles, Shortlist]):
        suite.addTests(loader.loadTestsFromTestCase(case))
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
