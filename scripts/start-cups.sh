#!/usr/bin/env bash
# Starts the CUPS scheduler (when it is not running yet) and sets up the
# "soten-pdf" queue, which prints through cups-pdf into PDF files. Meant for CI
# and development containers without systemd; needs root. Idempotent: a
# running scheduler and an existing queue are reused.
#
# cups-pdf writes its files to the folder named by the "Out" line of
# /etc/cups/cups-pdf.conf; this script points it at
# /var/spool/cups-pdf/<user> so the files of a job can be found without
# knowing the user's home. The printing tests read the same line.
#
# Usage: scripts/start-cups.sh [queue-name]
set -euo pipefail

queue="${1:-soten-pdf}"
conf=/etc/cups/cups-pdf.conf
out_dir='/var/spool/cups-pdf/${USER}'

if [ "$(id -u)" -ne 0 ]; then
  echo "start-cups.sh: must run as root (it starts cupsd and adds a queue)" >&2
  exit 1
fi
for tool in cupsd lpadmin lpstat cupsenable cupsaccept; do
  if ! command -v "$tool" >/dev/null 2>&1 && [ ! -x "/usr/sbin/$tool" ]; then
    echo "start-cups.sh: $tool is missing; run scripts/install-deps.sh" >&2
    exit 1
  fi
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
if [ ! -f "$ppd" ]; then
  echo "start-cups.sh: $ppd is missing; install printer-driver-cups-pdf" >&2
  exit 1
fi
export PATH="$PATH:/usr/sbin"

# A fixed output folder, set before the scheduler starts so the backend reads it.
if [ -f "$conf" ] && ! grep -qxF "Out $out_dir" "$conf"; then
  sed -i -E 's|^[[:space:]]*#?[[:space:]]*Out[[:space:]].*$|Out '"$out_dir"'|' "$conf"
  grep -qxF "Out $out_dir" "$conf" || echo "Out $out_dir" >>"$conf"
fi
mkdir -p /var/spool/cups-pdf

scheduler_running() { lpstat -r 2>/dev/null | grep -q "is running"; }

if ! scheduler_running; then
  mkdir -p /run/cups
  cupsd
  for _ in $(seq 1 100); do
    scheduler_running && break
    sleep 0.1
  done
  if ! scheduler_running; then
    echo "start-cups.sh: cupsd did not start (see /var/log/cups/error_log)" >&2
    exit 1
  fi
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -D "PDF files (cups-pdf)" 2>&1 |
    grep -v "drivers are deprecated" >&2 || true
fi
# cups-pdf takes PostScript. Converting the job's PDF with pdftocairo keeps
# the fonts' Unicode maps, so the text of the page can still be read back from
# cups-pdf's file; the Ghostscript route loses them.
lpadmin -p "$queue" -o pdftops-renderer-default=pdftocairo
# cups-pdf names its files after the job's title; with the job number added,
# two jobs of the same title never overwrite each other.
lpadmin -p "$queue" -o Label-default=2
cupsenable "$queue"
cupsaccept "$queue"

echo "CUPS is running; queue $queue writes to $(grep -E '^Out ' "$conf" | cut -d' ' -f2-)"
