# shellcheck shell=bash
# Sourced by the run, test and benchmark scripts: a private Wine prefix and HOME under one
# throw-away folder, and an X display (Xvfb unless the caller asks for the user's own).
#   sandbox_start DIR [fresh]  -- export the environment, create the prefix, start the server
#   sandbox_display [WxH]      -- start Xvfb (1280x1024 unless told) and export DISPLAY
#   sandbox_stop               -- end wineserver and Xvfb
#   sandbox_stop_display       -- end Xvfb alone
# sandbox_start and sandbox_display say what went wrong and return 1 when Wine or Xvfb fails.
sandbox_start() {
    if [ "${2:-}" = fresh ]; then
        rm -rf "$1"
    fi
    mkdir -p "$1/home"
    TOLLGATE_SANDBOX=$(cd "$1" && pwd)
    export TOLLGATE_SANDBOX
    export HOME=$TOLLGATE_SANDBOX/home
    export XDG_DATA_HOME=$HOME/.local/share XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache
    export WINEPREFIX=$TOLLGATE_SANDBOX/prefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        local log=$TOLLGATE_SANDBOX/wineboot.log
        if ! wineboot -i >"$log" 2>&1 || ! wineserver -w || [ ! -f "$WINEPREFIX/system.reg" ]; then
            cat "$log" >&2
            echo "sandbox: wineboot could not make the prefix $WINEPREFIX (output above)" >&2
            return 1
        fi
    fi
    # Started apart from the callers' pipes, or a test may hang until its timeout.
    setsid wineserver -p </dev/null >/dev/null 2>&1 &
    wine cmd /c exit >/dev/null 2>&1 || true
}

sandbox_display() {
    local fd_file=$TOLLGATE_SANDBOX/display log=$TOLLGATE_SANDBOX/xvfb.log
    rm -f "$fd_file"
    Xvfb -displayfd 1 -screen 0 "${1:-1280x1024}x24" -nolisten tcp >"$fd_file" 2>"$log" &
    TOLLGATE_XVFB=$!
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        kill -0 "$TOLLGATE_XVFB" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$fd_file" ]; then
        cat "$log" >&2
        echo "sandbox: Xvfb did not start (output above)" >&2
        sandbox_stop_display
        return 1
    fi
    DISPLAY=":$(head -n1 "$fd_file")"
    export DISPLAY
}

sandbox_stop() {
    wineserver -k >/dev/null 2>&1 || true
    sandbox_stop_display
}

sandbox_stop_display() {
    if [ -n "${TOLLGATE_XVFB:-}" ]; then
        kill "$TOLLGATE_XVFB" 2>/dev/null || true
        wait "$TOLLGATE_XVFB" 2>/dev/null || true
        TOLLGATE_XVFB=
    fi
}
