# shellcheck shell=bash disable=SC2154  # root: set by tools/bench.sh, which sources this
# Sourced by tools/bench.sh inside its sandbox: fills a live cookie page as the main window
# would during a load of 25,000 cookies, sorts it, then checks and deletes every row.
wine "$root/build/bin/bench_pages.exe"
