#!/usr/bin/env bash
# Line and branch coverage of the program's own code (app, render, scene,
# camera, geometry and the Linux layer) by the Linux tests, measured with
# gcovr on a Debug build with --coverage in a folder of its own. Prints the
# summary and writes an HTML report beside it. Not part of CI: it takes a
# build and a run of the suite of its own.
#   tools/coverage.sh            (COVERAGE_BUILD_DIR, default build-coverage)
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh coverage

build_dir=${COVERAGE_BUILD_DIR:-build-coverage}
jobs=$(nproc)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
    -DBRINDLEMOOR_TESTS=ON -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=ON -DBRINDLEMOOR_WINDOWS_TESTS=OFF \
    -DBRINDLEMOOR_ARM64_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j "$jobs"

# Counts from an earlier run would add to this one's.
find "$build_dir" -name '*.gcda' -delete
tools/with-display.sh ctest --test-dir "$build_dir" -j "$jobs" -LE 'package|windows' --output-on-failure || true

mkdir -p "$build_dir/coverage"
gcovr --root . --object-directory "$build_dir" \
    --filter 'app/' --filter 'render/' --filter 'scene/' --filter 'camera/' --filter 'geometry/' \
    --filter 'platform/sdl/' \
    --exclude-directories '.*/CMakeFiles/[0-9.]+' --exclude-unreachable-branches --exclude-throw-branches \
    --html-details "$build_dir/coverage/index.html" --print-summary
echo "Report: $build_dir/coverage/index.html"
