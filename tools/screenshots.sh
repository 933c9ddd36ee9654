#!/usr/bin/env bash
# Takes the README's screenshots (docs/*.png) of the real program under Xvfb, in Wine's own
# desktop (which draws captions) with the demo cookie store: both pages, the About box and the
# install dialog. Clicks go through xdotool, as a user's would.
# Usage: tools/screenshots.sh [output-folder]   (default: docs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs}
mkdir -p "$out"
"$root/tools/setup.sh" "$root/build" >/dev/null
bin=$root/build/bin

# shellcheck source=tools/sandbox.sh
. "$root/tools/sandbox.sh"
sandbox_start "$root/.sandbox/screenshots" fresh
trap sandbox_stop EXIT
wine "$bin/seed.exe"
sandbox_display

# Waits for the window with caption $1 and saves it to $2; leaves its geometry in $geometry.
shoot() {
    geometry=$(wine "$bin/waitwindow.exe" Tollgate "$1" 60 | tr -d '\r')
    sleep 2
    import -window root -crop "$geometry" +repage "$out/$2"
    echo "screenshots: $out/$2"
}

# Clicks at an offset from the top-left corner of the last window shot.
click() {
    local x=${geometry#*+} y
    y=${x#*+}
    x=${x%+*}
    xdotool mousemove $((x + $1)) $((y + $2)) click 1
}

wine explorer /desktop=Tollgate,1024x768 "$bin/Tollgate.exe" >/dev/null 2>&1 &
shoot Tollgate not-authorized.png
sheet=$geometry
click 145 38 # the "Authorized" tab
geometry=$sheet
shoot Tollgate authorized.png
click 53 400 # About
shoot "About Tollgate" about.png
wineserver -k >/dev/null 2>&1 || true
sleep 1

wine explorer /desktop=Tollgate,1024x768 "$bin/Tollgate.exe" -r >/dev/null 2>&1 &
shoot "Tollgate - Install Successful!" install.png
