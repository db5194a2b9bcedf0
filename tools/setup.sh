#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine.
# Does nothing that is already done, so it is cheap to run before every build.
# With --wine32 it also prepares the 32-bit Wine of the i686 tests, which
# changes nothing on the system (see setup-wine32.sh).
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 xvfb xdotool
          imagemagick locales fonts-wqy-microhei fonts-wine googletest cmake ninja-build make g++)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # Another build on the machine may be installing at the same moment:
    # wait for its lock rather than fail.
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >/dev/null
fi

# The tests run with the ANSI code page 936, which Wine takes from the locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "setup: generating zh_CN.UTF-8"
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi

if [ "${1:-}" = --wine32 ]; then
    "$(dirname "${BASH_SOURCE[0]}")/setup-wine32.sh"
fi
