#!/usr/bin/env bash
# Builds the program and starts it: ./run.sh [program arguments]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
scripts/install-packages.sh "${RUNTIME_PACKAGES[@]}" g++ cmake ninja-build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELM_BUILD_TESTS=OFF -DVELM_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target velm
exec build/release/src/app/velm "$@"
