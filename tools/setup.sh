#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is missing.
# Safe to run again: it only calls apt-get when a package is absent.
set -euo pipefail

packages=(cmake ninja-build g++ make googletest
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
          wine wine64 wine32:i386 xvfb xauth x11-utils xdotool imagemagick
          fonts-wine fonts-liberation e2fsprogs
          clang libclang-rt-14-dev)

need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_i386=1
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ "$need_i386" = 1 ] || [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo"
    [ "$need_i386" = 1 ] && $sudo dpkg --add-architecture i386
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
