#!/usr/bin/env bash
# CTest's emulator: runs one Windows program in the sandbox that tools/test.sh prepared.
# Run by hand (no sandbox exported), it uses the prefix in .sandbox/manual of this checkout,
# made on first use, and the caller's display (no Xvfb). It leaves that prefix's Wine server
# running for the next program; "WINEPREFIX=.sandbox/manual/prefix wineserver -k" ends it.
set -euo pipefail
if [ -z "${TOLLGATE_SANDBOX:-}" ]; then
    root=$(cd "$(dirname "$0")/.." && pwd)
    # shellcheck source=tools/sandbox.sh
    . "$root/tools/sandbox.sh"
    sandbox_start "$root/.sandbox/manual"
fi
exec wine "$@"
