#!/usr/bin/env bash
# Builds with -Werror under AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# headless.
set -euo pipefail
cd "$(dirname "$0")"
# The layers first: every include of src/ against the library graph of src/CMakeLists.txt
# (docs/layers.md).
scripts/check-layers.sh
source scripts/packages.sh
scripts/install-packages.sh "${RUNTIME_PACKAGES[@]}" "${BUILD_PACKAGES[@]}"
# The source as .clang-format lays it out (scripts/check-format.sh --fix formats it).
scripts/check-format.sh
jobs=$(nproc)
# The benchmarks are built optimised by bench.sh, not here; the readers' fuzzing harnesses replay
# their seed corpora as tests of this tree (fuzz/CMakeLists.txt).
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELM_WERROR=ON -DVELM_SANITIZE=ON \
  -DVELM_BUILD_BENCH=OFF >/dev/null
cmake --build build/test -j "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Beside the tests, at a lower priority so that it takes the time they leave: clang reads the few
# sources with compiler-specific code and every test source (the fuzzing tree's compiler), and the
# ThreadSanitizer tree is built (computations at once on worker threads: a small tree of its own).
side_log=$(mktemp)
setsid bash -c '
  nice -n 10 scripts/check-clang.py build/test -j "$1" &&
    cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELM_WERROR=ON -DVELM_TSAN=ON \
      >/dev/null &&
    nice -n 10 cmake --build build/tsan -j "$1" --target concurrent_runs_test' side "$jobs" \
  >"$side_log" 2>&1 &
side=$!
trap 'kill -- -"$side" 2>/dev/null || true; rm -f "$side_log"' EXIT
ctest --test-dir build/test --output-on-failure -j "$jobs"
if ! wait "$side"; then
  cat "$side_log" >&2
  exit 1
fi
grep -v '^\[' "$side_log" || true
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/tsan/concurrent_runs_test
