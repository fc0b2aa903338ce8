#!/bin/sh
# `velm /p FILE` from a script with no display: the program starts without a screen, a chart file
# it cannot read is reported on standard error and the run ends at once with a non-zero status
# (no message box waiting for an answer).
# Usage: print_run_test.sh VELM WORK_FOLDER
velm=$1
work=$2
rm -rf "$work"
mkdir -p "$work/data" "$work/unreadable.sav" || exit 1

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 "$velm" \
  --data-dir "$work/data" /p "$work/unreadable.sav" --out "$work/x.pdf" 2>&1)
status=$?
if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
  echo "expected a failure status, got $status"; echo "$out"; exit 1
fi
case "$out" in
  *"[-103]"*) ;;
  *) echo "the read error did not reach standard error:"; echo "$out"; exit 1 ;;
esac
if [ -e "$work/x.pdf" ]; then echo "a PDF was written for nothing"; exit 1; fi
exit 0
