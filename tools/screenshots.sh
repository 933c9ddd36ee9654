#!/usr/bin/env bash
# Takes the README's screenshots (docs/*.png) of the real program under Xvfb, in Wine's own
# desktop (which draws captions) with the demo cookie store: both pages, the About box, the
# install dialog, the window dragged larger, the window while Chrome holds its store, the
# details of one site, and the main page at 96, 144 and 192 DPI (Wine's "LogPixels", set before
# the program starts). Clicks and drags go through xdotool, as a
# user's would.
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
# Room for the window at twice the size.
sandbox_display 1600x1200

# Waits for the window with caption $1; leaves its geometry in $geometry.
wait_for() {
    geometry=$(wine "$bin/waitwindow.exe" Tollgate "$1" 60 | tr -d '\r')
    sleep 2
}

# Waits for the window with caption $1 and saves it to $2; leaves its geometry in $geometry.
shoot() {
    wait_for "$1"
    import -window root -crop "$geometry" +repage "$out/$2"
    echo "screenshots: $out/$2"
}

# The last window shot's top-left corner and size, in $left $top $width $height.
corner() {
    local size=${geometry%%+*} place=${geometry#*+}
    width=${size%x*}
    height=${size#*x}
    left=${place%+*}
    top=${place#*+}
}

# Clicks at an offset from the top-left corner of the last window shot.
click() {
    corner
    xdotool mousemove $((left + $1)) $((top + $2)) click 1
}

# Ends the program and its desktop.
stop_program() {
    wineserver -k >/dev/null 2>&1 || true
    sleep 1
}

# Screen DPI for the programs started from now on. Wine reads it at start from the user's
# desktop settings and the machine's font settings; both are set so that every part agrees.
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    wineserver -w
}

start_program() {
    wine explorer /desktop=Tollgate,1600x1200 "$bin/Tollgate.exe" "$@" >/dev/null 2>&1 &
}

# Drags from an offset of the last window shot's top-left corner by $3 right and $4 down.
drag() {
    corner
    xdotool mousemove $((left + $1)) $((top + $2)) mousedown 1 \
        mousemove $((left + $1 + $3 / 2)) $((top + $2 + $4 / 2)) \
        mousemove $((left + $1 + $3)) $((top + $2 + $4)) mouseup 1
    sleep 1
}

start_program
shoot Tollgate dpi-96.png
sheet=$geometry
click 420 140 # the Type column's header: the sites in order of their browsers
geometry=$sheet
shoot Tollgate not-authorized.png
click 145 38 # the "Authorized" tab
geometry=$sheet
shoot Tollgate authorized.png
click 53 436 # About
shoot "About Tollgate" about.png
stop_program

# Chrome's cookie store held as a running Chrome holds it, by the tests' stand-in for a browser:
# the notice row tells why Chrome's cookies are missing, beside its button that closes Chrome.
chrome=$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')'\Google\Chrome\User Data\Default\Network\Cookies'
wine "$bin/browser_stand_in.exe" hold "$chrome" TollgateScreenshots >/dev/null 2>&1 &
sleep 3
start_program
shoot Tollgate browser-open.png
stop_program

# Dragged by its lower right corner, as a user makes it larger.
start_program
wait_for Tollgate
corner
drag $((width - 2)) $((height - 2)) 300 200
shoot Tollgate resized.png
stop_program

# The details of a site with cookies of several browsers, opened by a double-click on its row
# and dragged wider by its lower right corner, so that every column shows.
start_program
wait_for Tollgate
corner
xdotool mousemove $((left + 120)) $((top + 190)) click --repeat 2 --delay 80 1
wait_for "Cookies of arcadeplanet.com"
corner
drag $((width - 2)) $((height - 2)) 400 0
shoot "Cookies of arcadeplanet.com" details.png
stop_program

for dpi in 144 192; do
    set_dpi "$dpi"
    start_program
    shoot Tollgate "dpi-$dpi.png"
    stop_program
done
set_dpi 96

start_program -r
shoot "Tollgate - Install Successful!" install.png
