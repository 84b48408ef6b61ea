#!/usr/bin/env bash
# Takes the README's screenshots of the main window again, from the program as built, under a
# private Xvfb with openbox, driven by xdotool:
#
#   tools/take-screenshots.sh [PROGRAM]      (default: out/build/default/app/orbida)
#
# Writes docs/screenshot.png, docs/readings.png, docs/callsign.png, docs/greyline.png and
# docs/rotor.png. Each scene starts the program afresh with settings of its own, so that nothing
# remembered leaks from one to the next. Needs Xvfb, openbox, xdotool, ImageMagick's import and
# convert, and for the rotor scene rotctld (libhamlib-utils).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(realpath "${1:-$root/out/build/default/app/orbida}")
docs=$root/docs
for tool in Xvfb openbox xdotool import convert rotctld; do
    command -v "$tool" >/dev/null || { echo "take-screenshots: '$tool' is missing" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=:87
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# Window-relative places, in pixels at 96 dpi: the city box, New York on the map, a spot on the
# window's grey surface away from the map.
readonly box_x=152 box_y=434 ny_x=211 ny_y=161 aside_x=640 aside_y=470

# start ARGS...: the program with a settings folder of its own; sets $app, $wx and $wy.
start() {
    rm -rf "$work/home"
    mkdir -p "$work/home"
    HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
        "$program" "$@" >"$work/program.log" 2>&1 &
    app=$!
    local wid=""
    for _ in $(seq 50); do
        wid=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1 || true)
        [[ -n $wid ]] && break
        sleep 0.1
    done
    [[ -n $wid ]] || { echo "take-screenshots: no window" >&2; cat "$work/program.log" >&2; exit 1; }
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    wx=$X wy=$Y
    sleep 0.5
}

stop() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
}

point() { xdotool mousemove $((wx + $1)) $((wy + $2)); sleep 0.4; }

home() {
    point "$box_x" "$box_y"
    xdotool click 1 key ctrl+a
    xdotool type --delay 40 "$1"
    xdotool key Return
    sleep 0.4
}

shoot() {
    sleep 0.4
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "676x507+$wx+$wy" +repage -strip "$docs/$1"
    echo "$docs/$1"
}

start
home Paris
point "$ny_x" "$ny_y"
shoot screenshot.png
xdotool key ctrl+l
point $((ny_x + 1)) "$ny_y"
point "$ny_x" "$ny_y"
shoot readings.png
stop

start
home Paris
home JA1NUT
point "$aside_x" "$aside_y"
shoot callsign.png
stop

start --time 2026-12-21T12:00Z
home Paris
xdotool key ctrl+g
point "$ny_x" "$ny_y"
shoot greyline.png
stop

port=45733
rotctld -m 1 -T 127.0.0.1 -t "$port" >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
start --rotator "127.0.0.1:$port"
home Paris
point "$ny_x" "$ny_y"
xdotool key ctrl+shift+r
sleep 3
xdotool key ctrl+space
sleep 1
shoot rotor.png
stop
