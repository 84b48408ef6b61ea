#!/usr/bin/env bash
# Memory the azimuthal map costs: the program's resident set (VmRSS and, from smaps_rollup, its
# proportional share Pss) with the map closed, then open at 1000 x 1000 pixels with the pointer
# and the grey line over it, then closed again, under Xvfb with openbox.
#
# Usage: tools/measure-disc-memory.sh [program]      (default: out/build/default/app/orbida)
#
# The first figure is the baseline: the others are printed as differences from it, against the
# target (at most 25 MB more while open; closed again, the window and its pictures are gone, so
# that what stays is what the allocator keeps). Three rounds, min / median / max. Exits 1 when the
# open window's median is over the target, 2 when the measurement could not run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source-path=SCRIPTDIR source=xvfb-session.sh
. "$(dirname "$0")/xvfb-session.sh"
session_name=measure-disc-memory
resolve_program "${1:-$repo/out/build/default/app/orbida}"
require_tools Xvfb xdotool xwininfo awk

readonly rounds=3 target_mb=25
session_begin disc-memory
start_x_session

rss_kb() { vm_rss_kb "$pid"; }
pss_kb() { awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup"; }
settle() { sleep 2; }

declare -a open_rss=() open_pss=() closed_rss=()
for ((round = 1; round <= rounds; round++)); do
    mkdir -p "$work/home$round"
    HOME=$work/home$round XDG_CONFIG_HOME=$work/home$round/.config \
        "$program" --time 2026-12-21T12:00Z >"$work/program.log" 2>&1 &
    launched=$!
    app=$launched
    wait_for_window "$launched"
    pid=$(window_pid "$launched")
    window_position
    xdotool mousemove $((win_x + map_x + 300)) $((win_y + map_y + 150))
    settle
    base_rss=$(rss_kb) base_pss=$(pss_kb)

    xdotool key ctrl+g ctrl+shift+a
    disc=""
    for _ in $(seq 50); do
        disc=$(xdotool search --onlyvisible --name "carte azimutale" 2>/dev/null | head -n 1 || true)
        [[ -n $disc ]] && break
        sleep 0.1
    done
    [[ -n $disc ]] || die "the azimuthal map's window did not open"
    xdotool windowsize --sync "$disc" 1000 1000 windowmove --sync "$disc" 0 0 \
        windowactivate --sync "$disc" windowraise "$disc"
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((100 * step)) $((90 * step + 50))
        sleep 0.1
    done
    settle
    open_rss+=($(($(rss_kb) - base_rss)))
    open_pss+=($(($(pss_kb) - base_pss)))

    xdotool key ctrl+shift+a
    settle
    closed_rss+=($(($(rss_kb) - base_rss)))
    echo "round $round: baseline $((base_rss / 1024)) MB resident; open +${open_rss[-1]} kB" \
        "(Pss +${open_pss[-1]} kB); closed again +${closed_rss[-1]} kB"
    end_process "$launched"
    app=
done

mb() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1024}'; }
summary() {
    local -a sorted
    mapfile -t sorted < <(printf '%s\n' "$@" | sort -n)
    echo "$(mb "${sorted[0]}") / $(mb "${sorted[$(((${#sorted[@]} - 1) / 2))]}") / $(mb "${sorted[-1]}")"
}
echo "azimuthal map at 1000 x 1000, grey line on (min / median / max MB over the closed window):"
echo "  open:         resident $(summary "${open_rss[@]}")   Pss $(summary "${open_pss[@]}")   target < $target_mb MB"
echo "  closed again: resident $(summary "${closed_rss[@]}")"
median_open=$(printf '%s\n' "${open_rss[@]}" | sort -n | sed -n "$(((rounds + 1) / 2))p")
((median_open < target_mb * 1024)) || exit 1
