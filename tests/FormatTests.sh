#!/usr/bin/env bash
# Every C++ file of the program, its tests and its tools keeps the checked-in clang-format style.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
mapfile -t files < <(find Client tests tools \( -name '*.cpp' -o -name '*.h' \) | sort)
if clang-format --dry-run --Werror "${files[@]}"; then
    echo "[  PASSED  ] ${#files[@]} files formatted"
else
    echo "[  FAILED  ] run clang-format -i on the files named above" >&2
    exit 1
fi
