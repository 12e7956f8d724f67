#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it from the folder
# that holds mdl/ and img/. Where there is no display it runs on a virtual
# one for a few seconds and saves a screenshot, out/screenshot.png.
#   tools/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh run

# A folder of its own, so that it never turns off the test build's options.
build_dir=${BUILD_DIR:-build-run}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINDLEMOOR_TESTS=OFF -DBRINDLEMOOR_BENCH=OFF -DBRINDLEMOOR_TOOLS=ON >/dev/null
cmake --build "$build_dir" --target brindlemoor screenshot -j "$(nproc)"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$build_dir/brindlemoor"
fi

mkdir -p out
echo "No display here: running on a virtual one and saving out/screenshot.png"
tools/with-display.sh "$build_dir/tools/screenshot/screenshot" \
    --run "$build_dir/brindlemoor" --title Brindlemoor --settle-ms 3000 --output out/screenshot.png
echo "Saved $(pwd)/out/screenshot.png"
