#!/usr/bin/env bash
# The robustness check, for CI: the whole Linux suite built and run under
# AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer, the real
# program's sessions among it, then the OBJ loader and the image decoder
# fuzzed from their committed seed corpora. Each build has a folder of its
# own. Exits non-zero on any finding.
#
# Environment (all optional):
#   FUZZ_SECONDS        how long each fuzzer runs (30)
#   SANITIZE_BUILD_DIR  sanitizer build folder (build-sanitize)
#   FUZZ_BUILD_DIR      fuzz build folder (build-fuzz)
#   JOBS                parallel compile and test jobs (2)
#   DISPLAY             an X display for the tests; without one a virtual
#                       one is used (tools/with-display.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
sanitizeDir=${SANITIZE_BUILD_DIR:-$root/build-sanitize}
fuzzDir=${FUZZ_BUILD_DIR:-$root/build-fuzz}
fuzzSeconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-2}

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) in $sanitizeDir"
cmake -S "$root" -B "$sanitizeDir" -G Ninja -DBRINDLEMOOR_SANITIZE=ON \
    -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=ON -DBRINDLEMOOR_WINDOWS_TESTS=OFF >/dev/null
cmake --build "$sanitizeDir" -j "$jobs"
# The tests carry the sanitizers' options (tests/CMakeLists.txt); the
# Windows program and the packages are not built with them.
echo "== every Linux test under the sanitizers"
"$root/tools/with-display.sh" ctest --test-dir "$sanitizeDir" -j "$jobs" -LE 'windows|package' --output-on-failure

echo "== fuzz build (clang, libFuzzer) in $fuzzDir"
cmake -S "$root" -B "$fuzzDir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBRINDLEMOOR_FUZZ=ON -DBRINDLEMOOR_SANITIZE=ON \
    -DBRINDLEMOOR_TESTS=OFF -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=OFF >/dev/null
ninja -C "$fuzzDir" -j "$jobs" obj_loader_fuzz image_decode_fuzz

# New inputs go to a scratch corpus so that the committed seeds stay as they
# are; a finding is written to the artifacts folder and fails the run.
# fuzz TARGET MAX_LEN SEED_FOLDER...
fuzz() {
    local target=$1 maxLen=$2
    shift 2
    local workCorpus="$fuzzDir/fuzz-corpus/$target" artifacts="$fuzzDir/fuzz-artifacts/$target"
    mkdir -p "$workCorpus" "$artifacts"
    echo "== fuzzing $target for ${fuzzSeconds} s"
    "$fuzzDir/tests/fuzz/$target" -max_total_time="$fuzzSeconds" -max_len="$maxLen" -timeout=5 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" "$workCorpus" "$@"
}
fuzz obj_loader_fuzz 4096 "$root/tests/fuzz/corpus"
# The program's own images are seeds too, read up to the length limit.
fuzz image_decode_fuzz 16384 "$root/tests/fuzz/image-corpus" "$root/img"

echo "check-robustness: no findings"
