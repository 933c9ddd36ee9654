# shellcheck shell=bash disable=SC2154  # root: set by tools/bench.sh, which sources this
# Sourced by tools/bench.sh inside a fresh sandbox: times Tollgate.exe -clean 30 over a large
# store of which half the sites are old, against a full load and the deletes of the same
# sites in-process. Last line: clean-seconds <x>.
wine "$root/build/bin/tollgate_bench_clean.exe" | tr -d '\r'
