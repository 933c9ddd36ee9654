#!/usr/bin/env bash
# Builds everything and runs every test through Wine in a fresh private prefix under Xvfb.
# Usage: tools/test.sh [ctest arguments...]   (two suites at a time unless -j says otherwise)
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
# On two cores two suites at once finish sooner; suites that share a store or the screen carry
# CTest resource locks, so they never meet.
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-2}
ctest --output-on-failure "$@"
