#!/usr/bin/env bash
# CPU used by Orbida while the pointer rests and while it sweeps the map, under Xvfb.
#
# Usage: tools/measure-cpu.sh [program]      (default: out/build/default/app/orbida)
#
# Starts a private Xvfb (a free display number chosen by Xvfb itself) with openbox when present,
# starts the program, then measures three 10-second phases:
#   (a) pointer still over the map, (b) pointer still outside the window,
#   (c) pointer sweeping the map with 125 motion events a second.
# Only the program's own process is counted: utime + stime from /proc/<pid>/stat over the phase,
# as a share of one core. /proc/<pid>/task/*/schedstat (nanoseconds on the CPU) is printed beside
# it as a finer cross-check, since stat counts whole clock ticks (10 ms).
# The sweep is one long-lived xdotool command line (moves separated by xdotool's own sleep), paced
# from a one-second warm-up sweep, so that no process is spawned per event; xdotool's own cost is
# not in the figure.
# After the sweep the screen is checked: Xvfb keeps its frame buffer in a file (-fbdir), so the
# script reads pixels straight from it and checks that the crosshair (one black pixel column 6 px
# left of the pointer, one black row 25 px above it) stands where the last sweep position and a few
# probe positions put it, and how long each probe took to appear.
# Budgets: still < 0.5 % of one core, sweeping < 10 %. Exits 1 when one is missed or the screen
# check fails, 2 when the measurement itself could not run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=${1:-$repo/out/build/default/app/orbida}
if [[ $program != */* ]]; then
    program=$(command -v "$program" || echo "$program")
fi
program=$(realpath -e "$program" 2>/dev/null) || {
    echo "measure-cpu: program not found: ${1:-$repo/out/build/default/app/orbida}" >&2
    exit 2
}
for tool in Xvfb xdotool xwininfo od awk; do
    command -v "$tool" >/dev/null || {
        echo "measure-cpu: $tool is missing (tools/install-deps.sh test)" >&2
        exit 2
    }
done

readonly still_budget=0.5 sweep_budget=10 phase_seconds=10 sweep_rate=125
readonly map_x=16 map_y=48 map_w=642 map_h=321 # the map widget, window-relative
readonly line_dx=-6 line_dy=-25                 # crosshair lines relative to the pointer

work=$(mktemp -d "${TMPDIR:-/tmp}/orbida-cpu.XXXXXX")
started=()

# Ends a process started here: SIGTERM (and SIGCONT, should it be stopped), SIGKILL after 2 s.
end_process() {
    local n
    kill "$1" 2>/dev/null || return 0
    kill -CONT "$1" 2>/dev/null || true
    for ((n = 0; n < 40; n++)); do
        kill -0 "$1" 2>/dev/null || break
        [[ $(awk '{sub(/.*\) /, ""); print $1}' "/proc/$1/stat" 2>/dev/null) == Z ]] && break
        sleep 0.05
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    local i
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        end_process "${started[i]}"
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "measure-cpu: stopped by SIGINT" >&2; exit 130' INT
trap 'echo "measure-cpu: stopped by SIGTERM" >&2; exit 143' TERM

die() {
    echo "measure-cpu: $*" >&2
    exit 2
}

# --- X session -----------------------------------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -br -fbdir "$work" \
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
if command -v openbox >/dev/null; then
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    started+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
fi

# Frame buffer file: XWD header, colour map, then rows of 32-bit pixels (B, G, R, unused).
fb=$work/Xvfb_screen0
read -r -a head <<<"$(od -An -tu4 --endian=big -w80 -N 80 -v "$fb")"
fb_bpp=${head[11]} fb_stride=${head[12]}
fb_data=$((head[0] + head[19] * 12))
((fb_bpp == 32)) || die "unexpected frame buffer depth: $fb_bpp bits per pixel"

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

# Microseconds since the epoch, in $now (no subprocess; either decimal separator).
clock() {
    local t=$EPOCHREALTIME
    now=$((${t%[.,]*} * 1000000 + 10#${t#*[.,]}))
}

# Polls the frame buffer until the crosshair for window-relative (px, py) shows, for at most
# `limit` ms. False on timeout.
wait_crosshair() {
    local start
    clock
    start=$now
    while :; do
        if crosshair_at "$1" "$2"; then
            return 0
        fi
        clock
        ((now - start < $3 * 1000)) || break
    done
    return 1
}

# --- the program ---------------------------------------------------------------------------------
"$program" >"$work/program.log" 2>&1 &
started+=($!)
launched=$!
wid=
for _ in $(seq 200); do
    wid=$(xdotool search --onlyvisible --name '^  ORBIDA$' 2>/dev/null | head -1 || true)
    [[ -n $wid ]] && break
    kill -0 "$launched" 2>/dev/null || die "the program exited: $(cat "$work/program.log")"
    sleep 0.05
done
[[ -n $wid ]] || die "no Orbida window after 10 s"
pid=$(xdotool getwindowpid "$wid" 2>/dev/null || echo "$launched")
[[ $pid == "$launched" ]] || started+=("$pid") # behind a launcher that did not exec
geometry=$(xwininfo -id "$wid")
win_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
win_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
sleep 1

clk_tck=$(getconf CLK_TCK)
cpu_ticks() {
    local s
    s=$(<"/proc/$pid/stat") || die "the program is gone"
    s=${s##*) }
    read -r -a f <<<"$s"
    echo $((f[11] + f[12])) # utime and stime, fields 14 and 15 of the line
}
cpu_ns() {
    cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s}'
}

# Phase bookkeeping: begin_phase, then end_phase "label" budget.
begin_phase() {
    clock
    t0=$now c0=$(cpu_ticks) n0=$(cpu_ns)
}
failed=0
end_phase() {
    local c1 n1 line
    clock
    c1=$(cpu_ticks) n1=$(cpu_ns)
    line=$(awk -v us="$((now - t0))" -v c="$((c1 - c0))" -v n="$((n1 - n0))" \
        -v hz="$clk_tck" -v budget="$2" -v label="$1" 'BEGIN {
            el = us / 1e6; pct = 100 * c / hz / el; fine = 100 * n / 1e9 / el
            printf "%-34s %6.2f %% of one core  (schedstat %.3f %%, %.1f s)  budget < %s %%  %s\n",
                   label, pct, fine, el, budget, (pct < budget ? "ok" : "OVER BUDGET")
        }')
    echo "$line"
    [[ $line == *"OVER BUDGET"* ]] && failed=1
    return 0
}

# xdotool arguments for `count` moves over the map starting at step `first`, `pause` apart.
sweep_args() {
    awk -v first="$1" -v count="$2" -v pause="$3" -v wx="$((win_x + map_x))" \
        -v wy="$((win_y + map_y))" 'BEGIN {
            for (i = first; i < first + count; i++) {
                print "mousemove"; print wx + 30 + (i * 7) % 580; print wy + 30 + (i * 3) % 260
                print "sleep"; print pause
            }
        }'
}

echo "Orbida CPU use: $program (pid $pid, display $DISPLAY, window at $win_x,$win_y)"

# (a) still over the map
xdotool mousemove $((win_x + map_x + 300)) $((win_y + map_y + 150))
sleep 1
begin_phase
sleep "$phase_seconds"
end_phase "pointer still over the map" "$still_budget"

# (b) still outside the window
xdotool mousemove 5 5
sleep 1
begin_phase
sleep "$phase_seconds"
end_phase "pointer still outside the window" "$still_budget"

# (c) sweeping: a one-second warm-up at the nominal pause tells how long xdotool takes per move,
# the measured sweep then uses the pause that keeps 125 moves a second.
nominal=$(awk -v r="$sweep_rate" 'BEGIN {printf "%.4f", 1 / r}')
mapfile -t args < <(sweep_args 0 "$sweep_rate" "$nominal")
clock
w0=$now
xdotool "${args[@]}"
clock
pause=$(awk -v r="$sweep_rate" -v el="$(((now - w0) / 1000))e-3" \
    -v p="$nominal" 'BEGIN { q = p - (el / r - p); if (q < 0.0005) q = 0.0005; printf "%.4f", q }')
moves=$((sweep_rate * phase_seconds))
mapfile -t args < <(sweep_args "$sweep_rate" "$moves" "$pause")
begin_phase
xdotool "${args[@]}"
clock
rate=$(awk -v m="$moves" -v us="$((now - t0))" 'BEGIN {printf "%.1f", m / us * 1e6}')
end_phase "pointer sweeping ($rate moves/s)" "$sweep_budget"

# Every motion on screen: the crosshair stands where the sweep's last move put it, and each probe
# move shows within 100 ms (the time includes starting xdotool).
last=$((sweep_rate + moves - 1))
lx=$((30 + (last * 7) % 580 + map_x)) ly=$((30 + (last * 3) % 260 + map_y))
screen_ok=1
if wait_crosshair "$lx" "$ly" 100; then
    echo "screen: crosshair at the sweep's last position ($lx,$ly)            ok"
else
    echo "screen: crosshair NOT at the sweep's last position ($lx,$ly) after 100 ms"
    screen_ok=0
fi
worst=0
for probe in "100 80" "520 300" "330 200" "60 280" "600 60"; do
    read -r px py <<<"$probe"
    px=$((px + map_x)) py=$((py + map_y))
    clock
    s=$now
    xdotool mousemove $((win_x + px)) $((win_y + py))
    if wait_crosshair "$px" "$py" 1000; then
        clock
        ms=$(((now - s) / 1000))
        ((ms > worst)) && worst=$ms
        ((ms <= 100)) || {
            echo "screen: probe at ($px,$py) shown only after $ms ms"
            screen_ok=0
        }
    else
        echo "screen: probe at ($px,$py) not shown after 1 s"
        screen_ok=0
    fi
done
((screen_ok)) && echo "screen: 5 probe moves each shown within $worst ms (xdotool start included)   ok"

if ((failed || !screen_ok)); then
    echo "RESULT: FAIL"
    exit 1
fi
echo "RESULT: within budget"
