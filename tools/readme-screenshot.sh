#!/usr/bin/env bash
# Takes the README's picture of the yard from the real program: it turns the
# view towards the container block and switches the orbiting light on, as a
# user would, then saves docs/yard.png.
#   tools/readme-screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
cmake --build "$build_dir" --target brindlemoor screenshot >/dev/null
mkdir -p docs
tools/with-display.sh "$build_dir/tools/screenshot/screenshot" --run "$build_dir/brindlemoor" \
    --title Brindlemoor --settle-ms 3000 --hold h:300 --drag 22:0 --output docs/yard.png
echo "Saved docs/yard.png"
