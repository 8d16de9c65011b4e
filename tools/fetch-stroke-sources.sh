#!/bin/bash
# Fetches the public dictionaries that tools/gen_strokes.py and
# tools/gen_given_names.py read, as Debian
# packages unpacked into tools/.sources/ (git-ignored). Nothing is installed.
#
#   bash tools/fetch-stroke-sources.sh && python3 tools/gen_strokes.py
#
# The versions below are the ones data/strokes.txt was generated from. When
# the archive no longer carries one, the current version is taken instead and
# a warning says so: the generator's --check then shows whether the data moved.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
dest="$here/.sources"
packages=(
    kanjidic-xml=2022.08.23     # usr/share/edict/kanjidic2.xml.gz
    enamdict=2021.02.03-1       # usr/share/edict/enamdict (tools/gen_given_names.py)
    python3-kanjidraw=0.2.3-2   # kanjidraw/data.json: KanjiVG strokes by count
    unicode-data=15.0.0-1       # usr/share/unicode/Unihan_*.txt.bz2
)

mkdir -p "$dest/debs"
cd "$dest/debs"
rm -f ./*.deb

# apt-get download needs the package lists; they are refreshed only when a
# download fails, as a fresh machine may have none.
fetch() {
    apt-get download "$1" 2>/dev/null && return 0
    apt-get update >/dev/null
    apt-get download "$1"
}

for wanted in "${packages[@]}"; do
    if ! fetch "$wanted"; then
        echo "warning: $wanted is not in the archive any more; taking ${wanted%%=*} as it is now" >&2
        fetch "${wanted%%=*}"
    fi
done

rm -rf "$dest/root"
mkdir -p "$dest/root"
for deb in ./*.deb; do
    dpkg -x "$deb" "$dest/root"
done

# The generator prints these in its report.
for deb in ./*.deb; do
    dpkg-deb --showformat='${Package} ${Version}\n' -W "$deb"
done >"$dest/versions.txt"
cat "$dest/versions.txt"
