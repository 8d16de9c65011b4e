#!/usr/bin/python3
"""What a screen reader finds over AT-SPI: the entry boxes named 名字 and 名前,
and after a reading the name column and the reading pane with its text, read
line by line. Runs the program on a display of its own with a session bus:

    dbus-run-session -- xvfb-run -a python3 reading_over_atspi.py path/to/soten

Exits 77 (skipped) when the accessibility bus cannot be reached or a tool is
missing.
"""
import os
import shutil
import subprocess
import sys
import time

SKIP = 77

try:
    import pyatspi
except ImportError:
    print("pyatspi is not installed", file=sys.stderr)
    sys.exit(SKIP)
if not shutil.which("xdotool") or not os.environ.get("DISPLAY"):
    print("needs xdotool and a display", file=sys.stderr)
    sys.exit(SKIP)


def wait_for(what, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = what()
        if found:
            return found
        time.sleep(0.2)
    return None


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(root, role, name):
    for node in walk(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def type_text(text):
    """Types one character at a time: xdotool maps each kanji onto a spare
    key, and a quick second one can find that key not yet remapped."""
    for character in text:
        xdotool("type", "--delay", "100", character)
        time.sleep(0.2)


def focus(title):
    ids = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", title],
                         check=True, capture_output=True, text=True).stdout.split()
    xdotool("windowfocus", "--sync", ids[-1])


def main(program):
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.childCount
    except Exception as error:  # no accessibility bus
        print(f"accessibility bus unavailable: {error}", file=sys.stderr)
        return SKIP

    # The program must come up on this display with its bridge on, whatever the
    # caller's environment says (CTest's offscreen platform, a Wayland session,
    # a scale factor, a switched-off bridge).
    env = {key: value for key, value in os.environ.items()
           if key not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR",
                          "QT_SCREEN_SCALE_FACTORS", "QT_ACCESSIBILITY", "NO_AT_BRIDGE")}
    env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb")
    proc = subprocess.Popen([program], env=env)
    failures = []

    def check(ok, message):
        if not ok:
            failures.append(message)
            print("FAIL:", message, file=sys.stderr)

    try:
        app = wait_for(lambda: next((a for a in pyatspi.Registry.getDesktop(0)
                                     if a is not None and a.name == "soten"), None))
        if app is None:
            print("the program never appeared on the accessibility bus", file=sys.stderr)
            return 1
        # The main window comes after the splash.
        window = wait_for(lambda: find(app, "frame", "蒼天姓名判断"))
        check(window is not None, "main window")
        focus("蒼天姓名判断")
        xdotool("key", "ctrl+n")
        dialog = wait_for(lambda: find(app, "dialog", "姓名の入力"))
        check(dialog is not None, "entry dialog")
        if dialog is not None:
            for name in ("名字", "名前"):
                check(find(dialog, "text", name) is not None, f"text field named {name}")
        focus("姓名の入力")
        type_text("山田")
        xdotool("key", "Return")
        type_text("太郎")
        xdotool("key", "Return", "Return")

        def reading_text():
            pane = find(app, "label", "占文")
            if pane is None:
                return None
            text = pane.queryText()
            return (pane, text) if text.characterCount > 0 else None

        found = wait_for(reading_text)
        check(found is not None, "reading pane with its text")
        if found is not None:
            pane, text = found
            whole = text.getText(0, -1)
            check("山田太郎さん" in whole, f"reading names the person: {whole[:40]!r}")
            lines = whole.split("\n")
            check(len(lines) > 2, "reading has several lines")
            second = text.getTextAtOffset(len(lines[0]) + 1, pyatspi.TEXT_BOUNDARY_LINE_START)
            # (text, start, end), or an object with .content in older bindings
            content = second[0] if isinstance(second, tuple) else second.content
            check(content.rstrip("\n") == lines[1], f"second line read by itself: {content!r}")
        column = wait_for(lambda: next((n for n in walk(app) if n.getRoleName() == "label"
                                        and n.name.startswith("山田 太郎\n")), None))
        check(column is not None and "総運 21" in column.name, "name column with its numbers")
    finally:
        proc.kill()
        proc.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
