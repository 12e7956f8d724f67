#!/usr/bin/env bash
# The OBJ loader's robustness check, for CI: builds the sanitizer build and
# the fuzz build in folders of their own, runs the geometry tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes the loader
# from the committed seed corpus. Exits non-zero on any finding.
#
# Environment (all optional):
#   FUZZ_SECONDS        how long the fuzzer runs (60)
#   SANITIZE_BUILD_DIR  sanitizer build folder (build-sanitize)
#   FUZZ_BUILD_DIR      fuzz build folder (build-fuzz)
#   JOBS                parallel compile jobs (2)
#   DISPLAY             an X display for the OpenGL tests; without one a
#                       virtual one is used (tools/with-display.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sanitizeDir=${SANITIZE_BUILD_DIR:-$root/build-sanitize}
fuzzDir=${FUZZ_BUILD_DIR:-$root/build-fuzz}
fuzzSeconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-2}

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) in $sanitizeDir"
cmake -S "$root" -B "$sanitizeDir" -G Ninja -DBRINDLEMOOR_SANITIZE=ON \
    -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=OFF -DBRINDLEMOOR_WINDOWS_TESTS=OFF >/dev/null
ninja -C "$sanitizeDir" -j "$jobs" geometry_tests geometry_gl_tests geometry_gl_probe

# Leak checking is on by default; geometry_gl_tests turns it off for itself
# (Mesa's exit leaks), which an explicit detect_leaks here would override.
export ASAN_OPTIONS=${ASAN_OPTIONS:-strict_string_checks=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
echo "== geometry tests under the sanitizers"
"$sanitizeDir/tests/geometry/geometry_tests" --gtest_brief=1
"$root/tools/with-display.sh" "$sanitizeDir/tests/geometry/geometry_gl_tests" --gtest_brief=1

echo "== fuzz build (clang, libFuzzer) in $fuzzDir"
cmake -S "$root" -B "$fuzzDir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBRINDLEMOOR_FUZZ=ON -DBRINDLEMOOR_SANITIZE=ON \
    -DBRINDLEMOOR_TESTS=OFF -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=OFF >/dev/null
ninja -C "$fuzzDir" -j "$jobs" obj_loader_fuzz

# New inputs go to a scratch corpus so that the committed seeds stay as they
# are; a finding is written to the artifacts folder and fails the run.
workCorpus="$fuzzDir/fuzz-corpus"
artifacts="$fuzzDir/fuzz-artifacts"
mkdir -p "$workCorpus" "$artifacts"
echo "== fuzzing the OBJ loader for ${fuzzSeconds} s"
"$fuzzDir/tests/fuzz/obj_loader_fuzz" -max_total_time="$fuzzSeconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$workCorpus" "$root/tests/fuzz/corpus"

echo "check-loader-robustness: no findings"
