#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Orbida, skipping those already
# present. Uses sudo when not run as root. Usage: tools/install-deps.sh [build|test|package|ci]
set -euo pipefail

level=${1:-build}
# The window uses Liberation Sans (fonts-liberation): every text it writes fits its label.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation)
if [[ $level == test || $level == ci ]]; then
    # rotctld: Hamlib's rotator daemon, whose dummy rotator the rotator tests drive.
    packages+=(xvfb xauth xdotool x11-utils imagemagick openbox libhamlib-utils)
fi
if [[ $level == ci ]]; then
    packages+=(clang libclang-rt-14-dev clang-format file)
fi
# The Debian package: dpkg-shlibdeps, the desktop-entry and AppStream validators, and the start
# of the installed program under Xvfb.
if [[ $level == package || $level == ci ]]; then
    packages+=(dpkg-dev appstream desktop-file-utils xvfb xauth xdotool)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
