#!/usr/bin/env bash
# Takes a screenshot of each cookie page under Xvfb, on Wine's own desktop (so the sheet
# has its caption), into docs/page-not-authorized.png and docs/page-authorized.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/tools/setup.sh" "$root/build" >/dev/null
cd "$root"
# shellcheck source=tools/sandbox.sh
. tools/sandbox.sh
sandbox_start .sandbox/page-shots
sandbox_display
trap sandbox_stop EXIT
# page_shots shows the first page for 6 s, then the second for 6 s, and writes where
# the sheet is.
wine explorer /desktop=shots,1280x1024 build/bin/page_shots.exe 'C:\geometry.txt' &
shots=$!
geometry=$WINEPREFIX/drive_c/geometry.txt
mkdir -p docs
sleep 4
import -window root -crop "$(cut -d' ' -f1 "$geometry")" +repage docs/page-not-authorized.png
sleep 6
import -window root -crop "$(cut -d' ' -f1 "$geometry")" +repage docs/page-authorized.png
# Only the program: a bare wait would also wait for Xvfb.
wait "$shots"
