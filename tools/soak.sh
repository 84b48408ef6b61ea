#!/usr/bin/env bash
# Soak test: Orbida under Xvfb and openbox while xdotool uses it like a restless user.
#
# Usage: tools/soak.sh [--duration SECONDS] [--seed N] [program]
#        (defaults: 600 s, a random seed, out/build/default/app/orbida)
#
# For the whole duration the script, at random after one of each kind: wanders the pointer over
# the map and off the window; picks a city (clicks the list's text field, selects all, types the
# first letters of a random name from the villes.txt beside the program, presses Down and Return
# in the completion popup, clicks "Valider"); opens the about box and closes it with Escape; drags
# the window by its bare surface to a random place on the screen.
# After every action it checks that the program is alive and answering:
# - crash: the process is gone (or a zombie) or its window no longer exists;
# - hang: the pointer is moved to a fresh point of the map and the crosshair must appear there
#   within 2 s. Xvfb keeps its frame buffer in a file (-fbdir), read directly with od, so this
#   checks that the program's event loop took the motion, ran the tick and repainted; questions
#   the X server answers by itself (window name, geometry) would still succeed with a frozen
#   program;
# - a window of the program (about box, popup) still open after Escape.
# VmRSS (/proc/<pid>/status) is sampled every second. Memory growth is measured from the end of
# the first minute (the first 20 % of the run when it is shorter than 5 minutes) to the end, and
# must stay under 5 MB.
# Prints the peak and final resident memory, the events sent and the verdict; exits 1 on a
# failure (keeping a screenshot, ${TMPDIR:-/tmp}/orbida-soak-failure.png), 2 when the soak itself
# could not run. The seed is printed to replay a run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=xvfb-session.sh
. "$(dirname "$0")/xvfb-session.sh"
session_name=soak
duration=600
seed=$((RANDOM * 32768 + RANDOM))
program=
while (($#)); do
    case $1 in
    --duration) duration=${2:?--duration needs a number of seconds}; shift 2 ;;
    --duration=*) duration=${1#*=}; shift ;;
    --seed) seed=${2:?--seed needs a number}; shift 2 ;;
    --seed=*) seed=${1#*=}; shift ;;
    -h | --help) sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) program=$1; shift ;;
    esac
done
if [[ ! $duration =~ ^[0-9]+$ ]] || ((duration < 5)); then
    echo "soak: --duration must be a whole number of seconds, at least 5" >&2
    exit 2
fi
[[ $seed =~ ^[0-9]+$ ]] || {
    echo "soak: --seed must be a whole number" >&2
    exit 2
}
resolve_program "${program:-$repo/out/build/default/app/orbida}"
require_tools Xvfb openbox xdotool xwininfo od awk

readonly win_w=676 win_h=507
readonly hang_ms=2000 growth_limit_kb=$((5 * 1024))
RANDOM=$seed

session_begin soak
start_x_session

# --- the program ---------------------------------------------------------------------------------
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime "$program" >"$work/program.log" 2>&1 &
launched=$!
started+=("$launched")
wait_for_window "$launched"
pid=$(window_pid "$launched")
[[ $pid == "$launched" ]] || started+=("$pid") # behind a launcher that did not exec
list=$(dirname "$(readlink -f "/proc/$pid/exe")")/villes.txt
# Name beginnings to type: the first three to five letters of names that start with plain letters
# (xdotool types those on any keyboard map).
mapfile -t prefixes < <(LC_ALL=C awk -F, '$1 ~ /^[A-Za-z][A-Za-z][A-Za-z]/ {
        n = 3 + (NR % 3); p = substr($1, 1, n)
        if (p ~ /^[A-Za-z]+$/) print p; else print substr($1, 1, 3)
    }' "$list" 2>/dev/null | sort -u)
((${#prefixes[@]} > 0)) || die "no usable city names in $list"

# Resident memory every second, as "seconds kB" lines.
clock
start_us=$now
(
    while rss=$(vm_rss_kb "$pid" 2>/dev/null) && [[ -n $rss ]]; do
        clock
        echo "$(((now - start_us) / 1000000)) $rss"
        sleep 1
    done
) >"$work/rss" &
started+=($!)

# --- checks --------------------------------------------------------------------------------------
last_action=start
fail() {
    echo "FAIL after $(((now - start_us) / 1000000)) s, after action \"$last_action\": $*"
    # The screen at that moment, kept for the report.
    if command -v import >/dev/null; then
        shot=${TMPDIR:-/tmp}/orbida-soak-failure.png
        import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot"
    fi
    verdict="FAIL: $*"
    report
    exit 1
}

where() {
    window_position 2>/dev/null || {
        clock
        fail "crash: the window is gone"
    }
}

alive() {
    local state
    state=$(process_state "$pid" 2>/dev/null || true)
    if [[ -z $state || $state == Z || $state == X ]]; then
        local status=0 how
        if [[ $pid == "$launched" ]]; then
            wait "$pid" 2>/dev/null || status=$?
        fi
        how="exit status $status"
        ((status <= 128)) || how+=", signal $(kill -l $((status - 128)))"
        clock
        if [[ -s $work/program.log ]]; then
            echo "last output of the program:"
            tail -5 "$work/program.log" | sed 's/^/  | /'
        fi
        fail "crash: the process is gone ($how)"
    fi
}

# Windows of the program other than the main one that are on screen.
stray_windows() {
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$wid" || true
}

# The program answers when a pointer move over the map shows the crosshair there within 2 s.
probes=0 slowest_probe=0
probe() {
    local px py tries start
    alive
    where
    for tries in 1 2 3 4 5 6; do
        px=$((map_x + 40 + RANDOM % (map_w - 80))) py=$((map_y + 40 + RANDOM % (map_h - 70)))
        crosshair_at "$px" "$py" || break
        ((tries < 6)) || die "cannot find a map point without the crosshair already on it"
    done
    clock
    start=$now
    xdotool mousemove $((win_x + px)) $((win_y + py))
    moves=$((moves + 1)) probes=$((probes + 1))
    until crosshair_at "$px" "$py"; do
        clock
        if ((now - start > hang_ms * 1000)); then
            alive
            fail "hang: a pointer move over the map was not shown within $((hang_ms / 1000)) s"
        fi
        sleep 0.01
    done
    clock
    (((now - start) / 1000 > slowest_probe)) && slowest_probe=$(((now - start) / 1000))
    return 0
}

# Escape closes what the last action may have left open (each window activated first, as a user
# would click it); anything still open is a failure.
close_strays() {
    local n w
    for n in 1 2 3; do
        w=$(stray_windows | head -1)
        [[ -z $w ]] && return 0
        [[ $(xdotool getactivewindow 2>/dev/null) == "$w" ]] ||
            timeout 2 xdotool windowactivate --sync "$w" 2>/dev/null || true
        xdotool key Escape
        keys=$((keys + 1))
        sleep 0.2
    done
    [[ -z $(stray_windows) ]] && return 0
    clock
    local names=()
    for w in $(stray_windows); do
        names+=("$(xwininfo -id "$w" | awk -F'"' '/xwininfo/ {print $2}')" \
            "$(xwininfo -id "$w" | awk '/geometry/ {print $2}')")
    done
    fail "a window of the program stayed open after Escape: ${names[*]}"
}

# --- actions -------------------------------------------------------------------------------------
moves=0 clicks=0 keys=0 typed=0 cities=0 abouts=0 drags=0 wanders=0

# A few dozen moves over the map, ending a third of the time off the window.
# shellcheck disable=SC2317 # run through $last_action
wander() {
    local n count=$((10 + RANDOM % 40)) args=() x y
    for ((n = 0; n < count; n++)); do
        x=$((win_x + map_x + RANDOM % map_w)) y=$((win_y + map_y + RANDOM % map_h))
        args+=(mousemove "$x" "$y" sleep "0.0$((1 + RANDOM % 3))")
    done
    if ((RANDOM % 3 == 0)); then
        # Somewhere off the window: above, below, left or right of it when there is room.
        case $((RANDOM % 4)) in
        0) x=$((RANDOM % screen_w)) y=$((win_y > 2 ? RANDOM % (win_y - 1) : screen_h - 1)) ;;
        1) x=$((RANDOM % screen_w)) y=$((win_y + win_h < screen_h - 2 ? win_y + win_h + 1 + RANDOM % (screen_h - win_y - win_h - 1) : 0)) ;;
        2) y=$((RANDOM % screen_h)) x=$((win_x > 2 ? RANDOM % (win_x - 1) : screen_w - 1)) ;;
        *) y=$((RANDOM % screen_h)) x=$((win_x + win_w < screen_w - 2 ? win_x + win_w + 1 + RANDOM % (screen_w - win_x - win_w - 1) : 0)) ;;
        esac
        args+=(mousemove "$x" "$y" sleep 0.05)
        count=$((count + 1))
    fi
    xdotool "${args[@]}"
    moves=$((moves + count)) wanders=$((wanders + 1))
}

# shellcheck disable=SC2317 # run through $last_action
pick_city() {
    local prefix=${prefixes[RANDOM % ${#prefixes[@]}]}
    xdotool mousemove $((win_x + 130)) $((win_y + 434)) click 1 sleep 0.1 key ctrl+a \
        type --delay 30 "$prefix"
    sleep 0.4 # the completion popup
    xdotool key Down sleep 0.1 key Return sleep 0.2 \
        mousemove $((win_x + 148)) $((win_y + 464)) click 1
    moves=$((moves + 2)) clicks=$((clicks + 2)) keys=$((keys + 3)) typed=$((typed + ${#prefix}))
    cities=$((cities + 1))
}

# Opens the about box and closes it with Escape (close_strays). A box that did not take the
# keyboard focus by itself is counted.
about_unfocused=0 about_missing=0
# shellcheck disable=SC2317 # run through $last_action
about() {
    local box="" n
    xdotool mousemove $((win_x + 48)) $((win_y + 24)) click 1
    moves=$((moves + 1)) clicks=$((clicks + 1)) abouts=$((abouts + 1))
    for n in $(seq 20); do
        box=$(stray_windows | head -1)
        [[ -n $box ]] && break
        sleep 0.05
    done
    if [[ -z $box ]]; then
        about_missing=$((about_missing + 1))
        return 0
    fi
    sleep 0.3 # the box on screen for a moment
    [[ $(xdotool getactivewindow 2>/dev/null) == "$box" ]] || about_unfocused=$((about_unfocused + 1))
    close_strays
}

drag_misses=0
# shellcheck disable=SC2317 # run through $last_action
drag() {
    local to_x=$((RANDOM % (screen_w - win_w))) to_y=$((RANDOM % (screen_h - win_h)))
    local gx=$((win_x + 560)) gy=$((win_y + 30)) args=() s
    args=(mousemove "$gx" "$gy" mousedown 1 sleep 0.1)
    for s in 1 2 3 4 5 6 7 8; do
        args+=(mousemove $((gx + (to_x - win_x) * s / 8)) $((gy + (to_y - win_y) * s / 8)) sleep 0.03)
    done
    args+=(sleep 0.1 mouseup 1 sleep 0.2)
    xdotool "${args[@]}"
    moves=$((moves + 9)) clicks=$((clicks + 1)) drags=$((drags + 1))
    where
    if ((win_x - to_x > 3 || to_x - win_x > 3 || win_y - to_y > 3 || to_y - win_y > 3)); then
        drag_misses=$((drag_misses + 1))
    fi
}

# --- report --------------------------------------------------------------------------------------
verdict=
report() {
    local base_s elapsed_s
    clock
    elapsed_s=$(((now - start_us) / 1000000))
    base_s=$((duration >= 300 ? 60 : duration / 5))
    echo "ran $elapsed_s s; events sent: $((moves + clicks + keys + typed))" \
        "($moves pointer moves, $clicks clicks, $keys keys, $typed typed characters)"
    echo "actions: $wanders wanders, $cities cities chosen, $abouts about boxes, $drags drags" \
        "($drag_misses left the window elsewhere than aimed), $probes answer checks" \
        "(slowest $slowest_probe ms)"
    ((about_unfocused == 0)) ||
        echo "note: the about box opened without the keyboard focus $about_unfocused times of $abouts"
    ((about_missing == 0)) ||
        echo "note: the about box did not appear within 1 s $about_missing times of $abouts"
    awk -v base="$base_s" -v limit="$growth_limit_kb" -v verdict="$verdict" '
        { t[NR] = $1; r[NR] = $2; if ($2 > peak) peak = $2; if (!b && $1 >= base) b = $2 }
        END {
            if (NR == 0) { print "resident memory: no sample"; exit }
            if (!b) b = r[NR]
            printf "resident memory: first %.1f MB, peak %.1f MB, final %.1f MB (%d samples)\n",
                   r[1] / 1024, peak / 1024, r[NR] / 1024, NR
            printf "growth since %d s: %+.2f MB (limit 5 MB)\n", base, (r[NR] - b) / 1024
            if (verdict == "" && r[NR] - b > limit) exit 3
        }' "$work/rss" || verdict="FAIL: resident memory grew by more than 5 MB"
    echo "VERDICT: ${verdict:-PASS}"
}

echo "Orbida soak: $program (pid $pid, display $DISPLAY), $duration s, seed $seed," \
    "${#prefixes[@]} name beginnings from $list"
probe
# Each kind of action once first, so that what the program builds on first use (the about box,
# the completion popup, glyph caches) is in memory before the baseline sample is taken.
first_actions=(wander pick_city about drag)
clock
while (((now - start_us) / 1000000 < duration)); do
    if ((${#first_actions[@]})); then
        last_action=${first_actions[0]}
        first_actions=("${first_actions[@]:1}")
    else
        case $((RANDOM % 10)) in
        0 | 1 | 2 | 3 | 4) last_action=wander ;;
        5 | 6) last_action=pick_city ;;
        7) last_action=about ;;
        *) last_action=drag ;;
        esac
    fi
    $last_action
    close_strays
    probe
    clock
done
sleep 1.1 # one more memory sample
alive
report
[[ $verdict == FAIL* ]] && exit 1
exit 0
