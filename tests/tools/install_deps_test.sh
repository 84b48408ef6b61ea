#!/usr/bin/env bash
# tools/install-deps.sh against fake dpkg-query, apt-get, id and sudo: which packages each level
# asks for, how apt-get is reached (as root, through sudo, or not at all), and what a user
# without sudo is told. Usage: install_deps_test.sh path/to/install-deps.sh
set -uo pipefail

script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/sudo-bin"
ln -s "$(command -v env)" "$work/bin/env"

# Installed packages come from $FAKE_INSTALLED; every apt-get run is logged with the
# DEBIAN_FRONTEND it saw. sudo, like the real one with env_reset, drops DEBIAN_FRONTEND.
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/bin/sh
for p; do :; done
case " $FAKE_INSTALLED " in *" $p "*) printf 'install ok installed' ;; *) exit 1 ;; esac
FAKE
cat >"$work/bin/apt-get" <<'FAKE'
#!/bin/sh
echo "frontend=${DEBIAN_FRONTEND:-} apt-get $*" >>"$FAKE_LOG"
FAKE
cat >"$work/bin/id" <<'FAKE'
#!/bin/sh
echo "$FAKE_UID"
FAKE
cat >"$work/sudo-bin/sudo" <<'FAKE'
#!/bin/sh
[ -z "$FAKE_SUDO_REFUSES" ] || { echo "user is not in the sudoers file" >&2; exit 1; }
exec env -u DEBIAN_FRONTEND "$@"
FAKE
chmod +x "$work"/bin/* "$work"/sudo-bin/*

failures=0
# level | uid | sudo (yes, no, refuses) | installed | expected status
#   | words the apt-get log must hold | words it must not hold | words stderr must hold
cases=(
    "build|1000|yes||0|frontend=noninteractive apt-get install qt6-base-dev fonts-liberation|libgtest-dev libbenchmark-dev file|"
    "test|1000|yes||0|libgtest-dev libgmock-dev libbenchmark-dev libhamlib-utils hamradio-files golang-github-k0swe-wsjtx-go-dev xvfb|lintian|"
    "package|0|no||0|frontend=noninteractive apt-get install dpkg-dev file scdoc|libgtest-dev|"
    "package-smoke|0|no||0|dpkg-dev file scdoc lintian appstream desktop-file-utils|libgtest-dev|"
    "build|1000|no||1||apt-get|sudo apt-get install --no-install-recommends cmake qt6-base-dev"
    "build|1000|refuses||1|||sudoers apt-get install --no-install-recommends cmake"
    "build|1000|no|cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev fonts-liberation|0||apt-get|"
    "build|0|no|cmake ninja-build|0|g++|cmake ninja-build|"
)
for c in "${cases[@]}"; do
    IFS='|' read -r level uid sudo installed want_status want_log not_log want_err <<<"$c"
    : >"$work/log"
    path=$work/bin
    [[ $sudo == no ]] || path=$path:$work/sudo-bin
    FAKE_SUDO_REFUSES=$([[ $sudo == refuses ]] && echo 1) FAKE_UID=$uid \
        FAKE_INSTALLED=$installed FAKE_LOG=$work/log PATH=$path \
        "$BASH" "$script" "$level" >"$work/out" 2>"$work/err"
    status=$?
    log=$(<"$work/log") err=$(<"$work/err")
    problems=()
    ((status == want_status)) || problems+=("status $status, expected $want_status")
    for w in $want_log; do [[ " $log " == *[\ =]"$w "* ]] || problems+=("apt-get log lacks '$w'"); done
    for w in $not_log; do [[ " $log " != *" $w "* ]] || problems+=("apt-get log holds '$w'"); done
    for w in $want_err; do [[ $err == *"$w"* ]] || problems+=("stderr lacks '$w'"); done
    if ((${#problems[@]})); then
        failures=$((failures + 1))
        echo "FAIL: level=$level uid=$uid sudo=$sudo installed='$installed'"
        printf '  %s\n' "${problems[@]}"
        echo "  apt-get log: $log"
        echo "  stderr: $err"
    fi
done
echo "$((${#cases[@]} - failures)) of ${#cases[@]} cases passed"
((failures == 0))
