#!/usr/bin/env bash
# Builds Tollgate and starts it under Wine with a demo cookie store, on your display; without
# a display it runs under Xvfb and saves a screenshot instead.
# Usage: tools/run.sh [--prefix DIR] [--screenshot FILE] [-- TOLLGATE-ARGUMENTS...]
#   --prefix DIR       run against an existing Wine prefix, as it is (no demo data)
#   --screenshot FILE  where the screenshot goes without a display (default: build/tollgate.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=
screenshot=$root/build/tollgate.png
arguments=()
while (($#)); do
    case $1 in
        --prefix) prefix=$(cd "${2:?--prefix needs a folder}" && pwd); shift 2 ;;
        --screenshot) screenshot=${2:?--screenshot needs a file}; shift 2 ;;
        --) shift; arguments=("$@"); break ;;
        -h|--help) sed -n '2,7p' "$0"; exit 0 ;;
        *) echo "run: unknown option $1" >&2; exit 2 ;;
    esac
done

"$root/tools/setup.sh" "$root/build"
bin=$root/build/bin

# The sandbox gets a home folder of its own; the display's key stays the user's.
export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}
# shellcheck source=tools/sandbox.sh
. "$root/tools/sandbox.sh"
# Ends what this script started: Xvfb, and the Wine server only when it started that too.
own_server=yes
stop() {
    if [ -n "$own_server" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    sandbox_stop_display
}
trap stop EXIT

if [ -n "$prefix" ]; then
    # The user's own prefix, with the user's own home folder.
    export WINEPREFIX=$prefix WINEDEBUG=-all
    # Only the Xvfb bookkeeping goes here.
    TOLLGATE_SANDBOX=$root/.sandbox/existing
    mkdir -p "$TOLLGATE_SANDBOX"
    export TOLLGATE_SANDBOX
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    # "wineserver -w" returns at once when no server runs for the prefix, and otherwise waits
    # for it to end: a server still there after a second is the user's, with the user's
    # programs in it, and stays.
    if timeout 1 wineserver -w; then
        setsid wineserver -p </dev/null >/dev/null 2>&1 &
        wine cmd /c exit >/dev/null 2>&1 || true
    else
        own_server=
    fi
else
    sandbox_start "$root/.sandbox/demo"
    wine "$bin/seed.exe"
fi

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    wine "$bin/Tollgate.exe" "${arguments[@]}" || true
else
    echo "run: no display, running under Xvfb"
    sandbox_display
    # Wine's own desktop draws the window captions, which plain Xvfb has no manager for.
    wine explorer /desktop=Tollgate,1024x768 "$bin/Tollgate.exe" "${arguments[@]}" >/dev/null 2>&1 &
    if geometry=$(wine "$bin/waitwindow.exe" Tollgate Tollgate 60 | tr -d '\r'); then
        sleep 3 # let the loading thread fill the list
        import -window root -crop "$geometry" +repage "$screenshot"
        echo "run: screenshot saved to $screenshot"
    else
        echo "run: Tollgate's window did not appear" >&2
        exit 1
    fi
fi
