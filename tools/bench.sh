#!/usr/bin/env bash
# Runs one benchmark in a private Wine prefix of its own and prints its figures.
# Usage: tools/bench.sh MODE   (MODE: one of the scripts in tools/bench/, e.g. load, pages)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:?usage: tools/bench.sh MODE}
script=$root/tools/bench/$mode.sh
[ -f "$script" ] || { echo "bench: no benchmark '$mode' (see tools/bench/)" >&2; exit 2; }
"$root/tools/setup.sh" "$root/build" >/dev/null

# shellcheck source=tools/sandbox.sh
. "$root/tools/sandbox.sh"
sandbox_start "$root/.sandbox/bench-$mode" fresh
trap sandbox_stop EXIT
sandbox_display
# shellcheck source=/dev/null
. "$script"
