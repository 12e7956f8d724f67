#!/usr/bin/env bash
# Runs a command with an X display: the current one if there is one, else a
# private virtual display (Xvfb, 24-bit colour) with the openbox window
# manager, so windows get frames and close buttons as on a desktop. The
# virtual display and its window manager end with the command.
#   tools/with-display.sh COMMAND [ARGS...]
set -euo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi

fifo_dir=$(mktemp -d)
trap 'kill ${wm_pid:-} ${xvfb_pid:-} 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/displayfd"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo_dir/displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$fifo_dir/displayfd"
export DISPLAY=":$display_number"

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# The window manager is ready once it has claimed the screen.
for _ in $(seq 100); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
        break
    fi
    sleep 0.05
done

"$@"
