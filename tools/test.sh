#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, under a
# virtual display when there is none. Exits non-zero on any failure.
#   tools/test.sh
# One build serves every case: the program, the Linux layer, the harness and
# the tests are built with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer, so each real-program session is also a check
# for memory faults; the Windows program beside it is the plain mingw-w64
# build that ships. Then the OBJ loader and the image decoder are fuzzed.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh test

build_dir=${BUILD_DIR:-build}
jobs=$(nproc)
# -O1 and line tables only: the sanitizers' own advice, and half the
# compile time of -O2 -g, with reports that still name file and line.
checkedFlags="-O1 -g1 -DNDEBUG"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLEMOOR_SANITIZE=ON \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="$checkedFlags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$checkedFlags" \
    -DBRINDLEMOOR_TESTS=ON -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=ON -DBRINDLEMOOR_WINDOWS_TESTS=ON >/dev/null
cmake --build "$build_dir" -j "$jobs"

tools/with-display.sh ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
JOBS=$jobs tools/fuzz.sh -DCMAKE_C_FLAGS_RELWITHDEBINFO="$checkedFlags" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$checkedFlags"
