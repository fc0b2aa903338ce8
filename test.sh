#!/usr/bin/env bash
# Builds with -Werror under AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# headless; then builds them optimised, without the sanitizers, and runs them again.
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
# The few sources with compiler-specific code and every test source, read by clang too (the
# fuzzing tree's compiler).
scripts/check-clang.py build/test
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/test --output-on-failure -j "$jobs"
# The same tests built optimised (Release, no sanitizers): what only the optimiser brings out, its
# warnings and code whose premise the optimiser changes. About 18 minutes on 2 cores.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELM_WERROR=ON -DVELM_SANITIZE=OFF \
  -DVELM_BUILD_BENCH=OFF >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"
# Computations at once on worker threads, under ThreadSanitizer: a small tree of its own.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELM_WERROR=ON -DVELM_TSAN=ON >/dev/null
cmake --build build/tsan -j "$jobs" --target concurrent_runs_test
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/tsan/concurrent_runs_test
