# shellcheck shell=bash disable=SC2154  # root: set by tools/bench.sh, which sources this
# Sourced by tools/bench.sh inside a fresh sandbox: builds a large cookie store in the prefix
# and compares the manager's full load with the bare platform work. BENCH_SCALE below 1 shrinks
# the store for quick looks. Last line: load-ratio <x>.
wine "$root/build/bin/tollgate_bench_load.exe" "${BENCH_SCALE:-1}" | tr -d '\r'
