#!/bin/sh
# Writes data/shipped-versions.sha256: the SHA-256 and the size of every version of every file of
# data/ in the history of HEAD, then of the file as it is now, one line each
# ("<sha256> <size> <name>"), each file's versions in the order they were made and its present
# version last. A start of the program replaces a data folder's copy of a shipped file that is
# one of these versions (a copy the user never changed) by the present one.
# Usage: scripts/shipped-versions.sh [--check]   (--check compares with the file instead)
set -eu
cd "$(dirname "$0")/.."
list=data/shipped-versions.sha256
out=$(mktemp)
trap 'rm -f "$out" "$out.blobs"' EXIT
# Every (name in lower case, blob) of data/ over the history, oldest first, each pair once; a
# name that changed only in case is the same file.
for commit in $(git rev-list --reverse HEAD -- data/); do
  git ls-tree "$commit" data/
done | awk -F'\t' '{ split($1, f, " "); name = tolower(substr($2, 6));
                     if (f[2] == "blob" && !seen[name " " f[3]]++) print name, f[3] }' > "$out.blobs"
{
  echo "# The versions of the shipped files: made by scripts/shipped-versions.sh; do not edit."
  # The program's files: not the notes on the sources, not this list.
  find data -maxdepth 1 -type f ! -name SOURCES.md ! -name shipped-versions.sha256 -printf '%f\n' |
    LC_ALL=C sort | while read -r name; do
    lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
    present=$(git hash-object "data/$name")
    awk -v n="$lower" '$1 == n { print $2 }' "$out.blobs" | while read -r blob; do
      if [ "$blob" != "$present" ]; then
        echo "$(git cat-file blob "$blob" | sha256sum | cut -d' ' -f1) $(git cat-file -s "$blob") $name"
      fi
    done
    echo "$(sha256sum < "data/$name" | cut -d' ' -f1) $(wc -c < "data/$name" | tr -d ' ') $name"
  done
} > "$out"
if [ "${1:-}" = --check ]; then
  if cmp -s "$out" "$list"; then echo "$list is up to date"; exit 0; fi
  echo "$list differs: run scripts/shipped-versions.sh"; exit 1
fi
cp "$out" "$list"
