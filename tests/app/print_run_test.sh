#!/bin/sh
# `velm /p FILE` from a script with no display: the program starts without a screen, a chart file
# it cannot take (a folder, a named pipe, a missing or an empty file) is reported on standard error
# in a plain sentence naming the file (no message number before it), and the run ends at once with a non-zero status (no message box waiting for an
# answer, no wait for a writer of the pipe).
# Usage: print_run_test.sh VELM WORK_FOLDER
velm=$1
work=$2
rm -rf "$work"
mkdir -p "$work/data" "$work/unreadable.sav" || exit 1
mkfifo "$work/pipe.sav" || exit 1
: > "$work/empty.sav" || exit 1

# FILE and the report its run must show on standard error.
check() {
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 "$velm" \
    --data-dir "$work/data" /p "$work/$1" --out "$work/x.pdf" 2>&1)
  status=$?
  if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
    echo "$1: expected a failure status, got $status"; echo "$out"; exit 1
  fi
  case "$out" in
    *"$2"*"$work/$1"*) ;;
    *) echo "$1: no report naming the file reached standard error:"; echo "$out"; exit 1 ;;
  esac
  case "$out" in
    *"["[0-9]*"]"*) echo "$1: a message number reached standard error:"; echo "$out"; exit 1 ;;
  esac
  if [ -e "$work/x.pdf" ]; then echo "$1: a PDF was written for nothing"; exit 1; fi
}
check unreadable.sav "Не удается открыть файл гороскопов:"
check pipe.sav "Не удается открыть файл гороскопов:"
check missing.sav "Не удается открыть файл гороскопов:"
check empty.sav "В файле нет ни одного гороскопа:"
exit 0
