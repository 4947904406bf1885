# Sourced by the scripts that run Windows programs under Wine: one prefix, one
# virtual display and one wineserver, each started only when missing and ended
# only by whoever started it.
#
#   spindrel_wine_env             export WINEPREFIX and the other Wine settings
#   spindrel_wine_ensure_prefix   make the WoW64 prefix once (parallel callers wait)
#   spindrel_wine_start_display   start Xvfb when DISPLAY is empty
#   spindrel_wine_server_running  true when a wineserver serves WINEPREFIX
#   spindrel_wine_start_server    start a persistent wineserver unless one runs
#   spindrel_wine_stop            end the display and wineserver started here

spindrel_wine_env() {
    export SPINDREL_WINEPREFIX="${SPINDREL_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/spindrel/wine}"
    export WINEPREFIX="$SPINDREL_WINEPREFIX"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# The stamp's name changes whenever the preparation below does, so that older
# prefixes are brought up to date.
spindrel_wine_ensure_prefix() {
    local stamp="$WINEPREFIX/.spindrel-prefix-v2"
    [ -e "$stamp" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -e "$stamp" ]; then
            echo "wine-env: preparing Wine prefix $WINEPREFIX" >&2
            local server_was_running=""
            spindrel_wine_server_running && server_was_running=1
            wineboot -i >/dev/null 2>&1 </dev/null
            # There is no window manager: Wine is to draw frames and captions
            # itself, as Windows does, rather than wait up to two seconds for
            # a window manager's answer on every hide or state change.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
            # The prefix is complete once the server has written it out; a
            # server that was already running keeps it and serves it anyway.
            [ -n "$server_was_running" ] || wineserver -w
            touch "$stamp"
        fi
    ) 9>"$WINEPREFIX.lock"
}

spindrel_wine_display_started=""

spindrel_wine_start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local numfile n i
    numfile=$(mktemp)
    # -displayfd lets Xvfb pick a free display itself, so parallel callers never collide.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 </dev/null &
    spindrel_wine_display_started=$!
    for i in $(seq 100); do
        n=$(tr -dc 0-9 <"$numfile")
        if [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            rm -f "$numfile"
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$spindrel_wine_display_started" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numfile"
    echo "wine-env: Xvfb did not start" >&2
    kill "$spindrel_wine_display_started" 2>/dev/null
    spindrel_wine_display_started=""
    return 1
}

# Wine names the server's folder after the prefix's device and inode, and the
# server works inside it; a process whose working folder is that one serves us.
spindrel_wine_server_running() {
    [ -d "$WINEPREFIX" ] || return 1
    local name pid
    name=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
    for pid in $(pgrep -u "$(id -u)" '^wineserver'); do
        [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" = "$name" ] && return 0
    done
    return 1
}

spindrel_wine_server_started=""

spindrel_wine_start_server() {
    spindrel_wine_server_running && return 0
    wineserver -p
    spindrel_wine_server_started=1
    # Wine's services start with the first program and stay as long as the
    # server does. Started here, with no output attached, they cannot hold
    # open the output pipe of a later program, on whose end CTest waits.
    wine wineboot </dev/null >/dev/null 2>&1
}

spindrel_wine_stop() {
    if [ -n "$spindrel_wine_server_started" ]; then
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
        spindrel_wine_server_started=""
    fi
    if [ -n "$spindrel_wine_display_started" ]; then
        kill "$spindrel_wine_display_started" 2>/dev/null
        wait "$spindrel_wine_display_started" 2>/dev/null
        spindrel_wine_display_started=""
    fi
    return 0
}
