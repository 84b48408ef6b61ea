# shellcheck shell=bash
# What measure-cpu.sh, measure-startup.sh and soak.sh share: a private Xvfb with openbox, the
# Orbida window and its process, pixels read from Xvfb's frame-buffer file, clean-up at exit.
#
# Sourced, not run:  . "$(dirname "$0")/xvfb-session.sh"
#
# Call order in a script:
#   session_name=NAME         right after sourcing: messages read "NAME: ..." (default: file name)
#   resolve_program ARG       $program: ARG (a path, or a name looked up on the PATH) made absolute
#   require_tools TOOL...     exit 2 when one is missing
#   session_begin TAG         the work folder ${TMPDIR:-/tmp}/orbida-TAG.XXXXXX, clean-up at exit
#   start_x_session           Xvfb + openbox; sets DISPLAY and the frame-buffer variables
#   ... launch the program, then wait_for_window PID, window_position, window_pid PID
#
# Variables it sets or reads:
#   work      the temporary folder (removed at exit); program.log in it takes the program's output
#   started   pids ended at exit, last first; append every process started for the whole run
#   app       a process started and stopped more than once during the run; ended first at exit
#   now       microseconds since the epoch, set by clock
#   fb fb_stride fb_data    the frame-buffer file, its row length in bytes, where pixels begin
#   wid win_x win_y         the program's main window and its screen position
#   screen_w screen_h map_* line_dx line_dy   the screen, the map widget and crosshair geometry
# The functions count on the caller's `set -euo pipefail`.
# Exit codes: die exits 2 (the measurement could not run); SIGINT and SIGTERM exit 130 and 143.

# Prefix of messages; the sourcing script names itself right after sourcing.
session_name=${0##*/}
session_name=${session_name%.sh}

readonly screen_w=1280 screen_h=1024
# The map widget, window-relative, and the crosshair lines relative to the pointer, in pixels:
# read from the program's own layout (in twips) so that they follow it.
source_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The value of `inline constexpr double NAME = VALUE;` in a header of the sources.
layout_value() {
    local value
    value=$(sed -n "s/^inline constexpr double $2 = \([0-9]*\)\.0;.*/\1/p" "$source_root/$1")
    [[ -n $value ]] || { echo "$session_name: no $2 in $1" >&2; return 2; }
    echo "$value"
}
# A length of the map's layout in pixels, to the nearest one.
layout_px() {
    local twips per_pixel
    twips=$(layout_value geodesy/map_layout.h "$1") || return 2
    per_pixel=$(layout_value ui/window/twips.h kTwipsPerPixel) || return 2
    echo $(((twips + per_pixel / 2) / per_pixel))
}
map_x=$(layout_px kMapLeft) map_y=$(layout_px kMapTop)
map_w=$(layout_px kMapWidth) map_h=$(layout_px kMapHeight)
line_dx=-$(layout_px kPointerOffsetX) line_dy=-$(layout_px kPointerOffsetY)
readonly source_root map_x map_y map_w map_h line_dx line_dy

# The work folder, and the clean-up at exit: $app and $started ended, the folder removed.
session_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/orbida-$1.XXXXXX")
    started=()
    app=
    trap session_cleanup EXIT
    trap 'echo "$session_name: stopped by SIGINT" >&2; exit 130' INT
    trap 'echo "$session_name: stopped by SIGTERM" >&2; exit 143' TERM
}

die() {
    echo "$session_name: $*" >&2
    exit 2
}

# The program to run, in $program: ARG as given, a bare name looked up on the PATH, made absolute.
resolve_program() {
    program=$1
    if [[ $program != */* ]]; then
        program=$(command -v "$program" || echo "$program")
    fi
    program=$(realpath -e "$program" 2>/dev/null) || {
        echo "$session_name: program not found: $1" >&2
        exit 2
    }
}

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "$session_name: $tool is missing (tools/install-deps.sh test)" >&2
            exit 2
        }
    done
}

# Microseconds since the epoch, in $now (no subprocess; either decimal separator).
# shellcheck disable=SC2034 # $now is read by the caller
clock() {
    local t=$EPOCHREALTIME
    now=$((${t%[.,]*} * 1000000 + 10#${t#*[.,]}))
}

# One-letter state of process PID (R, S, Z, ...) from /proc/PID/stat; fails when it is gone.
process_state() {
    awk '{sub(/.*\) /, ""); print $1}' "/proc/$1/stat"
}

# Resident memory of process PID in kB (VmRSS); fails when it is gone.
vm_rss_kb() {
    awk '/^VmRSS:/ {print $2}' "/proc/$1/status"
}

# Ends a process started here: SIGTERM (and SIGCONT, should it be stopped), SIGKILL after 2 s.
end_process() {
    local n
    kill "$1" 2>/dev/null || return 0
    kill -CONT "$1" 2>/dev/null || true
    for ((n = 0; n < 40; n++)); do
        kill -0 "$1" 2>/dev/null || break
        [[ $(process_state "$1" 2>/dev/null) == Z ]] && break
        sleep 0.05
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# shellcheck disable=SC2317 # run by the EXIT trap
session_cleanup() {
    local i
    [[ -z $app ]] || end_process "$app"
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        end_process "${started[i]}"
    done
    rm -rf "$work"
}

# Starts Xvfb on a display number it picks itself (so that runs side by side do not collide), its
# frame buffer kept in $work/fb, then openbox when installed, and waits for both. Exports DISPLAY.
# Frame buffer file: XWD header, colour map, then rows of 32-bit pixels (B, G, R, unused).
start_x_session() {
    local -a head
    mkdir "$work/fb"
    Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -br -fbdir "$work/fb" \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    started+=($!)
    for _ in $(seq 100); do
        [[ -s $work/display ]] && break
        sleep 0.05
    done
    [[ -s $work/display ]] || die "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=:$(<"$work/display")
    export DISPLAY
    unset XAUTHORITY
    # Settings of the session's own: each run starts as new, and the user's are left alone.
    export XDG_CONFIG_HOME=$work/config
    if command -v openbox >/dev/null; then
        openbox --sm-disable >"$work/openbox.log" 2>&1 &
        started+=($!)
        for _ in $(seq 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            sleep 0.05
        done
    fi

    fb=$work/fb/Xvfb_screen0
    read -r -a head <<<"$(od -An -tu4 --endian=big -w80 -N 80 -v "$fb")"
    fb_stride=${head[12]}
    fb_data=$((head[0] + head[19] * 12))
    ((head[11] == 32)) || die "unexpected frame buffer depth: ${head[11]} bits per pixel"
}

# Number of black pixels among `count` pixels from screen pixel (x, y) rightwards.
fb_black() {
    od -An -tx1 -v -w4 -j $((fb_data + $2 * fb_stride + $1 * 4)) -N $(($3 * 4)) "$fb" |
        awk '$1 $2 $3 == "000000" {n++} END {print n + 0}'
}

# True when the crosshair for a pointer at window-relative (px, py) is on screen: the vertical
# line black in two thirds of nine rows spread over the map, the horizontal line black over three
# quarters of the map width (the route dots and the ring are drawn over the lines). One pixel of
# tolerance either way for the twip rounding.
crosshair_at() {
    local lx=$(($1 + line_dx)) ly=$(($2 + line_dy)) y dy rows=0 hits=0
    for ((y = map_y + 10; y < map_y + map_h; y += 37)); do
        ((y - ly > 3 || ly - y > 3)) || continue
        rows=$((rows + 1))
        (($(fb_black $((win_x + lx - 1)) $((win_y + y)) 3) > 0)) && hits=$((hits + 1))
    done
    ((hits * 3 >= rows * 2)) || return 1
    for dy in 0 -1 1; do
        (($(fb_black $((win_x + map_x + 2)) $((win_y + ly + dy)) $((map_w - 4))) * 4 >= (map_w - 4) * 3)) &&
            return 0
    done
    return 1
}

# The title of the window looked for: Orbida's main window, or the bare baseline's.
window_title='^  ORBIDA$'

# The program's main window on screen, if any (its title matches $window_title).
orbida_window() {
    xdotool search --onlyvisible --name "$window_title" 2>/dev/null | head -1
}

# The baseline the scripts compare Orbida with, built beside it: a bare Qt window of the same size
# whose only job is a label showing the pointer position, and the frame counter that reads the
# Xvfb frame buffer. Sets $bare and $frame_counter; builds them with CMake when missing.
find_baseline() {
    local build=$1
    bare=$build/bench/bare_window frame_counter=$build/bench/frame_counter
    if [[ ! -x $bare || ! -x $frame_counter ]]; then
        cmake --build "$build" --target bare_window frame_counter >/dev/null ||
            die "could not build the baseline in $build (configure with -DORBIDA_BUILD_BENCH=ON)"
    fi
}

# Minimum, median and maximum of the numbers given, one line.
min_median_max() {
    printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[1], v[int((NR + 1) / 2)], v[NR]}'
}

# The ratios, run by run, of two lists of figures taken side by side ("1.2 1.3" and "0.6 0.5"
# give "2.00 2.60"), two decimals each.
pair_ratios() {
    local -a a b
    local i
    read -r -a a <<<"$1"
    read -r -a b <<<"$2"
    for ((i = 0; i < ${#a[@]}; i++)); do
        awk -v x="${a[i]}" -v y="${b[i]}" 'BEGIN {printf "%.2f ", x / y}'
    done
}

# Waits up to 10 s for the main window of the program launched as PID; sets $wid. Exits 2 when
# the process ends first or no window comes.
wait_for_window() {
    wid=
    for _ in $(seq 200); do
        wid=$(orbida_window || true)
        [[ -n $wid ]] && break
        kill -0 "$1" 2>/dev/null || die "the program exited: $(cat "$work/program.log")"
        sleep 0.05
    done
    [[ -n $wid ]] || die "no Orbida window after 10 s"
}

# Screen position of window $wid, in $win_x and $win_y; fails when the window is gone.
window_position() {
    local geometry
    geometry=$(xwininfo -id "$wid") || return
    win_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
    win_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
}

# The process that owns window $wid: the one launched as PID, or the program behind it when PID
# is a launcher that did not exec.
window_pid() {
    xdotool getwindowpid "$wid" 2>/dev/null || echo "$1"
}
