#!/usr/bin/env bash
# Plants one-line faults in a copy of the sources, one at a time, and runs the test suite against
# each: a fault that no test notices shows where the tests are blind.
#
#   tools/mutate.sh [--only PATTERN] [--list FILE] [--timeout SECONDS]
#
# Each line of the list (tools/mutations.txt) names a file, a text found exactly once in it and
# the text that replaces it, separated by " @@ ":
#
#   geodesy/distance.cpp @@ x > 0.0 ? 0.0 @@ x < 0.0 ? 0.0
#
# "\n" in a text stands for a line end, to reach a line that is not unique on its own; an empty
# replacement deletes the text. Blank lines and lines starting with "#" are skipped. The texts
# are matched literally, so the
# list survives edits elsewhere in the file; a text no longer found (or found more than once) is
# reported as stale and left out of the count. --only keeps the lines that contain PATTERN.
#
# The copy lives in out/mutate/ and keeps its build directory between runs, so each fault costs
# an incremental build. Per fault the script prints killed (a test failed or timed out), survived
# (every test passed), stale, or build-error (the fault does not compile: it tests nothing), and
# at the end the share of faults the tests killed.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
list="$repo/tools/mutations.txt"
only=""
timeout=300
while (($#)); do
    case "$1" in
    --only) only="$2"; shift 2 ;;
    --list) list="$2"; shift 2 ;;
    --timeout) timeout="$2"; shift 2 ;;
    -h | --help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
done

work="$repo/out/mutate"
src="$work/src"
build="$work/build"
log="$work/log"
mkdir -p "$src" "$build" "$log"
# The list is read from a copy: it can be edited while a run goes on.
cp "$list" "$work/mutations.txt"
list="$work/mutations.txt"

# The working tree as it stands (committed or not), copied over the previous copy. Only files
# whose content differs are written, so the build after it recompiles what changed and no more.
(cd "$repo" && git ls-files -co --exclude-standard -z) |
    while IFS= read -r -d '' f; do
        [[ -f "$repo/$f" ]] || continue
        if ! cmp -s "$repo/$f" "$src/$f"; then
            mkdir -p "$(dirname "$src/$f")"
            cp "$repo/$f" "$src/$f"
        fi
    done

build_tree() {
    nice -n 10 cmake --build "$build" >"$1" 2>&1
}
run_tests() {
    # Stops at the first failure: one is enough to kill the fault.
    QT_QPA_PLATFORM=offscreen timeout "$timeout" nice -n 10 \
        ctest --test-dir "$build" --stop-on-failure --timeout "$timeout" -j2 >"$1" 2>&1
}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORBIDA_BUILD_BENCH=OFF -DORBIDA_BUILD_FUZZ=OFF >"$log/configure.txt"
fi
echo "Building the unmodified copy in $build…"
if ! build_tree "$log/build-original.txt"; then
    tail -n 30 "$log/build-original.txt"
    echo "The unmodified sources do not build." >&2
    exit 1
fi
if ! run_tests "$log/test-original.txt"; then
    tail -n 30 "$log/test-original.txt"
    echo "The tests fail on the unmodified sources: fix them first." >&2
    exit 1
fi

# Puts the original file back, newer than the objects built from the fault so that the next
# build recompiles it.
current=""
restore() {
    if [[ -n "$current" ]]; then
        cp "$src/$current.orig" "$src/$current"
        rm -f "$src/$current.orig"
        touch "$src/$current"
        current=""
    fi
}
trap 'restore' EXIT
trap 'restore; exit 130' INT TERM

killed=0 survived=0 stale=0 broken=0 number=0
survivors=()
while IFS= read -r line || [[ -n "$line" ]]; do
    [[ -z "${line// /}" || "$line" == \#* ]] && continue
    [[ -n "$only" && "$line" != *"$only"* ]] && continue
    number=$((number + 1))
    [[ "$line" == *" @@" ]] && line+=" "  # an empty replacement
    file="${line%% @@ *}"
    rest="${line#* @@ }"
    original="${rest%% @@ *}"
    replacement="${rest#* @@ }"
    label="$file: $original → $replacement"
    if [[ "$rest" == "$line" || "$replacement" == "$rest" || ! -f "$src/$file" ]]; then
        printf '%3d stale        %s\n' "$number" "$label"
        stale=$((stale + 1))
        continue
    fi
    count=$(ORIGINAL="$original" perl -0777 -ne \
        '(my $o = $ENV{ORIGINAL}) =~ s/\\n/\n/g; print scalar(() = /\Q$o\E/g)' "$src/$file")
    if [[ "$count" != 1 ]]; then
        printf '%3d stale        %s (found %s times)\n' "$number" "$label" "$count"
        stale=$((stale + 1))
        continue
    fi

    current="$file"
    cp "$src/$file" "$src/$file.orig"
    ORIGINAL="$original" REPLACEMENT="$replacement" \
        perl -0777 -pi -e '(my $o = $ENV{ORIGINAL}) =~ s/\\n/\n/g;
            (my $r = $ENV{REPLACEMENT}) =~ s/\\n/\n/g; s/\Q$o\E/$r/' "$src/$file"
    if ! build_tree "$log/build-$number.txt"; then
        verdict="build-error"
        broken=$((broken + 1))
    elif run_tests "$log/test-$number.txt"; then
        verdict="SURVIVED"
        survived=$((survived + 1))
        survivors+=("$number $label")
    else
        verdict="killed"
        killed=$((killed + 1))
    fi
    restore
    printf '%3d %-12s %s\n' "$number" "$verdict" "$label"
done <"$list"

# Leaves the copy built from the original sources.
build_tree "$log/build-final.txt" || true

total=$((killed + survived))
echo
echo "stale: $stale, build errors: $broken"
if ((${#survivors[@]})); then
    echo "survivors:"
    printf '  %s\n' "${survivors[@]}"
fi
if ((total > 0)); then
    echo "killed $killed of $total ($((100 * killed / total)) %)"
else
    echo "killed 0 of 0"
fi
