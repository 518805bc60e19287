#!/usr/bin/env bash
# Installs every package that building and testing Korvanix Setup needs on
# Debian. Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
    cmake ninja-build make
    mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    wine wine64
    xvfb xauth x11-utils
    wixl msitools
    googletest
    nlohmann-json3-dev
    imagemagick
    zopfli
    xcompmgr
    liblnk-utils
    python3 python3-pefile
    python3-cryptography
    binutils-mingw-w64-x86-64
    clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    echo "install-deps: all ${#packages[@]} packages present"
    exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; fi
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
echo "install-deps: done"
