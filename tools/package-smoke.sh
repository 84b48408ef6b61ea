#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (no error and no warning allowed), installs it
# the way a user would (apt, which also pulls in its dependencies), validates the installed desktop entry and AppStream metadata, then runs the
# command of the menu entry under Xvfb and passes once the program's main window appears.
# The package stays installed afterwards. Needs root or sudo. Usage: tools/package-smoke.sh
set -euo pipefail
cd "$(dirname "$0")/.."

app_id=fr.orbida.Orbida
desktop=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/fr.orbida.orbida.metainfo.xml
window_title='  ORBIDA'

fail() {
    echo "package-smoke: $*" >&2
    exit 1
}

tools/install-deps.sh package-smoke
make --no-print-directory package PRESET=default

shopt -s nullglob
debs=(out/build/default/orbida_*.deb)
((${#debs[@]} == 1)) || fail "expected one orbida_*.deb in out/build/default, found ${#debs[@]}"
deb=${debs[0]}

echo "Checking $deb with lintian"
# lintian's own remarks (such as running as root) go to stderr; its findings are the E:, W:, I:,
# P: and N: lines of stdout. The hardening tags are only informational, but a binary built
# without Debian's hardening flags is a fault of this build.
findings=$(lintian --info --pedantic --fail-on none "$deb") || fail "lintian could not check $deb"
[[ -z $findings ]] || echo "$findings"
if grep -q '^[EW]: ' <<<"$findings"; then
    fail "lintian reports errors or warnings"
fi
if grep -q ' hardening-' <<<"$findings"; then
    fail "lintian reports a binary built without Debian's hardening flags"
fi

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# --reinstall: a package of the same version left by an earlier run is replaced by this build.
install=("${sudo[@]}" apt-get install -y -qq --no-install-recommends --reinstall "./$deb")
echo "Installing $deb"
if ! "${install[@]}"; then
    # A fresh system may not know the dependencies yet.
    "${sudo[@]}" apt-get update -qq
    "${install[@]}"
fi
version=$(dpkg-deb -f "$deb" Version)
[[ $(dpkg-query -W -f='${Status} ${Version}' orbida) == "install ok installed $version" ]] ||
    fail "orbida $version is not installed"
dpkg-query -W -f='Depends: ${Depends}\n' orbida

echo "Validating the desktop entry and the AppStream metadata"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
if grep -E ': (error|warning|hint):' <<<"$report"; then
    fail "desktop-file-validate reports problems"
fi
appstreamcli validate --pedantic --no-net "$metainfo"
# The metadata against the package's own tree: the desktop entry it launches must be there too.
tree=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$tree" "$log"' EXIT
dpkg-deb -x "$deb" "$tree"
appstreamcli validate-tree --no-net "$tree"

for size in 16x16 24x24 32x32 48x48 64x64 128x128 256x256; do
    [[ -f /usr/share/icons/hicolor/$size/apps/orbida.png ]] || fail "no $size icon"
done
[[ -f /usr/share/icons/hicolor/scalable/apps/orbida.svg ]] || fail "no scalable icon"
[[ -f /usr/lib/orbida/villes.txt ]] || fail "no villes.txt beside the program"

# The command of the menu entry, without its field codes, must reach the installed launcher.
command_line=$(sed -n 's/^Exec=//p' "$desktop")
command_line=${command_line//%[fFuUdDnNickvm]/}
read -r -a command_words <<<"$command_line"
[[ $(command -v "${command_words[0]}") == /usr/bin/orbida ]] ||
    fail "the menu entry's command '${command_words[0]}' is not /usr/bin/orbida"

echo "Starting '$command_line' under Xvfb"
# Run from / so that the program cannot be finding its city list in the working folder. The
# title is matched exactly: xdotool ignores letter case, and the message box the program shows
# when it cannot read its city list is titled "Orbida".
# shellcheck disable=SC2016  # expanded by the inner shell
check='
    cd /
    "$@" >"$LOG" 2>&1 &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$TITLE\$" | head -n 1) || true
    status=1
    if [[ -z $window ]]; then
        echo "package-smoke: no window titled \"$TITLE\" within 30 s" >&2
    elif [[ $(xdotool getwindowname "$window") != "$TITLE" ]]; then
        echo "package-smoke: the window is titled \"$(xdotool getwindowname "$window")\"" >&2
    elif [[ $(xdotool getwindowpid "$window") != "$pid" ]]; then
        echo "package-smoke: the window does not belong to the started process" >&2
    else
        sleep 1
        if kill -0 "$pid" 2>/dev/null; then
            echo "Window \"$TITLE\" shown by process $pid ($(readlink "/proc/$pid/exe"))"
            status=0
        else
            echo "package-smoke: the program stopped after showing its window" >&2
        fi
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    exit "$status"
'
if ! LOG=$log TITLE=$window_title xvfb-run -a -s '-screen 0 1280x1024x24' \
    bash -c "$check" smoke "${command_words[@]}"; then
    echo "--- program output ---" >&2
    cat "$log" >&2
    fail "the installed program did not start"
fi
echo "package-smoke: passed"
