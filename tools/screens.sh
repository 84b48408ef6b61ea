# Shared by the screenshot scripts (sourced, not run): a private Xvfb with openbox on
# $screens_display (default :87), and the steps of a scene. Needs $program and $docs (where
# shoot writes); start passes its arguments to the program, with the caller's environment (LANG…).
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=${screens_display:-:87}
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
    mkdir -p "$work/home/.config/Orbida"
    # What the scene starts with as remembered settings, if any.
    [[ -z ${settings:-} ]] || printf '%s\n' "$settings" >"$work/home/.config/Orbida/Orbida.conf"
    HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
        "$program" "$@" >"$work/program.log" 2>&1 &
    app=$!
    local wid=""
    for _ in $(seq 50); do
        wid=$(xdotool search --all --onlyvisible --pid "$app" --name '^  ORBIDA$' 2>/dev/null | head -n 1 || true)
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

absolute() { xwininfo -id "$1" | sed -n "s/.*Absolute upper-left $2: *//p"; }
size() { xwininfo -id "$1" | sed -n "s/^ *$2: *//p"; }

# menu_entry N: the map's right-click menu, its Nth entry chosen (separators are not counted).
menu_entry() {
    point 300 200
    xdotool click 3
    sleep 0.4
    for _ in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
    sleep 1
}

# shoot_stations FILE: "Stations…" opened from the map's menu, and the screen from the main window
# to the list's right and bottom edges.
shoot_stations() {
    menu_entry 7
    import -window root "$work/screen.png"
    local list lx ly lh right bottom left
    list=$(xdotool search --onlyvisible --name " stations$" | head -n 1)
    lx=$(absolute "$list" X) ly=$(absolute "$list" Y) lh=$(size "$list" Height)
    right=$((1140 > wx + 676 ? 1140 : wx + 676)) bottom=$((ly + lh > wy + 507 ? ly + lh : wy + 507))
    left=$((lx < wx ? lx : wx))
    convert "$work/screen.png" -crop "$((right - left))x$((bottom))+$left+0" +repage -strip "$docs/$1"
    echo "$docs/$1"
}
