#!/usr/bin/env bash
# tools/install-deps.sh against fake dpkg-query, apt-get, id and sudo and a fake system folder:
# which packages each level asks for, how apt-get is reached (as root, through sudo, or not at
# all), what a user without sudo is told, and what an Ubuntu without universe is told. Usage: install_deps_test.sh path/to/install-deps.sh
set -uo pipefail

script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/sudo-bin"
for tool in env grep sed head; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done

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

# The systems: their os-release and apt sources.
system() {
    mkdir -p "$work/$1/etc/apt/sources.list.d"
    printf 'ID=%s\nVERSION_CODENAME=%s\n' "$2" "$3" >"$work/$1/etc/os-release"
}
system debian debian bookworm
echo 'deb http://deb.debian.org/debian bookworm main' >"$work/debian/etc/apt/sources.list"
system ubuntu-main ubuntu noble
printf '# deb http://archive.ubuntu.com/ubuntu noble universe\ndeb [arch=amd64] http://ports.example/ubuntu noble main restricted\n' \
    >"$work/ubuntu-main/etc/apt/sources.list"
system ubuntu-deb822 ubuntu noble
printf 'Types: deb\nURIs: http://archive.ubuntu.com/ubuntu\nSuites: noble noble-updates\nComponents: main restricted universe\n' \
    >"$work/ubuntu-deb822/etc/apt/sources.list.d/ubuntu.sources"
system ubuntu-deb822-main ubuntu noble
sed 's/ universe$//' "$work/ubuntu-deb822/etc/apt/sources.list.d/ubuntu.sources" \
    >"$work/ubuntu-deb822-main/etc/apt/sources.list.d/ubuntu.sources"

failures=0
# system | level | uid | sudo (yes, no, refuses) | installed | expected status
#   | words the apt-get log must hold | words it must not hold | texts stderr must hold (split by ;)
cases=(
    "debian|build|1000|yes||0|frontend=noninteractive apt-get install qt6-base-dev fonts-liberation|libgtest-dev libbenchmark-dev file|"
    "debian|test|1000|yes||0|libgtest-dev libgmock-dev libbenchmark-dev libhamlib-utils hamradio-files golang-github-k0swe-wsjtx-go-dev xvfb|lintian|"
    "debian|package|0|no||0|frontend=noninteractive apt-get install dpkg-dev file scdoc|libgtest-dev|"
    "debian|package-smoke|0|no||0|dpkg-dev file scdoc lintian appstream desktop-file-utils|libgtest-dev|"
    "debian|build|1000|no||1||apt-get|sudo;apt-get update && apt-get install -y --no-install-recommends cmake ninja-build"
    "debian|build|1000|refuses||1|||sudoers;apt-get update && apt-get install -y --no-install-recommends cmake"
    "debian|build|1000|no|cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev fonts-liberation dpkg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n|0||apt-get|"
    "debian|build|0|no|cmake ninja-build|0|g++|cmake ninja-build|"
    "ubuntu-main|build|1000|yes||1||apt-get|run 'sudo add-apt-repository universe';'deb http://ports.example/ubuntu noble universe'"
    "ubuntu-deb822-main|test|0|no||1||apt-get|run 'add-apt-repository universe';'deb http://archive.ubuntu.com/ubuntu noble universe'"
    "ubuntu-deb822|build|1000|yes||0|frontend=noninteractive apt-get install qt6-base-dev||"
    "ubuntu-main|build|1000|no|cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev fonts-liberation dpkg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n|0||apt-get|"
)
for c in "${cases[@]}"; do
    IFS='|' read -r system level uid sudo installed want_status want_log not_log want_err <<<"$c"
    : >"$work/log"
    path=$work/bin
    [[ $sudo == no ]] || path=$path:$work/sudo-bin
    FAKE_SUDO_REFUSES=$([[ $sudo == refuses ]] && echo 1) FAKE_UID=$uid \
        FAKE_INSTALLED=$installed FAKE_LOG=$work/log INSTALL_DEPS_ROOT=$work/$system PATH=$path \
        "$BASH" "$script" "$level" >"$work/out" 2>"$work/err"
    status=$?
    log=$(<"$work/log") err=$(<"$work/err")
    problems=()
    ((status == want_status)) || problems+=("status $status, expected $want_status")
    for w in $want_log; do [[ " $log " == *[\ =]"$w "* ]] || problems+=("apt-get log lacks '$w'"); done
    for w in $not_log; do [[ " $log " != *" $w "* ]] || problems+=("apt-get log holds '$w'"); done
    IFS=';' read -r -a texts <<<"$want_err"
    for w in "${texts[@]}"; do [[ $err == *"$w"* ]] || problems+=("stderr lacks '$w'"); done
    # What an Ubuntu without universe needs is said in one line.
    [[ $system != ubuntu*main || $want_status == 0 || $err != *$'\n'* ]] ||
        problems+=("the universe hint takes more than one line")
    if ((${#problems[@]})); then
        failures=$((failures + 1))
        echo "FAIL: system=$system level=$level uid=$uid sudo=$sudo installed='$installed'"
        printf '  %s\n' "${problems[@]}"
        echo "  apt-get log: $log"
        echo "  stderr: $err"
    fi
done
echo "$((${#cases[@]} - failures)) of ${#cases[@]} cases passed"
((failures == 0))
