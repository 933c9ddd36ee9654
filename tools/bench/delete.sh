# shellcheck shell=bash disable=SC2154  # root: set by tools/bench.sh, which sources this
# Sourced by tools/bench.sh inside a fresh sandbox: the load benchmark's browser stores, loaded
# and then the sites in all three deleted, without its window rounds. BENCH_SCALE below 1
# shrinks the stores for quick looks. Last line: delete-seconds <x>.
wine "$root/build/bin/tollgate_bench_delete.exe" "${BENCH_SCALE:-1}" | tr -d '\r'
