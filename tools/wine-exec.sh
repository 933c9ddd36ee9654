#!/usr/bin/env bash
# CTest's emulator: runs one Windows program in the sandbox that tools/test.sh prepared.
# Run by hand (no sandbox exported), it makes one under build/.sandbox first.
set -euo pipefail
if [ -z "${TOLLGATE_SANDBOX:-}" ]; then
    root=$(cd "$(dirname "$0")/.." && pwd)
    # shellcheck source=tools/sandbox.sh
    . "$root/tools/sandbox.sh"
    sandbox_start "$root/.sandbox/manual"
fi
exec wine "$@"
