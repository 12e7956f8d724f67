#!/usr/bin/env bash
# Fuzzes the OBJ loader and the image decoder from their committed seed
# corpora, both at once (each fuzzer is one process on one core), built
# with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in
# a folder of their own. Exits non-zero on any finding.
#   tools/fuzz.sh [CMAKE_OPTION...]   options for the fuzz build's configure
#
# Environment (all optional):
#   FUZZ_SECONDS    how long each fuzzer runs (30)
#   FUZZ_BUILD_DIR  fuzz build folder (build-fuzz)
#   JOBS            parallel compile jobs (the processors)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
fuzzDir=${FUZZ_BUILD_DIR:-$root/build-fuzz}
fuzzSeconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-$(nproc)}

echo "== fuzz build (clang, libFuzzer) in $fuzzDir"
cmake -S "$root" -B "$fuzzDir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBRINDLEMOOR_FUZZ=ON -DBRINDLEMOOR_SANITIZE=ON \
    -DBRINDLEMOOR_TESTS=OFF -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=OFF "$@" >/dev/null
ninja -C "$fuzzDir" -j "$jobs" obj_loader_fuzz image_decode_fuzz

# New inputs go to a scratch corpus so that the committed seeds stay as they
# are; a finding is written to the artifacts folder and fails the run.
# fuzz TARGET MAX_LEN SEED_FOLDER...
fuzz() {
    local target=$1 maxLen=$2
    shift 2
    local workCorpus="$fuzzDir/fuzz-corpus/$target" artifacts="$fuzzDir/fuzz-artifacts/$target"
    mkdir -p "$workCorpus" "$artifacts"
    "$fuzzDir/tests/fuzz/$target" -max_total_time="$fuzzSeconds" -max_len="$maxLen" -timeout=5 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" "$workCorpus" "$@" \
        >"$fuzzDir/$target.log" 2>&1
}

echo "== fuzzing obj_loader_fuzz and image_decode_fuzz for ${fuzzSeconds} s"
fuzz obj_loader_fuzz 4096 "$root/tests/fuzz/corpus" &
loader=$!
# The program's own images are seeds too, read up to the length limit.
fuzz image_decode_fuzz 16384 "$root/tests/fuzz/image-corpus" "$root/img" &
decoder=$!
failed=0
for job in "obj_loader_fuzz $loader" "image_decode_fuzz $decoder"; do
    set -- $job
    if wait "$2"; then
        echo "-- $1: $(grep -m1 -E '^stat::number_of_executed_units' "$fuzzDir/$1.log" || true)"
    else
        echo "-- $1 found a fault:"
        cat "$fuzzDir/$1.log"
        failed=1
    fi
done
if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "fuzz: no findings"
