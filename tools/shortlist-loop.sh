#!/usr/bin/env bash
# The shortlist shared for about a minute by two real windows of the desktop
# program and a loop of soten-cli --shortlist, all on one shortlist file;
# then a check that nothing was lost or doubled. Run by hand, not by CI.
#
#   tools/shortlist-loop.sh [build folder]      (default: build)
#
# Each window runs on an X display of its own (two Xvfb servers), so that
# both are driven at once, each with its own keyboard focus, by xdotool:
# a reading of a name, then the 名付け dialog for that surname, where Space
# stars or unstars the current candidate (ShortlistStore::Toggle, written at
# once under the file's lock). Window 1 works on 山田, window 2 on 佐藤; each
# goes over its first rows in rounds, so names are added, removed and added
# again while the other window does the same and soten-cli reads the list
# over and over. soten-cli only lists the shortlist (it has no command that
# changes it), so the loop is the third program reading the file while the
# windows replace it.
#
# What it checks:
# - every soten-cli read gives a whole list: exit status 0, JSON, no name
#   twice, and the names put in before the run (the seed) all there;
# - at the end, each window's names are those its rounds leave starred
#   (a row toggled an odd number of times), each exactly once, the seed is
#   whole with its notes, and nothing else is on the list;
# - no window showed an error box.
# The names behind the rows are learnt from the list after each window's
# first round, when all its rows are starred, in the order they were added.
#
# Needs xvfb, xdotool and python3. Everything lives in a scratch HOME.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
soten="$build/ui/soten"
cli="$build/cli/soten-cli"
for program in "$soten" "$cli"; do
    [ -x "$program" ] || { echo "shortlist-loop: $program is not built" >&2; exit 2; }
done
for tool in Xvfb xdotool xdpyinfo python3; do
    command -v "$tool" >/dev/null || { echo "shortlist-loop: needs $tool" >&2; exit 2; }
done

scratch="$(mktemp -d)"
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config"
export XDG_RUNTIME_DIR="$scratch/run" LC_ALL=C.UTF-8
mkdir -p "$HOME" "$XDG_DATA_HOME/soten" "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
list="$XDG_DATA_HOME/soten/shortlist.json"

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# The seed: names no window touches, which must come through whole.
cat >"$list" <<'EOF'
{"version":1,"entries":[
{"surname":"林","given":"一","reading":"はじめ","style":"shinji","note":"種 1"},
{"surname":"渡辺","given":"花子","reading":"はなこ","style":"honji","note":"種 2"},
{"surname":"鈴木","given":"一郎","reading":"","style":"shinji","note":"種 3"}]}
EOF
seed_count=3
"$cli" --shortlist --format json >"$scratch/seed.json"

# Rows each round goes over, from the top; the first round stars them all.
rounds=(15 6 15 10 15 4)
step=0.45  # seconds between two toggles of one window

free_display() {
    local n=$1
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    echo "$n"
}

start_display() {
    local n
    n="$(free_display "$1")"
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb-$n.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
        DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && { echo "$n"; return; }
        sleep 0.1
    done
    echo "shortlist-loop: Xvfb :$n did not start" >&2
    exit 2
}

focus() {
    local id
    id="$(xdotool search --sync --onlyvisible --name "$1" | tail -1)"
    xdotool windowfocus --sync "$id"
}

# drive WINDOW SURNAME GIVEN: one window's whole part, on its own display.
drive() {
    local window=$1 surname=$2 given=$3
    local log="$scratch/window-$window.log"
    sleep 4  # the splash
    focus '蒼天姓名判断'
    xdotool key ctrl+n
    sleep 0.5
    focus '姓名の入力'
    xdotool key ctrl+a
    xdotool type --delay 60 "$surname"
    xdotool key Return
    xdotool type --delay 60 "$given"
    sleep 0.3
    xdotool key Return Return
    sleep 1
    focus '蒼天姓名判断'
    xdotool key ctrl+k
    sleep 3  # the search for the surname
    focus '名付け候補'
    xdotool key alt+i
    sleep 0.5
    local round rows row
    for round in "${!rounds[@]}"; do
        rows=${rounds[$round]}
        xdotool key ctrl+Home
        sleep 0.2
        for ((row = 1; row <= rows; row++)); do
            xdotool key space
            echo "toggle $row" >>"$log"
            sleep "$step"
            xdotool key Down
        done
        sleep 1
        if [ "$round" = 0 ]; then
            "$cli" --shortlist --format json >"$scratch/first-round-$window.json"
        fi
    done
    sleep 1
    if xdotool search --onlyvisible --name 'エラー' >/dev/null 2>&1; then
        echo "error box" >>"$log"
    fi
    echo "done" >>"$log"
}

display1="$(start_display 91)"
display2="$(start_display $((display1 + 1)))"
DISPLAY=":$display1" "$soten" >"$scratch/soten-1.log" 2>&1 &
pids+=($!)
DISPLAY=":$display2" "$soten" >"$scratch/soten-2.log" 2>&1 &
pids+=($!)

started=$SECONDS
(export DISPLAY=":$display1"; drive 1 山田 太郎) &
driver1=$!
(export DISPLAY=":$display2"; drive 2 佐藤 花子) &
driver2=$!

# soten-cli reads the list over and over while the windows change it.
reads=0
failed_reads=0
: >"$scratch/reads.log"
while kill -0 "$driver1" 2>/dev/null || kill -0 "$driver2" 2>/dev/null; do
    status=0
    "$cli" --shortlist --format json >"$scratch/read.json" 2>"$scratch/read.err" || status=$?
    reads=$((reads + 1))
    if ! python3 - "$scratch/read.json" "$scratch/seed.json" "$status" "$scratch/read.err" \
        >>"$scratch/reads.log" <<'EOF'; then
import json, sys
path, seed_path, status, err_path = sys.argv[1:]
err = open(err_path, encoding="utf-8").read()
if status != "0" or err:
    print(f"read: exit status {status}: {err.strip()}"); sys.exit(1)
try:
    names = json.load(open(path, encoding="utf-8"))["names"]
except Exception as error:
    print(f"read: not a whole list: {error}"); sys.exit(1)
keys = [(n["surname"], n["given"], n["reading"], n["style"]) for n in names]
if len(keys) != len(set(keys)):
    print(f"read: a name twice: {keys}"); sys.exit(1)
seed = json.load(open(seed_path, encoding="utf-8"))["names"]
missing = [n for n in seed if n not in names]
if missing:
    print(f"read: the seed lost {missing}"); sys.exit(1)
EOF
        failed_reads=$((failed_reads + 1))
    fi
    sleep 0.1
done
wait "$driver1" "$driver2" || true
elapsed=$((SECONDS - started))
sleep 1
"$cli" --shortlist --format json >"$scratch/final.json"

echo "shortlist-loop: ${elapsed}s, two windows on displays :$display1 and :$display2,"
echo "  $reads soten-cli reads during the run, $failed_reads of them wrong"
[ "$failed_reads" = 0 ] || sort "$scratch/reads.log" | uniq -c | head -5
python3 - "$scratch" "$seed_count" "${rounds[@]}" <<'EOF'
import json, os, sys
scratch, seed_count, rounds = sys.argv[1], int(sys.argv[2]), [int(r) for r in sys.argv[3:]]
def names(path):
    return json.load(open(os.path.join(scratch, path), encoding="utf-8"))["names"]
def key(n):
    return (n["surname"], n["given"], n["reading"], n["style"])
final = names("final.json")
seed = names("seed.json")
ok = True
keys = [key(n) for n in final]
doubled = {k for k in keys if keys.count(k) > 1}
if doubled:
    ok = False
    print(f"  doubled: {sorted(doubled)}")
lost_seed = [n for n in seed if n not in final]
print(f"  seed: {seed_count - len(lost_seed)} of {seed_count} whole (with their notes)")
ok &= not lost_seed
expected_all = {key(n) for n in seed}
for window, surname in [(1, "山田"), (2, "佐藤")]:
    log = open(os.path.join(scratch, f"window-{window}.log"), encoding="utf-8").read()
    toggles = [0] * (max(rounds) + 1)
    for line in log.splitlines():
        if line.startswith("toggle "):
            toggles[int(line.split()[1])] += 1
    if "done" not in log or "error box" in log:
        ok = False
        print(f"  window {window}: {'an error box was shown' if 'error box' in log else 'did not finish'}")
    path = os.path.join(scratch, f"first-round-{window}.json")
    if not os.path.exists(path):
        ok = False
        print(f"  window {window}: no list after its first round")
        continue
    rows = [key(n) for n in names(f"first-round-{window}.json") if n["surname"] == surname]
    if len(rows) != rounds[0]:
        ok = False
        print(f"  window {window}: {len(rows)} names after the first round, not {rounds[0]}")
    expected = {rows[r - 1] for r in range(1, len(rows) + 1) if toggles[r] % 2 == 1}
    got = {k for k in keys if k[0] == surname}
    toggled = sum(toggles)
    print(f"  window {window} ({surname}): {toggled} toggles over {len(rows)} names; "
          f"{len(expected)} left starred, {len(got & expected)} of them on the list once, "
          f"{len(got - expected)} there that should not be")
    ok &= got == expected
    expected_all |= expected
others = set(keys) - expected_all
if others:
    ok = False
    print(f"  on the list and nobody's: {sorted(others)}")
print(f"  final list: {len(final)} names, expected {len(expected_all)}")
print("shortlist-loop: " + ("PASS" if ok else "FAIL"))
sys.exit(0 if ok else 1)
EOF
