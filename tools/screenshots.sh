#!/usr/bin/env bash
# Screenshots of the desktop program on a virtual X display: the splash, the
# empty main window, the entry dialog, a reading, the Save As dialog, the
# print preview, the detail window, the 名付け search, the shortlist, a refused name, the about box and the help window. Needs xvfb, xdotool and imagemagick
# (scripts/install-deps.sh installs them).
#
#   tools/screenshots.sh [--scale FACTOR] [path/to/soten] [output folder]
#
# Defaults: build-ui/ui/soten, shots/ (git-ignored). --scale runs the program
# with QT_SCALE_FACTOR=FACTOR (1.5, 2, ...) on a screen large enough for it,
# as on a HiDPI desktop; the shots then go to a folder of their own
# (shots/scale-2 ...) unless one is given.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
scale=1
if [ "${1:-}" = "--scale" ]; then
    scale="$2"
    shift 2
fi
program="${1:-$here/build-ui/ui/soten}"
default_out="$here/shots"
[ "$scale" = 1 ] || default_out="$here/shots/scale-$scale"
out="${2:-$default_out}"
mkdir -p "$out"

if [ -z "${SOTEN_SHOTS_INSIDE_XVFB:-}" ]; then
    export SOTEN_SHOTS_INSIDE_XVFB=1
    width=$(awk -v s="$scale" 'BEGIN { printf "%d", 800 * s }')
    height=$(awk -v s="$scale" 'BEGIN { printf "%d", 600 * s }')
    exec xvfb-run -a -s "-screen 0 ${width}x${height}x24" "$0" --scale "$scale" "$program" "$out"
fi
[ "$scale" = 1 ] || export QT_SCALE_FACTOR="$scale"

shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }
# Without a window manager nobody gives a new window the keyboard focus.
focus() {
    local id
    id="$(xdotool search --sync --onlyvisible --name "$1" | tail -1)"
    xdotool windowfocus --sync "$id"
}

export LC_ALL=C.UTF-8
# The shortlist the shots make is kept in a scratch folder, not the user's.
XDG_DATA_HOME="$(mktemp -d)"
XDG_CONFIG_HOME="$(mktemp -d)"
export XDG_DATA_HOME XDG_CONFIG_HOME
"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"' EXIT

sleep 0.8
shot 1-splash
sleep 3
shot 2-empty-window

focus '蒼天姓名判断'
xdotool key ctrl+n
sleep 0.5
focus '姓名の入力'
xdotool type --delay 40 '山田'
xdotool key Return
xdotool type --delay 40 '太郎'
sleep 0.3
shot 3-entry-dialog
xdotool key Return   # to OK
xdotool key Return   # press OK
sleep 0.8
shot 4-reading

# Part of the reading selected with the mouse (pane at 201, 9; lines from
# y 11, characters from x 15), in the window's logical pixels.
focus '蒼天姓名判断'
read -r wx wy < <(xdotool search --onlyvisible --name '蒼天姓名判断' getwindowgeometry \
    | awk '/Position/ { split($2, p, ","); print p[1], p[2] }' | tail -1)
at() { awk -v w="$1" -v v="$2" -v s="$scale" 'BEGIN { printf "%d", w + v * s }'; }
menu_height=$(xdotool search --onlyvisible --name '蒼天姓名判断' getwindowgeometry \
    | awk '/Geometry/ { split($2, g, "x"); print g[2] }' | tail -1)
menu_height=$(awk -v h="$menu_height" -v s="$scale" 'BEGIN { printf "%d", h - 487 * s }')
xdotool mousemove "$(at "$wx" 201)" "$((wy + menu_height + $(at 0 28)))" mousedown 1
xdotool mousemove "$(at "$wx" 420)" "$((wy + menu_height + $(at 0 68)))" mouseup 1
sleep 0.3
shot 4b-reading-selected

# Save As: Qt's own file dialog, in Japanese whatever the locale.
focus '蒼天姓名判断'
xdotool key alt+f
sleep 0.3
xdotool key a
sleep 1
shot 4a-save-dialog
focus '名前を付けて保存'
xdotool key Escape
sleep 0.3

# The print preview of the reading.
focus '蒼天姓名判断'
xdotool key alt+f
sleep 0.3
xdotool key v
sleep 1.5
shot 4c-print-preview
xdotool key Escape
sleep 0.3

# The detail of the reading: 三才配置 and 陰陽配列.
focus '蒼天姓名判断'
xdotool key ctrl+i
sleep 1
shot 4e-detail
focus '詳しい鑑定'
# Further down: the verdict of 三才配置 (凶 for 山田 太郎).
xdotool key Next
sleep 0.3
shot 4e2-detail-sansai
xdotool key Escape
sleep 0.3

# The 名付け search for the surname of the reading.
focus '蒼天姓名判断'
xdotool key ctrl+k
sleep 2
shot 4d-naming
# A parent's search by sound: 佐藤, a girl read ゆい, then every spelling.
xdotool key alt+s ctrl+a
xdotool type --delay 40 '佐藤'
xdotool key alt+y
# One character at a time: xdotool maps each onto a spare key, and a
# quick second one can find the key not yet remapped.
for kana in ゆ い; do
    xdotool type --delay 100 "$kana"
    sleep 0.3
done
xdotool key alt+g Down
sleep 2
shot 4e-naming-yui
# Five names starred by Space, then the list side by side (Ctrl+Tab).
xdotool key alt+i
for _ in 1 2 3 4 5; do
    xdotool key space Down
done
sleep 0.5
shot 4g-naming-starred
xdotool key ctrl+Tab
sleep 1
shot 4h-shortlist
xdotool key ctrl+Tab
# The space is one of the conditions behind 詳しい条件 (Alt+A).
xdotool key alt+g Up alt+a
sleep 0.3
xdotool key alt+r Down
sleep 2
shot 4f-naming-yui-all
xdotool key Escape
sleep 0.3

# A name the dictionary cannot count.
focus '蒼天姓名判断'
xdotool key ctrl+n
sleep 0.5
focus '姓名の入力'
xdotool key ctrl+a
xdotool type --delay 40 'abc'
xdotool key Return Return Return
sleep 0.5
shot 5-refused-name
focus 'エラー'
xdotool key Return
sleep 0.4
focus '姓名の入力'
xdotool key Escape
sleep 0.3

focus '蒼天姓名判断'
xdotool key ctrl+v
sleep 0.5
shot 6-about
focus 'バージョン情報'
xdotool key Return
sleep 0.3

focus '蒼天姓名判断'
xdotool key F1
sleep 0.8
shot 7-help
