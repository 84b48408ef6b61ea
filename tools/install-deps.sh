#!/usr/bin/env bash
# Installs the Debian packages Orbida needs, skipping those already present. Uses sudo when not
# run as root; without sudo it prints the apt-get line to run as root and fails.
#
# Usage: tools/install-deps.sh [build|test|package|package-smoke|ci]
#   build          the program alone (make run)
#   test           the tests and benchmarks too (make test)
#   package        the Debian package of the build (make package)
#   package-smoke  checking that package: lintian, the validators, a start under Xvfb
#   ci             everything above, plus clang for the fuzz targets and clang-format
set -euo pipefail

level=${1:-build}
case $level in
build | test | package | package-smoke | ci) ;;
*)
    echo "install-deps: unknown level '$level' (build, test, package, package-smoke or ci)" >&2
    exit 2
    ;;
esac

# The window uses Liberation Sans (fonts-liberation): every text it writes fits its label.
# dpkg-buildflags (dpkg-dev) gives the build Debian's hardening flags. The English translation is
# compiled with Qt's linguist tools (qt6-tools-dev, qt6-l10n-tools); Qt's own texts (the dialogs'
# buttons) come translated from qt6-translations-l10n.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libgl-dev fonts-liberation dpkg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
# The tests run rotctld (libhamlib-utils), read the country file of hamradio-files and the
# datagrams captured from WSJT-X that golang-github-k0swe-wsjtx-go-dev ships in its own tests,
# and send the tests' own datagrams to WSJT-X's reference receiver, udp_daemon of wsjtx (which
# brings Qt 5 and the sound libraries); the measurements and the checks under Xvfb drive a real X
# server with a window manager.
if [[ $level == test || $level == ci ]]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev libhamlib-utils hamradio-files
               golang-github-k0swe-wsjtx-go-dev wsjtx xvfb xauth xdotool x11-utils imagemagick openbox)
fi
# The Debian package: dpkg-shlibdeps (dpkg-dev), file (CPack's DEB generator runs it on every
# file) and scdoc for the manual page.
if [[ $level == package || $level == package-smoke || $level == ci ]]; then
    packages+=(dpkg-dev file scdoc)
fi
if [[ $level == package-smoke || $level == ci ]]; then
    packages+=(lintian appstream desktop-file-utils xvfb xauth xdotool)
fi
if [[ $level == ci ]]; then
    packages+=(clang libclang-rt-14-dev clang-format)
fi

missing=()
declare -A seen=()
for p in "${packages[@]}"; do
    [[ -z ${seen[$p]:-} ]] || continue
    seen[$p]=1
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

# What a user without sudo runs as root instead. The package lists come first: a fresh system
# (a container) may have none, and apt-get would not find the packages.
as_root_hint() {
    echo "install-deps: $1" >&2
    echo "Install the missing packages as root (for example after 'su -'), then run make again:" >&2
    echo >&2
    echo "    apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    echo >&2
    exit 1
}

# Ubuntu keeps Qt, GoogleTest and most of the tools in its universe component, which a minimal
# or server install may lack; apt-get would then only say it cannot find the packages. The
# system's files are read under $INSTALL_DEPS_ROOT (empty: the running system).
root_dir=${INSTALL_DEPS_ROOT:-}
sources=()
for f in "$root_dir/etc/apt/sources.list" "$root_dir"/etc/apt/sources.list.d/*.list \
    "$root_dir"/etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] && sources+=("$f")
done
# shellcheck source=/dev/null
read -r os_id codename < <(. "$root_dir/etc/os-release" 2>/dev/null; echo "${ID:-none} ${VERSION_CODENAME:-}")
if [[ $os_id == ubuntu ]] && ! {
    ((${#sources[@]})) &&
        grep -Eq '^[[:space:]]*(deb[[:space:]].*[[:space:]]universe([[:space:]]|$)|Components:.*[[:space:]]universe([[:space:]]|$))' \
            "${sources[@]}"
}; then
    # The mirror the system already uses (ports.ubuntu.com on some architectures).
    mirror=$( ((${#sources[@]})) && sed -nE 's/^[[:space:]]*(deb[[:space:]]+(\[[^]]*\][[:space:]]+)?|URIs:[[:space:]]*)([^[:space:]]+).*/\3/p' \
        "${sources[@]}" | head -n 1) || true
    sudo_word=$( (( $(id -u) == 0 )) || echo 'sudo ')
    echo "install-deps: Ubuntu's universe component is not enabled and holds packages Orbida needs: run '${sudo_word}add-apt-repository universe', or add the line 'deb ${mirror:-http://archive.ubuntu.com/ubuntu} ${codename:-CODENAME} universe' to /etc/apt/sources.list, then make again." >&2
    exit 1
fi

# sudo resets the environment: DEBIAN_FRONTEND goes through env, or a package could stop and
# ask a question.
via_sudo=0
if (($(id -u) == 0)); then
    as_root=(env DEBIAN_FRONTEND=noninteractive)
elif command -v sudo >/dev/null; then
    as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
    via_sudo=1
else
    as_root_hint "sudo is not installed, and these packages are missing: ${missing[*]}"
fi

echo "Installing: ${missing[*]}"
if ! "${as_root[@]}" apt-get update -qq; then
    # Through sudo the usual cause is a user who may not use it.
    ((via_sudo)) && as_root_hint "could not install the packages through sudo"
    exit 1
fi
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
