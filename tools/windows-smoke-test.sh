#!/usr/bin/env bash
# Builds the Windows program with mingw-w64 (build-windows/), checks that the
# program file holds its icon and manifest, then runs it under Wine on a
# private virtual display: the "Brindlemoor" window must open and draw
# frames, W must move the view, and Escape must end it with the status of
# the last message the loop took (27, the WM_CHAR that follows Escape's
# WM_KEYDOWN). Exits non-zero on any failure. Needs no display; CI runs it
# as root.
#   tools/windows-smoke-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${WINDOWS_BUILD_DIR:-build-windows}
mingw=x86_64-w64-mingw32
exe="$build_dir/brindlemoor.exe"

wine_start_s=60     # wineboot and the first start of a program
window_wait_s=60    # until the window shows
frame_wait_s=30     # until it shows a drawn frame
exit_wait_s=15      # from Escape to the process's end
escape_status=27    # VK_ESCAPE: the WM_CHAR that TranslateMessage adds

fail() {
    echo "windows-smoke-test: FAIL: $*" >&2
    exit 1
}

# Copies size bytes from an offset of a file to standard output.
extract() {
    local file=$1 offset=$2 size=$3
    dd if="$file" iflag=skip_bytes,count_bytes skip="$offset" count="$size" status=none
}

# Reads a little-endian unsigned value of 1, 2 or 4 bytes at an offset.
read_uint() {
    local file=$1 offset=$2 bytes=$3
    od -An -tu"$bytes" --endian=little -j "$offset" -N "$bytes" "$file" | tr -d ' '
}

# Prints "offset size" (in the file) of a resource's data, given its numeric
# type and name, from the PE resource directory; nothing if absent.
resource_data() {
    local type=$1 name=$2 leaf
    leaf=$("$mingw-objdump" -p "$exe" | awk -v type="$(printf '0x%06x,' "$type")" \
        -v name="$(printf '0x%06x,' "$name")" '
        /^[0-9a-f]+   Entry: ID: / { inType = ($4 == type); next }
        /^[0-9a-f]+     Entry: ID: / { inName = inType && ($4 == name); next }
        /Leaf: Addr:/ && inName && !found { sub(",", "", $4); sub(",", "", $6); print $4, $6; found = 1 }')
    [ -n "$leaf" ] || return 0
    local rva=${leaf% *} size=${leaf#* }
    # The section's file offset and address turn the address into a place
    # in the file.
    local image_base section
    image_base=$("$mingw-objdump" -p "$exe" | awk '$1 == "ImageBase" { print $2 }')
    section=$("$mingw-objdump" -h "$exe" | awk '$2 == ".rsrc" { print $4, $6 }')
    local vma=${section% *} file_offset=${section#* }
    echo $((rva - (0x$vma - 0x$image_base) + 0x$file_offset)) $((size))
}

check_resources() {
    local group icon manifest
    group=$(resource_data 14 101)
    [ -n "$group" ] || fail "no icon group 101 in $exe"
    local at=${group% *} size=${group#* }
    [ "$(read_uint "$exe" $((at + 4)) 2)" = 1 ] || fail "icon group 101 holds more or less than one image"
    [ "$size" = 20 ] || fail "icon group 101 is $size bytes, not one entry's 20"
    local width height bits image_bytes image_id
    width=$(read_uint "$exe" $((at + 6)) 1)
    height=$(read_uint "$exe" $((at + 7)) 1)
    bits=$(read_uint "$exe" $((at + 12)) 2)
    image_bytes=$(read_uint "$exe" $((at + 14)) 4)
    image_id=$(read_uint "$exe" $((at + 18)) 2)
    [ "$width x $height x $bits" = "64 x 64 x 32" ] ||
        fail "icon group 101 lists a $width x $height image of $bits bits"
    icon=$(resource_data 3 "$image_id")
    [ -n "$icon" ] || fail "icon group 101 names image $image_id, which is missing"
    [ "${icon#* }" = "$image_bytes" ] || fail "icon image $image_id is not the $image_bytes bytes listed"
    local header=${icon% *}
    [ "$(read_uint "$exe" "$header" 4) $(read_uint "$exe" $((header + 4)) 4)" = "40 64" ] ||
        fail "icon image $image_id is not a 64-pixel-wide bitmap"
    [ "$(read_uint "$exe" $((header + 14)) 2)" = 32 ] || fail "icon image $image_id is not 32 bits a pixel"

    manifest=$(resource_data 24 1)
    [ -n "$manifest" ] || fail "no manifest (RT_MANIFEST 1) in $exe"
    local text
    text=$(extract "$exe" "${manifest% *}" "${manifest#* }")
    grep -q 'requestedExecutionLevel level="asInvoker" uiAccess="false"' <<<"$text" ||
        fail "the manifest does not ask for asInvoker without uiAccess"
    echo "resources: icon group 101 (one 64 x 64 image, 32 bits), manifest asking for asInvoker"
}

# The X window of the first visible top-level window with exactly this title.
find_window() {
    { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; } | head -n 1
}

# Wine shows message boxes as real modal windows; a model that fails to load
# opens one titled "Error" during set-up. Return presses its OK button.
dismiss_error_boxes() {
    local box
    for box in $(xdotool search --onlyvisible --name '^Error$' 2>/dev/null); do
        echo "dismissing a message box titled \"Error\""
        xdotool windowactivate --sync "$box" key Return 2>/dev/null || true
    done
}

# Prints the number of distinct pixel values in a window capture (xwd
# format: a big-endian header, a colour map, then the pixels).
distinct_colours() {
    local capture=$1 fields
    read -r -a fields <<<"$(od -An -tu4 --endian=big -w100 -N 100 "$capture")"
    local header_size=${fields[0]} height=${fields[5]} bytes_per_line=${fields[12]} colours=${fields[19]}
    local pixel_bytes=$((height * bytes_per_line))
    extract "$capture" $((header_size + colours * 12)) "$pixel_bytes" | od -An -v -tx4 -w4 | sort -u | wc -l
}

capture() {
    xwd -silent -id "$1" >"$2" || fail "cannot capture the window"
}

wine_pid=""
stop_wine() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    if [ -n "$wine_pid" ]; then
        kill "$wine_pid" 2>/dev/null || true
        wait "$wine_pid" 2>/dev/null || true
    fi
    rm -rf "${work_dir:-}"
}

# The part that needs the display, run by with-display.sh below.
run_under_wine() {
    work_dir=$(mktemp -d /tmp/brindlemoor-wine-XXXXXX)
    trap stop_wine EXIT
    export WINEPREFIX="$work_dir/prefix"
    export WINEDEBUG=-all
    # No Mono or Gecko: nothing asks to download them.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64

    echo "preparing a Wine prefix"
    timeout "$wine_start_s" wineboot --init >"$work_dir/wineboot.log" 2>&1 ||
        { cat "$work_dir/wineboot.log" >&2; fail "wineboot --init did not finish in ${wine_start_s}s"; }

    # The program reads mdl/ and img/ from its working directory; missing
    # files only cost textures and models.
    local run_dir="$work_dir/run"
    mkdir -p "$run_dir"
    for folder in mdl img; do
        if [ -d "$folder" ]; then
            cp -r "$folder" "$run_dir/"
        fi
    done
    cp "$exe" "$run_dir/"

    echo "starting brindlemoor.exe under Wine"
    (cd "$run_dir" && exec wine brindlemoor.exe >"$work_dir/stdout.txt" 2>"$work_dir/wine.log") &
    wine_pid=$!

    local window="" waited=0
    while [ -z "$window" ]; do
        dismiss_error_boxes
        if ! kill -0 "$wine_pid" 2>/dev/null; then
            cat "$work_dir/wine.log" >&2
            fail "the program ended before its window opened"
        fi
        [ "$waited" -lt $((window_wait_s * 10)) ] || fail "no window titled Brindlemoor after ${window_wait_s}s"
        sleep 0.1
        waited=$((waited + 1))
        window=$(find_window Brindlemoor)
    done
    echo "window \"Brindlemoor\" is open"

    # The window shows before the set-up, whose message boxes hold back the
    # first frame until they are dismissed.
    local drawn=0
    for _ in $(seq "$frame_wait_s"); do
        dismiss_error_boxes
        sleep 1
        if [ -z "$(xdotool search --onlyvisible --name '^Error$' 2>/dev/null)" ]; then
            capture "$window" "$work_dir/still.xwd"
            if [ "$(distinct_colours "$work_dir/still.xwd")" -ge 2 ]; then
                drawn=1
                break
            fi
        fi
    done
    [ "$drawn" = 1 ] || fail "the window stayed one flat colour for ${frame_wait_s}s: no frame drawn"
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    capture "$window" "$work_dir/still.xwd"
    # W held moves the eye forward, so the frames drawn meanwhile differ.
    xdotool keydown w
    sleep 1
    capture "$window" "$work_dir/moving.xwd"
    xdotool keyup w
    cmp -s "$work_dir/still.xwd" "$work_dir/moving.xwd" && fail "holding W changed nothing in the window"
    echo "frames are drawn and follow the keyboard"

    # Held, not tapped: the loop must find Escape down at an idle turn.
    xdotool keydown Escape
    local status=""
    for _ in $(seq $((exit_wait_s * 10))); do
        if ! kill -0 "$wine_pid" 2>/dev/null; then
            status=0
            wait "$wine_pid" || status=$?
            break
        fi
        sleep 0.1
    done
    xdotool keyup Escape
    [ -n "$status" ] || fail "Escape did not end the program in ${exit_wait_s}s"
    wine_pid=""
    echo "Escape ended the program with status $status"
    sed 's/^/program output: /' "$work_dir/stdout.txt"
    [ "$status" = "$escape_status" ] || fail "expected status $escape_status after Escape, got $status"
    echo "windows-smoke-test: PASS"
}

if [ "${1:-}" = "--under-display" ]; then
    run_under_wine
    exit 0
fi

echo "building the Windows program in $build_dir"
cmake --no-warn-unused-cli -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target brindlemoor -j "$(nproc)"
check_resources

# Always a private display, never the user's desktop.
env -u DISPLAY tools/with-display.sh "$0" --under-display
