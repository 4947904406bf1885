# Sourced by the scripts that run Windows programs under Wine: one prefix, one
# virtual display and one wineserver, each started only when missing and ended
# only by whoever started it.
#
#   spindrel_wine_env             pick the Wine mode, export WINEPREFIX and the other settings
#   spindrel_wine                 run a Windows program (or Wine tool) with the loader it needs
#   spindrel_wine_ensure_prefix   make the prefix once (parallel callers wait); fails with Wine's message
#   spindrel_wine_start_display   start Xvfb when DISPLAY is empty
#   spindrel_wine_server_running  true when a wineserver serves WINEPREFIX
#   spindrel_wine_start_server    start a persistent wineserver unless one runs
#   spindrel_wine_hold_desktop    keep Wine's desktop up while that server runs
#   spindrel_wine_stop            end the display and wineserver started here
#
# Two modes. Where the kernel runs 32-bit programs, Wine's usual loader serves a
# WoW64 prefix that runs 32- and 64-bit programs. Where it cannot (no IA32
# support: Wine's 32-bit loader fails with "Exec format error", and /usr/bin/wine
# picks that loader whenever wine32 is installed, for 64-bit programs too),
# every call goes through the 64-bit loader and a 64-bit-only prefix of its own.
# SPINDREL_WINE64_ONLY=1 forces the second mode on any machine.

spindrel_wine_env() {
    # Found out once per run; the scripts and CTest's emulator below inherit it.
    if [ -z "${SPINDREL_WINE_MODE:-}" ]; then
        if [ "${SPINDREL_WINE64_ONLY:-0}" = 1 ]; then
            SPINDREL_WINE_MODE=win64-only
            SPINDREL_WINE32_MISSING="SPINDREL_WINE64_ONLY=1 asks for 64-bit programs only"
        elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
            SPINDREL_WINE_MODE=wow64
            SPINDREL_WINE32_MISSING=""
        else
            SPINDREL_WINE_MODE=win64-only
            SPINDREL_WINE32_MISSING="this kernel cannot run 32-bit programs"
        fi
        export SPINDREL_WINE_MODE SPINDREL_WINE32_MISSING
    fi

    export SPINDREL_WINEPREFIX="${SPINDREL_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/spindrel/wine}"
    if [ "$SPINDREL_WINE_MODE" = wow64 ]; then
        export WINEPREFIX="$SPINDREL_WINEPREFIX"
        SPINDREL_WINE_LOADER=wine
    else
        # A prefix of its own, so that it never meets one made with 32-bit support.
        export WINEPREFIX="$SPINDREL_WINEPREFIX-win64-only"
        SPINDREL_WINE_LOADER=/usr/lib/wine/wine64
        # Programs that Wine starts from a program use this loader too.
        export WINELOADER=$SPINDREL_WINE_LOADER
    fi
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko: nothing here needs them, and their installers would ask.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# In a WoW64 prefix "wine" is Wine's 32-bit loader, which cannot run a 64-bit
# program itself: it hands it to start.exe, which starts it as a second process
# and waits for it. That extra process has failed to start the program now and
# then, so a 64-bit program goes to the 64-bit loader, which runs it directly.
spindrel_wine_loader() {
    local offset
    if [ "$SPINDREL_WINE_MODE" = wow64 ] && [ -f "$1" ] &&
        offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null) &&
        [ "$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null)" = " 8664" ]; then
        echo /usr/lib/wine/wine64
    else
        echo "$SPINDREL_WINE_LOADER"
    fi
}

spindrel_wine() {
    "$(spindrel_wine_loader "$1")" "$@"
}

# The stamp's name changes whenever the preparation below does, so that older
# prefixes are brought up to date.
spindrel_wine_ensure_prefix() {
    local stamp="$WINEPREFIX/.spindrel-prefix-v2"
    [ -e "$stamp" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")" || return 1
    (
        flock 9
        [ -e "$stamp" ] && exit 0
        echo "wine-env: preparing Wine prefix $WINEPREFIX ($SPINDREL_WINE_MODE)" >&2
        local server_was_running="" log
        spindrel_wine_server_running && server_was_running=1
        log=$(mktemp)
        # Wine's own words are shown when the prefix cannot be made or set up:
        # nothing later can run without it.
        wine_failed() {
            echo "wine-env: $1; Wine said:" >&2
            cat "$log" >&2
            rm -f "$log"
            exit 1
        }
        if ! spindrel_wine wineboot -i >"$log" 2>&1 </dev/null || [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
            wine_failed "the Wine prefix $WINEPREFIX could not be made"
        fi
        # There is no window manager: Wine is to draw frames and captions
        # itself, as Windows does, rather than wait up to two seconds for
        # a window manager's answer on every hide or state change.
        spindrel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$log" 2>&1 </dev/null ||
            wine_failed "could not set up the Wine prefix $WINEPREFIX"
        rm -f "$log"
        # The prefix is complete once the server has written it out; a
        # server that was already running keeps it and serves it anyway.
        [ -n "$server_was_running" ] || wineserver -w
        touch "$stamp"
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
    spindrel_wine wineboot </dev/null >/dev/null 2>&1
}

# spindrel_wine_hold_desktop PROGRAM.exe: runs the desktop holder (see
# tools/HoldDesktopWin32.cpp) until the server ends, if the server is our own.
spindrel_wine_hold_desktop() {
    [ -n "$spindrel_wine_server_started" ] && [ -f "$1" ] || return 0
    spindrel_wine "$1" </dev/null >/dev/null 2>&1 &
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
