#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, under a
# virtual display when there is none. Exits non-zero on any failure.
#   tools/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh test

build_dir=${BUILD_DIR:-build}
jobs=$(nproc)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINDLEMOOR_TESTS=ON -DBRINDLEMOOR_BENCH=ON -DBRINDLEMOOR_TOOLS=ON -DBRINDLEMOOR_WINDOWS_TESTS=ON >/dev/null
cmake --build "$build_dir" -j "$jobs"

tools/with-display.sh ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
# The loader under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# minute of fuzzing.
JOBS=$jobs tools/check-loader-robustness.sh
# Every package of the commit built twice, byte for byte the same.
JOBS=$jobs tools/check-reproducible.sh
