#!/usr/bin/env python3
"""Races soten-cli --pdf for its temporary file, as a hostile user would.

    race-temporary-file.py SOTEN_CLI [ROUNDS]

Run as root. The PDF goes into a folder that user 65534 owns; a racer
running as that user swaps every temporary file it sees (.soten-*.part) for
a link to a root-only file. The writer must write through the descriptor it
created, so the root-only file never changes. Prints how many rounds the
racer swapped a file and how many changed the root-only file.
"""
import os
import pathlib
import subprocess
import sys
import tempfile

NOBODY = 65534


def racer(folder, victim):
    os.setgroups([])
    os.setgid(NOBODY)
    os.setuid(NOBODY)
    swaps = 0
    while True:
        try:
            names = os.listdir(folder)
        except OSError:
            os._exit(0)
        for name in names:
            if name.startswith(".soten-") and name.endswith(".part"):
                try:
                    os.unlink(os.path.join(folder, name))
                    os.symlink(victim, os.path.join(folder, name))
                    swaps += 1
                    open(os.path.join(folder, "swaps"), "w").write(str(swaps))
                except OSError:
                    pass


def main():
    if os.geteuid() != 0:
        sys.exit("run as root")
    cli = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    with tempfile.TemporaryDirectory() as base:
        os.chmod(base, 0o755)
        secret_folder = pathlib.Path(base) / "root-only"
        secret_folder.mkdir(mode=0o700)
        victim = secret_folder / "secret.conf"
        folder = pathlib.Path(base) / "nobodys"
        folder.mkdir()
        os.chown(folder, NOBODY, NOBODY)
        changed = 0
        swapped = 0
        for _ in range(rounds):
            victim.write_text("root only")
            os.chmod(victim, 0o600)
            (folder / "swaps").unlink(missing_ok=True)
            # A link the racer's swap left at the PDF's name last round is
            # followed, as any link in a folder of its owner's is: start clean.
            (folder / "out.pdf").unlink(missing_ok=True)
            child = os.fork()
            if child == 0:
                racer(str(folder), str(victim))
            result = subprocess.run([cli, "山田", "太郎", "--pdf", str(folder / "out.pdf")],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            os.kill(child, 9)
            os.waitpid(child, 0)
            if (folder / "swaps").exists():
                swapped += 1
            if victim.read_bytes() != b"root only":
                changed += 1
            print(f"exit {result.returncode}: {result.stderr.decode(errors='replace').strip()}")
        print(f"{rounds} rounds, the racer swapped the temporary file in {swapped}, "
              f"the root-only file changed in {changed}")
        sys.exit(1 if changed else 0)


if __name__ == "__main__":
    main()
