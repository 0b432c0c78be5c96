#!/usr/bin/env bash
# Makes the README pictures again: builds the editor and skntool (Release),
# packs the demo skin from demo/skin/, drives the real editor on a virtual
# display and writes docs/screenshots/player.png and playlist.png.
#   tools/screenshots.sh [BUILD_DIR]      (default: build-screenshots)
# The editor takes no arguments, so xdotool works it as a user would:
# Ctrl+B, the path typed into the file dialog, the zoom list, the playlist toggle.
set -euo pipefail
usage="usage: tools/screenshots.sh [BUILD_DIR]"
case "${1:-}" in
--help) echo "$usage" && exit 0 ;;
-*) echo "$usage" >&2 && exit 2 ;; # an option-like name is a mistake, not a folder
esac
[ $# -le 1 ] || { echo "$usage" >&2 && exit 2; }
cd "$(dirname "$0")/.."
root=$PWD
. tools/setup.sh
lumora_ensure_packages "${lumora_packages[@]}" xvfb xdotool imagemagick openbox

build=${1:-build-screenshots}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DLUMORA_TESTS=OFF -DLUMORA_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target lumoraskin skntool >/dev/null
editor=$root/$build/bin/lumoraskin
skntool=$root/$build/bin/skntool

work=$(mktemp -d)
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
die() {
    echo "screenshots: $*" >&2
    exit 1
}

demo/draw_bitmaps.sh
"$skntool" pack demo/skin "$work/demo.skn"

# A virtual screen larger than the 853 x 691 window, with a window manager for
# the title bar and the focus.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Waits up to 20 s for a visible window whose title matches; prints its id.
window() {
    local id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1) ||
        die "no window titled like '$1'"
    echo "$id"
}
# Clicks at a point given relative to the main window's client area; the
# pause lets the pointer arrive before the press.
click() {
    xdotool mousemove --window "$main" "$1" "$2"
    sleep 0.3
    xdotool click 1
    sleep 0.5
}
# The main window with its frame, as the desktop shows it.
shoot() {
    xdotool mousemove 1023 767 # no tooltip in the picture
    sleep 1
    import -frame -window "$main" "$work/shot.png"
    convert "$work/shot.png" -strip "PNG24:$1"
}

cd "$work"
"$editor" &
pids+=($!)
main=$(window '^Kelvane LumoraSkin 1\.0 - \[Untitled\.skn\]$')
xdotool windowactivate --sync "$main"

# Open the demo skin: Ctrl+B, the path into the file name field, Enter.
xdotool key --clearmodifiers ctrl+b
dialog=$(window '^Open$')
xdotool windowactivate --sync "$dialog"
xdotool type --delay 10 "$work/demo.skn"
xdotool key Return
window '^Kelvane LumoraSkin 1\.0 - \[demo\.skn\]$' >/dev/null
xdotool windowactivate --sync "$main"

# Points in the main window's client area, from its fixed layout: the zoom
# list in the toolbar, the "Edit playlist interface" toggle, and the row of
# the item list that holds the song title (the fifth row, 16 pixels each).
zoom_list=(124 33)
playlist_toggle=(205 33)
title_row=(40 119)

# Does one step and checks that it changed the window.
step() {
    import -window "$main" "$work/before.png"
    "$@"
    sleep 0.5
    import -window "$main" "$work/after.png"
    local changed
    changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 || true)
    [ "${changed%% *}" != 0 ] || die "the step '$*' changed nothing in the window"
}
pick_zoom_200() {
    click "${zoom_list[@]}"
    xdotool key Down Return
}

step pick_zoom_200
step click "${title_row[@]}"
mkdir -p "$root/docs/screenshots"
shoot "$root/docs/screenshots/player.png"
step click "${playlist_toggle[@]}"
shoot "$root/docs/screenshots/playlist.png"
echo "wrote docs/screenshots/player.png and docs/screenshots/playlist.png"
