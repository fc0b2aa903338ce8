#!/usr/bin/env bash
# Refuses source that differs from the project's .clang-format: every .cpp and .h under version
# control but the generated tables of figures (*_data.cpp, written by the generators in tools/).
# Prints the files that differ and exits 1; silent and 0 when the tree is formatted.
#   scripts/check-format.sh --fix    formats them instead
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v '_data\.cpp$')
if [ "${1:-}" = "--fix" ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 clang-format -i
  exit 0
fi
if ! out=$(printf '%s\0' "${files[@]}" | xargs -0 -n 50 clang-format --dry-run 2>&1); then
  echo "check-format: clang-format failed" >&2
  echo "$out" >&2
  exit 1
fi
if [ -n "$out" ]; then
  echo "check-format: these files differ from .clang-format (scripts/check-format.sh --fix):" >&2
  echo "$out" | grep -E '^[^: ]+\.(cpp|h):[0-9]+:[0-9]+: (warning|error):' | cut -d: -f1 | sort -u >&2
  exit 1
fi
