#!/usr/bin/env bash
# Fuzzes the readers: builds the harnesses in build/fuzz (clang, libFuzzer, ASan and UBSan) and
# runs each for a fixed time, at most JOBS at once (one process each). Not part of CI.
#
#   scripts/fuzz.sh [seconds per harness, default 60] [harness ...]   (default: every harness)
#   JOBS=3 scripts/fuzz.sh 120 archive config
#
# Inputs that reach new code go to build/fuzz/findings/<harness>/corpus (the committed seeds in
# fuzz/corpus/<harness> stay as they are); a crash leaves its input as
# build/fuzz/findings/<harness>/crash-* and the harness's log beside it. A crash found is a bug
# of the reader: fix it, add a regression test to the ordinary tests, and copy the input into
# fuzz/corpus/<harness>/ so that every replay keeps trying it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
jobs=${JOBS:-2}
root=$PWD
source scripts/packages.sh
scripts/install-packages.sh "${FUZZ_PACKAGES[@]}"
CC=clang-14 CXX=clang++-14 cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVELM_WERROR=ON -DVELM_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  harnesses=($(ls fuzz/corpus))
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
run_one() {
  local name=$1 out="$root/build/fuzz/findings/$1"
  mkdir -p "$out/corpus"
  # The harness's own working folder: nothing it does lands in the source tree.
  (cd "$out" && "$root/build/fuzz/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 \
     -rss_limit_mb=2048 -artifact_prefix="$out/" corpus "$root/fuzz/corpus/$name" \
     >"$out/log" 2>&1) && echo "$name: no crash" || echo "$name: CRASH, see $out"
}
export -f run_one
export root seconds
printf '%s\n' "${harnesses[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'
