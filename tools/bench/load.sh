# Sourced by tools/bench.sh inside a fresh sandbox: builds a large cookie store in the prefix
# and compares the manager's full load with the bare platform work. Last line: load-ratio <x>.
wine "$root/build/bin/tollgate_bench_load.exe" | tr -d '\r'
