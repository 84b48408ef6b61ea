#!/usr/bin/env bash
# CPU used by Orbida while the pointer rests and while it sweeps the map, under Xvfb.
#
# Usage: tools/measure-cpu.sh [--rotator] [--stations] [program]
#                                                         (default: out/build/default/app/orbida)
#
# --rotator: the program follows a rotator all along, Hamlib's dummy one (`rotctld -m 1`, started
# here on a free loopback port and given to the program with --rotator), so that the figures
# include reading its azimuth twice a second.
# --stations: the program listens to WSJT-X (--wsjtx on a free port) and, after the other phases,
# receives 200 decodes a second of distinct stations for a minute from the tests' sender
# (tests/wsjtx_send, built beside the program): the share of one core while they arrive, then a
# sweep of the map while they go on, beside the sweep without them, and the crosshair's answer.
#
# Starts a private Xvfb (a free display number chosen by Xvfb itself) with openbox when present,
# starts the program, then measures four 10-second phases:
#   (a) pointer still over the map, (b) pointer still outside the window,
#   (c) pointer sweeping the map with 125 motion events a second, (d) the same with 500 a second,
#   faster than the screen refreshes, so that several moves fall into one frame.
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
# Then, side by side in the same Xvfb, three rounds of: Orbida, then a bare Qt window of the same
# size whose only job is a label showing the pointer position (bench/bare_window, built with CMake
# when missing), each swept for 5 s at 125 and at 500 moves a second. For each sweep the CPU of
# the process (schedstat) is divided by the frames it put on screen, counted by bench/frame_counter
# from a strip of the frame buffer every 0.5 ms (a map row the crosshair crosses; the label's row).
# Printed: milliseconds of CPU per painted frame for both, min / median / max over the rounds, and
# the ratio of the two, against the target (at most 1.5 times the bare window); and, for
# information, the share of one core over the whole sweep and its ratio (Orbida paints at most
# once per screen refresh, the bare window once per move, so per frame and per second differ).
# Budgets: still < 0.5 % of one core, sweeping < 10 % at either rate. Exits 1 when one is missed or the screen
# check fails, 2 when the measurement itself could not run. The side-by-side ratios are printed
# for information and do not change the exit status: on a shared machine they are noisy.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
with_rotator=0 with_stations=0
while [[ ${1:-} == --rotator || ${1:-} == --stations ]]; do
    [[ $1 == --rotator ]] && with_rotator=1
    [[ $1 == --stations ]] && with_stations=1
    shift
done
# shellcheck source-path=SCRIPTDIR source=xvfb-session.sh
. "$(dirname "$0")/xvfb-session.sh"
session_name=measure-cpu
resolve_program "${1:-$repo/out/build/default/app/orbida}"
require_tools Xvfb xdotool xwininfo od awk

readonly still_budget=0.5 sweep_budget=10 phase_seconds=10 sweep_rates="125 500"
readonly compare_rounds=3 compare_seconds=5 ratio_target=1.5
find_baseline "${ORBIDA_BUILD_DIR:-$(dirname "$(dirname "$program")")}"

session_begin cpu
start_x_session

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

# --- the dummy rotator ---------------------------------------------------------------------------
program_args=()
if ((with_rotator)); then
    require_tools rotctld
    # A port that is free: rotctld ends at once when it cannot listen on the one it is given.
    rotator_port=
    for _ in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 40000))
        rotctld -m 1 -T 127.0.0.1 -t "$port" >"$work/rotctld.log" 2>&1 &
        rotctld_pid=$!
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            sleep 0.1
            kill -0 "$rotctld_pid" 2>/dev/null || break
            if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
                rotator_port=$port
                break 2
            fi
        done
        kill "$rotctld_pid" 2>/dev/null || true
    done
    [[ -n $rotator_port ]] || die "rotctld -m 1 could not be started on a free port"
    started+=("$rotctld_pid")
    program_args=(--rotator "127.0.0.1:$rotator_port")
fi

if ((with_stations)); then
    sender=$(dirname "$(dirname "$program")")/tests/wsjtx_send
    [[ -x $sender ]] || die "no $sender: build the tests first (cmake --build --preset default)"
    wsjtx_port=$((40000 + RANDOM % 20000))
    program_args+=(--wsjtx "$wsjtx_port")
fi

# --- the program ---------------------------------------------------------------------------------
"$program" "${program_args[@]}" >"$work/program.log" 2>&1 &
started+=($!)
launched=$!
wait_for_window "$launched"
pid=$(window_pid "$launched")
[[ $pid == "$launched" ]] || started+=("$pid") # behind a launcher that did not exec
window_position
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
    # %.0f, not %d: mawk's %d stops at 2^31 - 1 ns, about 2.1 s of CPU.
    cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f", s}'
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
    # The phase's share of one core from schedstat, for comparisons.
    last_share=$(awk -v us="$((now - t0))" -v n="$((n1 - n0))" 'BEGIN {printf "%.3f", 100 * n / 1e9 / (us / 1e6)}')
    return 0
}

# xdotool arguments for `count` moves over the map starting at step `first`, `pause` apart. The
# moves cover 580 x 260 pixels from (sweep_x, sweep_y): the flat map's, unless set otherwise.
sweep_x='' sweep_y=''
sweep_args() {
    awk -v first="$1" -v count="$2" -v pause="$3" -v wx="${sweep_x:-$((win_x + map_x))}" \
        -v wy="${sweep_y:-$((win_y + map_y))}" 'BEGIN {
            for (i = first; i < first + count; i++) {
                print "mousemove"; print wx + 30 + (i * 7) % 580; print wy + 30 + (i * 3) % 260
                print "sleep"; print pause
            }
        }'
}

echo "Orbida CPU use: $program (pid $pid, display $DISPLAY, window at $win_x,$win_y)"
if ((with_rotator)); then
    echo "with the dummy rotator of rotctld -m 1 on 127.0.0.1:$rotator_port"
fi

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

# (c), (d) sweeping: two one-second warm-ups tell how long xdotool takes per move beyond its
# pause, the measured sweep then uses the pause that keeps the rate (xdotool's own time is a
# larger share of each move at 500 a second). Each sweep goes on from the step where the last one
# stopped; `step` is the next one.
step=0
sweep_phase() {
    local rate=$1 nominal pause moves w0 round
    nominal=$(awk -v r="$rate" 'BEGIN {printf "%.4f", 1 / r}')
    pause=$nominal
    for round in 1 2; do
        mapfile -t args < <(sweep_args "$step" "$rate" "$pause")
        step=$((step + rate))
        clock
        w0=$now
        xdotool "${args[@]}"
        clock
        pause=$(awk -v r="$rate" -v el="$(((now - w0) / 1000))e-3" -v p="$nominal" -v q="$pause" \
            'BEGIN { q -= el / r - p; if (q < 0.0005) q = 0.0005; printf "%.4f", q }')
    done
    moves=$((rate * phase_seconds))
    mapfile -t args < <(sweep_args "$step" "$moves" "$pause")
    step=$((step + moves))
    begin_phase
    xdotool "${args[@]}"
    clock
    rate=$(awk -v m="$moves" -v us="$((now - t0))" 'BEGIN {printf "%.1f", m / us * 1e6}')
    end_phase "${2:-pointer sweeping} ($rate moves/s)" "$sweep_budget"
}
declare -A flat_share=()
for r in $sweep_rates; do
    sweep_phase "$r"
    flat_share[$r]=$last_share
done

# Every motion on screen: the crosshair stands where the sweep's last move put it, and each probe
# move shows within 100 ms (the time includes starting xdotool).
last=$((step - 1))
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

# (e) the azimuthal map, opened beside the window at 600 x 600 and swept like the flat map: each
# move redraws the lines and marks that moved, never the world under them. Its CPU at each rate,
# against the flat map's sweep at the same rate (schedstat shares, printed for information).
# The window has had the keyboard since it opened (a click on its bare surface would start a
# drag instead, which takes the keyboard until it ends).
xdotool mousemove $((win_x + map_x + 300)) $((win_y + map_y + 150))
xdotool windowactivate --sync "$wid"
sleep 0.3
xdotool key ctrl+shift+a
disc_wid=""
for _ in $(seq 50); do
    disc_wid=$(xdotool search --onlyvisible --name "carte azimutale" 2>/dev/null | head -n 1 || true)
    [[ -n $disc_wid ]] && break
    sleep 0.1
done
if [[ -n $disc_wid ]]; then
    xdotool windowsize --sync "$disc_wid" 600 600 windowmove --sync "$disc_wid" 0 0 \
        windowactivate --sync "$disc_wid" windowraise "$disc_wid"
    sleep 1
    disc_x=$(xwininfo -id "$disc_wid" | sed -n 's/.*Absolute upper-left X: *//p')
    disc_y=$(xwininfo -id "$disc_wid" | sed -n 's/.*Absolute upper-left Y: *//p')
    sweep_x=$((disc_x + 10)) sweep_y=$((disc_y + 170))
    for r in $sweep_rates; do
        sweep_phase "$r" "azimuthal map swept"
        printf '    against the flat map at %s moves/s: %s %% / %s %% of one core, ratio %s\n' "$r" \
            "$last_share" "${flat_share[$r]}" \
            "$(awk -v a="$last_share" -v b="${flat_share[$r]}" 'BEGIN {printf "%.2f", a / b}')"
    done
    sweep_x='' sweep_y=''
    xdotool key ctrl+shift+a
    sleep 0.5
else
    echo "azimuthal map: its window did not open"
    failed=1
fi

# (f) 200 decodes a second for a minute: the share of one core while they arrive with the
# pointer still, then a sweep at 125 moves a second while they go on, beside the flat sweep
# without them, and the crosshair's answer to a probe move.
if ((with_stations)); then
    "$sender" "$wsjtx_port" 12000 200 &
    load=$!
    started+=("$load")
    sleep 1
    xdotool mousemove $((win_x + map_x + 300)) $((win_y + map_y + 150))
    begin_phase
    sleep 48
    end_phase "200 decodes/s, pointer still" 100
    sweep_x='' sweep_y=''
    sweep_phase 125 "200 decodes/s, sweeping"
    printf '    against the sweep without decodes: %s %% / %s %% of one core, ratio %s\n' \
        "$last_share" "${flat_share[125]:-?}" \
        "$(awk -v a="$last_share" -v b="${flat_share[125]:-0}" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "?"}')"
    xdotool mousemove $((win_x + 420)) $((win_y + 210))
    if wait_crosshair 420 210 100; then
        echo "screen: under the load, a probe move shown within 100 ms   ok"
    else
        echo "screen: under the load, a probe move NOT shown within 100 ms"
        failed=1
    fi
    wait "$load" 2>/dev/null || true
fi

# --- side by side with the bare Qt window -------------------------------------------------------
end_process "$pid"
[[ $pid == "$launched" ]] || end_process "$launched"

# One measured sweep at `rate` moves/s of the window now shown, its frames counted on the strip of
# `strip_bytes` bytes at `strip_offset` in the frame buffer. Sets $sweep_ms (CPU per frame, ms)
# and $sweep_fps.
compare_sweep() {
    local rate=$1 nominal pause moves w0 round n0 n1 frames us
    nominal=$(awk -v r="$rate" 'BEGIN {printf "%.4f", 1 / r}')
    pause=$nominal
    for round in 1 2; do
        mapfile -t args < <(sweep_args "$step" "$((rate / 2))" "$pause")
        step=$((step + rate / 2))
        clock
        w0=$now
        xdotool "${args[@]}"
        clock
        pause=$(awk -v r="$((rate / 2))" -v el="$(((now - w0) / 1000))e-3" -v p="$nominal" \
            -v q="$pause" 'BEGIN { q -= el / r - p; if (q < 0.0005) q = 0.0005; printf "%.4f", q }')
    done
    moves=$((rate * compare_seconds))
    mapfile -t args < <(sweep_args "$step" "$moves" "$pause")
    step=$((step + moves))
    "$frame_counter" "$fb" "$strip_offset" "$strip_bytes" "$((compare_seconds + 1))" >"$work/frames" &
    local counter=$!
    sleep 0.05
    clock
    t0=$now
    n0=$(cpu_ns)
    xdotool "${args[@]}"
    n1=$(cpu_ns)
    clock
    us=$((now - t0))
    wait "$counter"
    frames=$(<"$work/frames")
    ((frames > 0)) || die "no frame counted during the sweep at $rate moves/s"
    sweep_ms=$(awk -v n="$((n1 - n0))" -v f="$frames" 'BEGIN {printf "%.3f", n / 1e6 / f}')
    sweep_fps=$(awk -v f="$frames" -v us="$us" 'BEGIN {printf "%.0f", f / us * 1e6}')
    sweep_share=$(awk -v n="$((n1 - n0))" -v us="$us" 'BEGIN {printf "%.2f", n / 10 / us}')
}

declare -A per_frame fps share
# Starts `exe` whose window is titled `title`, sweeps it at each rate, stops it. `row` and `x0`,
# `width`: the counted strip, window-relative.
compare_round() {
    local name=$1 exe=$2 title=$3 row=$4 x0=$5 width=$6 rate
    window_title=$title
    "$exe" >"$work/program.log" 2>&1 &
    launched=$!
    app=$launched # ended at exit should the run stop here
    wait_for_window "$launched"
    pid=$(window_pid "$launched")
    window_position
    sleep 1
    strip_offset=$((fb_data + (win_y + row) * fb_stride + (win_x + x0) * 4))
    strip_bytes=$((width * 4))
    for rate in $sweep_rates; do
        compare_sweep "$rate"
        per_frame[${name}_$rate]+=" $sweep_ms"
        fps[${name}_$rate]+=" $sweep_fps"
        share[${name}_$rate]+=" $sweep_share"
    done
    end_process "$pid"
    [[ $pid == "$launched" ]] || end_process "$launched"
    app=
    xdotool mousemove 5 5
    sleep 0.5
}

echo
echo "Side by side with a bare Qt window ($bare), $compare_rounds rounds of $compare_seconds s a sweep:"
for ((round = 1; round <= compare_rounds; round++)); do
    compare_round orbida "$program" '^  ORBIDA$' $((map_y + 150)) "$map_x" "$map_w"
    compare_round bare "$bare" '^  BARE QT$' 384 136 193
done
# Min, median and max of Orbida's figures, of the bare window's, and of their run-by-run ratios,
# one line, from the two lists of figures.
side_by_side() {
    local -a o b ratios
    read -r -a o <<<"$1"
    read -r -a b <<<"$2"
    read -r -a ratios <<<"$(pair_ratios "$1" "$2")"
    echo "$(min_median_max "${o[@]}") $(min_median_max "${b[@]}") $(min_median_max "${ratios[@]}")"
}
for rate in $sweep_rates; do
    read -r omin omed omax bmin bmed bmax rmin rmed rmax < <(
        side_by_side "${per_frame[orbida_$rate]}" "${per_frame[bare_$rate]}")
    read -r -a of <<<"${fps[orbida_$rate]}"
    read -r -a bf <<<"${fps[bare_$rate]}"
    verdict=$(awk -v r="$rmed" -v t="$ratio_target" 'BEGIN {print (r <= t ? "ok" : "OVER TARGET")}')
    printf 'CPU per painted frame at %3d moves/s: Orbida %s / %s / %s ms (%s frames/s), bare Qt %s / %s / %s ms (%s frames/s)\n' \
        "$rate" "$omin" "$omed" "$omax" "${of[*]}" "$bmin" "$bmed" "$bmax" "${bf[*]}"
    printf '    ratio min %s  median %s  max %s   target <= %s   %s\n' "$rmin" "$rmed" "$rmax" "$ratio_target" "$verdict"
    # For information: the whole sweep's CPU. Orbida paints at most once per screen refresh and
    # gathers the moves in between; the bare window paints every move.
    read -r omin omed omax bmin bmed bmax rmin rmed rmax < <(
        side_by_side "${share[orbida_$rate]}" "${share[bare_$rate]}")
    printf '    whole sweep: Orbida %s / %s / %s %% of one core, bare Qt %s / %s / %s %%, ratio min %s  median %s  max %s\n' \
        "$omin" "$omed" "$omax" "$bmin" "$bmed" "$bmax" "$rmin" "$rmed" "$rmax"
done

if ((failed || !screen_ok)); then
    echo "RESULT: FAIL"
    exit 1
fi
echo "RESULT: within budget"
