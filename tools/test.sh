#!/usr/bin/env bash
# Builds everything and runs every test through Wine in a fresh private prefix under Xvfb.
# Usage: tools/test.sh [ctest arguments...]   (-j2 runs two suites at a time)
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
# One suite at a time by default: two at once save only a few percent on two cores, because the
# suites that share a store or the screen carry CTest resource locks and wait for each other.
ctest --output-on-failure "$@"
