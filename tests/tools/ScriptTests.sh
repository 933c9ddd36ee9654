#!/usr/bin/env bash
# The developer scripts' failure paths. Wine, Xvfb, cmake and the package tools are played by
# stand-ins that fail on cue and note how they were called: a wineboot or an Xvfb that fails,
# a machine without root or sudo, and a user's own Wine server can't be had on a test machine.
# Each case runs a copy of the scripts in a throw-away folder.
set -uo pipefail
source_root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# A stand-in command: its name and body, in the folder that comes first on PATH unless told.
stand_in() {
    local file=${3:-$work/bin}/$1
    printf '#!/bin/bash\n%s\n' "$2" >"$file"
    chmod +x "$file"
}

# A fresh copy of the scripts under $work/root, fresh stand-ins, and an empty call log.
fresh_case() {
    rm -rf "${work:?}"/{root,bin,calls,stderr}
    mkdir -p "$work/root/tools" "$work/bin"
    cp "$source_root"/tools/{setup.sh,sandbox.sh,run.sh} "$work/root/tools/"
    : >"$work/calls"
}

expect() {
    local name=$1 what=$2
    shift 2
    if "$@"; then
        return 0
    fi
    echo "[  FAILED  ] $name: $what" >&2
    [ -s "$work/stderr" ] && sed 's/^/    stderr: /' "$work/stderr" >&2
    sed 's/^/    called: /' "$work/calls" >&2
    failed=1
    return 1
}

said() { grep -qF -- "$1" "$work/stderr"; }
called() { grep -qxF -- "$1" "$work/calls"; }
not() { ! "$@"; }

# setup.sh, not root and no sudo: it names the command to run as root and installs nothing.
fresh_case
stand_in dpkg-query 'echo "deinstall ok config-files"'
stand_in id 'echo 1000'
stand_in apt-get "echo \"apt-get \$*\" >>$work/calls"
# Only the stand-ins and the few real tools the script needs: no sudo anywhere on PATH.
for tool in bash dirname grep; do ln -s "$(command -v $tool)" "$work/bin/$tool"; done
PATH=$work/bin "$work/bin/bash" "$work/root/tools/setup.sh" "$work/build" 2>"$work/stderr" >/dev/null
status=$?
name="setup without root or sudo"
expect "$name" "exit code $status, not 1" test $status -eq 1 &&
    expect "$name" "no apt-get line for root" said "apt-get install --no-install-recommends cmake make" &&
    expect "$name" "apt-get was run" not grep -q apt-get "$work/calls"

# setup.sh, configuring fails: cmake's own output reaches the user, and nothing is built.
fresh_case
stand_in dpkg-query 'echo "install ok installed"'
stand_in fetch-sqlite.sh 'exit 0' "$work/root/tools"
stand_in cmake "echo \"cmake \$*\" >>$work/calls
[ \"\$1\" = --build ] && exit 0
echo 'CMake Error: the stand-in compiler does not work'
exit 1"
PATH=$work/bin:$PATH bash "$work/root/tools/setup.sh" "$work/build" 2>"$work/stderr" >/dev/null
status=$?
name="setup when configuring fails"
expect "$name" "exit code $status, not 1" test $status -eq 1 &&
    expect "$name" "cmake's output not shown" said "CMake Error: the stand-in compiler does not work" &&
    expect "$name" "no word of what failed" said "setup: configuring $work/build failed" &&
    expect "$name" "it built after all" not grep -q -- '^cmake --build' "$work/calls"

# sandbox_start, wineboot fails: its output and the prefix are named, and the caller hears 1.
fresh_case
stand_in wineboot 'echo "wine: could not load kernel32.dll, status c0000135"; exit 1'
stand_in wineserver "echo \"wineserver \$*\" >>$work/calls"
stand_in wine "echo \"wine \$*\" >>$work/calls"
(
    export PATH=$work/bin:$PATH
    . "$work/root/tools/sandbox.sh"
    sandbox_start "$work/sandbox" fresh
) 2>"$work/stderr" >/dev/null
status=$?
name="sandbox when wineboot fails"
expect "$name" "returned $status, not 1" test $status -eq 1 &&
    expect "$name" "wineboot's output not shown" said "could not load kernel32.dll" &&
    expect "$name" "prefix not named" said "could not make the prefix $work/sandbox/prefix" &&
    expect "$name" "a server was started for a prefix that isn't there" not called "wineserver -p"

# sandbox_display, Xvfb ends at once: its output is shown, and the caller hears 1.
fresh_case
stand_in Xvfb 'echo "(EE) Fatal server error: Cannot establish any listening sockets" >&2; exit 1'
(
    export PATH=$work/bin:$PATH TOLLGATE_SANDBOX=$work
    . "$work/root/tools/sandbox.sh"
    sandbox_display
) 2>"$work/stderr" >/dev/null
status=$?
name="sandbox when Xvfb fails"
expect "$name" "returned $status, not 1" test $status -eq 1 &&
    expect "$name" "Xvfb's output not shown" said "Cannot establish any listening sockets" &&
    expect "$name" "no word of what failed" said "sandbox: Xvfb did not start"

# run.sh --prefix: a Wine server that was already running belongs to the user's programs and
# outlives the run; a server the run started itself is ended with it.
for server in running none; do
    fresh_case
    stand_in setup.sh 'exit 0' "$work/root/tools"
    if [ $server = running ]; then
        # "wineserver -w" waits while a server runs.
        stand_in wineserver "echo \"wineserver \$*\" >>$work/calls; [ \"\$1\" = -w ] && sleep 5; exit 0"
    else
        stand_in wineserver "echo \"wineserver \$*\" >>$work/calls; exit 0"
    fi
    stand_in wine "echo \"wine \$*\" >>$work/calls"
    stand_in xdotool 'exit 0'
    mkdir -p "$work/user-prefix"
    DISPLAY=:7 PATH=$work/bin:$PATH \
        bash "$work/root/tools/run.sh" --prefix "$work/user-prefix" -- -list 2>"$work/stderr" >/dev/null
    status=$?
    name="run.sh --prefix with $server server"
    expect "$name" "exit code $status, not 0" test $status -eq 0 &&
        expect "$name" "Tollgate was not run" called "wine $work/root/build/bin/Tollgate.exe -list" ||
        continue
    if [ $server = running ]; then
        expect "$name" "the user's server was ended" not called "wineserver -k"
    else
        expect "$name" "the server it started was left running" called "wineserver -k"
    fi
done

[ $failed -eq 0 ] && echo "[  PASSED  ] the scripts' failure paths"
exit $failed
