#!/usr/bin/env bash
# Which room of Client/ may include which: a lower room never reaches up into windows or the
# application. Each rule lists what a room's files may name in '#include "..."'. A name without
# a folder is a file beside the includer; the handle owner is there for the lower rooms. A room
# may also be denied a folder below one it may name: the manager takes its sources from the
# application and never reaches into their folder.
set -uo pipefail
client=$(cd "$(dirname "$0")/../Client" && pwd)
leaf='framework/UniqueHandle\.h'
declare -A allowed=(
    [res]='res/'
    [framework]='framework/'
    [sqlite]="sqlite/|$leaf"
    [store]="store/|res/|$leaf"
    [cookies]="cookies/|store/|res/|$leaf"
    [cookies/sources]="cookies/|sqlite/|store/|res/|$leaf"
    [ui]="ui/|cookies/|store/|framework/|res/|app/WebPages\.h|app/ProductVersion\.h"
    [app]='.'
)
declare -A denied=(
    [cookies]='cookies/sources/'
)
failed=0
for room in "${!allowed[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        name=$(sed 's/.*#include "\([^"]*\)".*/\1/' <<<"${line#*:}")
        if ! grep -qE "^(${allowed[$room]})|^[^/]*$" <<<"$name" ||
            { [ -n "${denied[$room]:-}" ] && grep -qE "^(${denied[$room]})" <<<"$name"; }; then
            echo "[  FAILED  ] ${file#"$client"/} includes $name" >&2
            failed=1
        fi
    done < <([ -d "$client/$room" ] && find "$client/$room" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) \
                 -exec grep -H '^#include "' {} +)
done
[ $failed -eq 0 ] && echo "[  PASSED  ] every room includes only what it may"
exit $failed
