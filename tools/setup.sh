#!/usr/bin/env bash
# Installs what building and testing Tollgate needs on Debian 12, then configures and builds.
# Usage: tools/setup.sh [build-dir]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          googletest wine wine64 xvfb xauth xdotool imagemagick nsis python3 tcl dpkg-dev
          clang-format)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "setup: missing packages: ${missing[*]}" >&2
            echo "setup: you are not root and there is no sudo; as root, run:" >&2
            echo "    apt-get install --no-install-recommends ${missing[*]}" >&2
            echo "setup: then run tools/setup.sh again." >&2
            exit 1
        fi
        sudo=sudo
    fi
    echo "setup: installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

"$root/tools/fetch-sqlite.sh" "$build"
# Quiet when configuring works; the whole output when it does not.
mkdir -p "$build"
log=$build/configure.log
if ! cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake" \
           -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1; then
    cat "$log" >&2
    echo "setup: configuring $build failed (output above, also in $log)" >&2
    exit 1
fi
cmake --build "$build" -j"$(nproc)"
