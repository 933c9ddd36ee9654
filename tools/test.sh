#!/usr/bin/env bash
# Builds everything and runs every test through Wine in a fresh private prefix under Xvfb.
# Usage: tools/test.sh [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/tools/setup.sh" "$build"

# shellcheck source=tools/sandbox.sh
. "$root/tools/sandbox.sh"
sandbox_start "$root/.sandbox/test" fresh
trap sandbox_stop EXIT
sandbox_display
cd "$build"
ctest --output-on-failure "$@"
