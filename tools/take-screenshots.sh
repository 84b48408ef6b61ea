#!/usr/bin/env bash
# Takes the README's screenshots of the main window again, from the program as built, under a
# private Xvfb with openbox, driven by xdotool:
#
#   tools/take-screenshots.sh [PROGRAM]      (default: out/build/default/app/orbida)
#
# Writes docs/screenshot.png, docs/readings.png, docs/callsign.png, docs/greyline.png,
# docs/rotor.png, and the azimuthal map's docs/azimuthal.png, docs/azimuthal-zoom.png and
# docs/azimuthal@2x.png (a screen of device pixel ratio 2), docs/beacons.png and docs/stations.png
# (the tests' WSJT-X datagrams sent by tests/tools/wsjtx_send, built beside the program) and
# docs/cluster.png (twenty spots from tools/fake-cluster-node.py; needs python3). Each scene starts the program afresh with settings of its own, so that nothing
# remembered leaks from one to the next. Needs Xvfb, openbox, xdotool, ImageMagick's import and
# convert, and for the rotor scene rotctld (libhamlib-utils).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(realpath "${1:-$root/out/build/default/app/orbida}")
docs=$root/docs
# The README's screenshots show the French window, whatever the desktop's language.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8
for tool in Xvfb openbox xdotool xwininfo import convert rotctld; do
    command -v "$tool" >/dev/null || { echo "take-screenshots: '$tool' is missing" >&2; exit 2; }
done

# shellcheck source=tools/screens.sh
source "$root/tools/screens.sh"

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

# The azimuthal map centred on Paris, the pointer on New York (291.8 degrees, 5,837 km from
# Paris by GeographicLib's GeodesicProj), the grey line on; then zoomed; then at ratio 2.
disc() {
    xdotool key ctrl+shift+a
    sleep 1.5
    dwid=$(xdotool search --onlyvisible --name "carte azimutale" | head -n 1)
    dx=$(absolute "$dwid" X) dy=$(absolute "$dwid" Y) dw=$(size "$dwid" Width) dh=$(size "$dwid" Height)
    # New York's pixel: the whole world's radius (the rim and 3 %) over half the side less 4.
    read -r nx ny < <(awk -v w="$dw" -v h="$dh" 'BEGIN {
        half = (w < h ? w : h) / 2 - 4; upp = 20015.109 * 1.03 / half
        printf "%d %d\n", w / 2 - 5419.884 / upp, h / 2 - 2167.293 / upp }')
    xdotool mousemove $((dx + nx)) $((dy + ny))
    sleep 0.6
}
shoot_disc() {
    sleep 0.6
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "${dw}x${dh}+$dx+$dy" +repage -strip "$docs/$1"
    echo "$docs/$1"
}

start --time 2026-12-21T12:00Z
home Paris
point "$aside_x" "$aside_y"
disc
xdotool key ctrl+g
xdotool mousemove $((dx + nx + 1)) $((dy + ny))
xdotool mousemove $((dx + nx)) $((dy + ny))
shoot_disc azimuthal.png
for _ in 1 2 3 4 5 6; do xdotool click 4; sleep 0.1; done
xdotool mousemove $((dx + dw / 2 - 40)) $((dy + dh / 2 - 60))
shoot_disc azimuthal-zoom.png
stop

# At ratio 2 the window's places in pixels double: home and the azimuthal window are read back
# from the settings instead of typed.
settings=$'[reference]\nhome=Paris\n[azimuthal]\nopen=true\ngeometry=20, 20, 480, 480'
QT_SCALE_FACTOR=2 start
unset settings
dwid=$(xdotool search --onlyvisible --name "carte azimutale" | head -n 1)
xdotool windowactivate --sync "$dwid" windowraise "$dwid"
dx=$(absolute "$dwid" X) dy=$(absolute "$dwid" Y) dw=$(size "$dwid" Width) dh=$(size "$dwid" Height)
xdotool mousemove $((dx + dw / 2 - 135)) $((dy + dh / 2 - 55))
shoot_disc azimuthal@2x.png
stop

# The NCDXF beacons at 12:00:40 UTC on the winter solstice (ZL6B on 14.100 MHz, 4U1UN on 28.200),
# Paris home, with their table under the window: turned on from the settings, as remembered.
settings=$'[reference]\nhome=Paris\n[display]\nbeacons=true'
start --time 2026-12-21T12:00:40Z
unset settings
point "$aside_x" "$aside_y"
sleep 0.6
import -window root "$work/screen.png"
table=$(xdotool search --onlyvisible --name "balises NCDXF" | head -n 1)
th=$(size "$table" Height)
convert "$work/screen.png" -crop "676x$((507 + 30 + th))+$wx+$wy" +repage -strip "$docs/beacons.png"
echo "$docs/beacons.png"
stop

# The main window, the azimuthal map and the list of "Stations…" (opened from the map's menu with
# the keyboard), cropped together into docs/NAME.
disc_settings=$'[reference]\nhome=Paris\n[azimuthal]\nopen=true\ngeometry=700, 24, 440, 440'

# 50 stations decoded by WSJT-X (the tests' datagrams), Paris home.
sender=$(dirname "$(dirname "$program")")/tests/wsjtx_send
if [[ -x $sender ]]; then
    settings=$disc_settings
    start --wsjtx 45737
    unset settings
    "$sender" 45737 50
    shoot_stations stations.png
    stop
else
    echo "take-screenshots: $sender is missing (cmake --build --preset default): no stations.png" >&2
fi

# Twenty spots from a DX Spider node of our own, Paris home, the countries from the country file.
if command -v python3 >/dev/null; then
    python3 "$root/tools/fake-cluster-node.py" 47301 &
    pids+=($!)
    sleep 0.5
    settings=$disc_settings
    start --cluster 127.0.0.1:47301 --call F4ABC
    unset settings
    sleep 1.5
    shoot_stations cluster.png
    stop
fi
