#!/usr/bin/env bash
# The window in each language, as a user starts it, under a private Xvfb with openbox:
#
#   tools/check-languages.sh [PROGRAM]      (default: out/build/default/app/orbida)
#
# Compares, pixel for pixel, the window with Paris home and the pointer on New York, then with the
# long path: under LANG=fr_FR.UTF-8, LANG=C.UTF-8 and LANG=en_US.UTF-8 with --lang fr it must be
# the French one of docs/screenshot.png and docs/readings.png; under LANG=fr_FR.UTF-8 with
# --lang en, the one under LANG=en_US.UTF-8. Then takes the English screenshots: docs/english.png
# (the long path to New York), docs/english-start.png, docs/english-rotor.png (the rotor dialog),
# docs/english-stations.png and docs/english-about.png. Exit status 1 when a window differs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(realpath "${1:-$root/out/build/default/app/orbida}")
for tool in Xvfb openbox xdotool xwininfo import convert compare; do
    command -v "$tool" >/dev/null || { echo "check-languages: '$tool' is missing" >&2; exit 2; }
done
unset LANGUAGE LC_ALL LC_MESSAGES
screens_display=:88
# shellcheck source=tools/screens.sh
source "$root/tools/screens.sh"
docs=$work/shots
mkdir -p "$docs"

# route NAME LANG ARGS...: Paris to New York (NAME-short.png), then the long path (NAME-long.png).
route() {
    local name=$1
    shift
    LANG=$1 start "${@:2}"
    home Paris
    point "$ny_x" "$ny_y"
    shoot "$name-short.png" >/dev/null
    xdotool key ctrl+l
    point $((ny_x + 1)) "$ny_y"
    point "$ny_x" "$ny_y"
    shoot "$name-long.png" >/dev/null
    stop
}

failed=0
# same A B: both pictures identical to the pixel.
same() {
    local differ
    differ=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    if [[ $differ == 0 ]]; then
        echo "same: $(basename "$1") $(basename "$2")"
    else
        echo "DIFFERENT ($differ pixels): $1 $2" >&2
        failed=1
    fi
}

route fr fr_FR.UTF-8
route c C.UTF-8
route en-fr en_US.UTF-8 --lang fr
route en en_US.UTF-8
route fr-en fr_FR.UTF-8 --lang en
for name in fr c en-fr; do
    same "$root/docs/screenshot.png" "$docs/$name-short.png"
    same "$root/docs/readings.png" "$docs/$name-long.png"
done
same "$docs/en-short.png" "$docs/fr-en-short.png"
same "$docs/en-long.png" "$docs/fr-en-long.png"
cp "$docs/en-long.png" "$root/docs/english.png"

# The English screenshots of the other windows.
export LANG=en_US.UTF-8
docs=$root/docs
start
shoot english-start.png
home Paris
# The about box, from its button at the window's top left.
point 48 24
xdotool click 1
sleep 1
main=$(xdotool search --all --onlyvisible --pid "$app" --name '^  ORBIDA$' | head -n 1)
about=$(xdotool search --all --onlyvisible --pid "$app" --name '' | grep -vx "$main" | tail -n 1)
import -window "$about" -strip "$docs/english-about.png"
echo "$docs/english-about.png"
xdotool key Escape
sleep 0.5
stop

rotctld_port=45739
if command -v rotctld >/dev/null; then
    rotctld -m 1 -T 127.0.0.1 -t "$rotctld_port" >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
    settings=$'[reference]\nhome=Paris'
    start --rotator "127.0.0.1:$rotctld_port"
    unset settings
    menu_entry 11
    dialog=$(xdotool search --onlyvisible --name "Rotator" | head -n 1)
    import -window "$dialog" -strip "$docs/english-rotor.png"
    echo "$docs/english-rotor.png"
    xdotool key Escape
    stop
fi

sender=$(dirname "$(dirname "$program")")/tests/wsjtx_send
if [[ -x $sender ]]; then
    settings=$'[reference]\nhome=Paris\n[azimuthal]\nopen=true\ngeometry=700, 24, 440, 440'
    start --wsjtx 45738
    unset settings
    "$sender" 45738 50
    shoot_stations english-stations.png
    stop
fi
exit "$failed"
