#!/usr/bin/env bash
# Builds the 32-bit Windows program (the 64-bit one where this machine cannot
# run 32-bit programs) and runs it under Wine. With a display it simply runs
# it. Without one it runs it on a virtual display, saves a screenshot of its
# window to docs/screenshot.png, closes the window and reports the program's
# exit code.
set -uo pipefail

repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo" || exit 1

bash tools/setup.sh </dev/null || exit 1
. tools/wine-env.sh
spindrel_wine_env

# The 32-bit program is the one that ships; where it cannot run, the 64-bit one.
preset=win32
if [ -n "$SPINDREL_WINE32_MISSING" ]; then
    preset=win64
    echo "run-program: $SPINDREL_WINE32_MISSING, so the 64-bit build runs"
fi
cmake --preset $preset >/dev/null && cmake --build --preset $preset -j2 --target spindrel || exit 1
exe=$repo/build/$preset/bin/spindrel.exe
echo "run-program: running $exe"

if [ -n "${DISPLAY:-}" ]; then
    exec tools/wine-run.sh "$exe"
fi

trap spindrel_wine_stop EXIT
spindrel_wine_start_display || exit 1
spindrel_wine_ensure_prefix || exit 1

tools/wine-run.sh "$exe" &
program=$!

# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds, for as long as
# the program runs.
wait_for() {
    local deadline=$(( $(date +%s) + $1 ))
    shift
    until "$@"; do
        if ! kill -0 "$program" 2>/dev/null || [ "$(date +%s)" -ge "$deadline" ]; then
            return 1
        fi
        sleep 0.2
    done
}

find_window() { window=$(xdotool search --onlyvisible --name '^Spindrel$' 2>/dev/null | head -n 1); [ -n "$window" ]; }

# The picture is taken once two captures in a row agree, i.e. painting is over.
settled() {
    local now
    now=$(import -silent -window "$window" rgb:- 2>/dev/null | md5sum)
    [ "$now" = "${last_capture:-}" ] && return 0
    last_capture=$now
    return 1
}

status=0
if wait_for 60 find_window && wait_for 20 settled; then
    mkdir -p docs
    import -silent -window "$window" -strip docs/screenshot.png
    echo "run-program: saved docs/screenshot.png"
    xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4
else
    echo "run-program: the window \"Spindrel\" did not appear" >&2
    status=1
fi

closed() { ! kill -0 "$program" 2>/dev/null; }
if ! wait_for 20 closed; then
    echo "run-program: the program did not end; stopping it" >&2
    kill "$program"
    status=1
fi
wait "$program"
code=$?
echo "run-program: spindrel.exe exited with code $code"
[ "$code" = 0 ] || status=1
exit $status
