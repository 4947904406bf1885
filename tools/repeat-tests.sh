#!/usr/bin/env bash
# Runs the Windows test suites again and again, as tools/run-tests.sh runs them
# (one display, one persistent wineserver, the desktop held), to find the faults
# that come only now and then:
#   tools/repeat-tests.sh [TIMES] [PRESET...]     (default: 30 times, win32 and win64)
# The builds must exist (tools/run-tests.sh makes them). Each run's log is kept
# in build/repeat/, with what tools/wine-run.sh did about Wine's faults (and
# what Wine told it then); every failed test and every such event is listed
# with its run. SPINDREL_LOAD=N adds N busy processes for
# the whole loop, to see the suites on a loaded machine.
set -uo pipefail

repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo" || exit 1
times=${1:-30}
shift
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64)

. tools/wine-env.sh
spindrel_wine_env
load=()
stop_all() {
    [ ${#load[@]} -gt 0 ] && kill "${load[@]}" 2>/dev/null
    spindrel_wine_stop
}
trap stop_all EXIT
if [ -n "$SPINDREL_WINE32_MISSING" ]; then
    presets=("${presets[@]/win32}")
    echo "repeat-tests: 64-bit programs only: $SPINDREL_WINE32_MISSING"
fi
spindrel_wine_start_display || exit 1
spindrel_wine_ensure_prefix || exit 1
spindrel_wine_start_server
spindrel_wine_hold_desktop build/win64/bin/hold_desktop.exe
for _ in $(seq "${SPINDREL_LOAD:-0}"); do
    yes >/dev/null &
    load+=($!)
done

logs=build/repeat
rm -rf "$logs"
mkdir -p "$logs"
failed_runs=0
for i in $(seq "$times"); do
    for preset in "${presets[@]}"; do
        [ -n "$preset" ] || continue
        log=$logs/$i-$preset.log
        export SPINDREL_WINE_EVENTS=$repo/$logs/$i-$preset-events
        start=$(date +%s)
        ctest --preset "$preset" </dev/null >"$log" 2>&1
        rc=$?
        failures=$(grep -E '^[[:space:]]*[0-9]+ - .* \((Failed|Timeout|Not Run|SEGFAULT|Exception)\)' "$log" | sed 's/^[[:space:]]*[0-9]* - //')
        line="run $i $preset: $(( $(date +%s) - start )) s"
        if [ "$rc" != 0 ]; then
            failed_runs=$((failed_runs + 1))
            line="$line, FAILED: ${failures:-see $log}"
        fi
        for event in "$SPINDREL_WINE_EVENTS"/*; do
            [ -e "$event" ] && echo "   run $i $preset: $(basename "${event%.*}"): $(head -n 1 "$event")"
        done
        echo "$line"
    done
done
echo "repeat-tests: $failed_runs failed suite runs of $(( times * ${#presets[@]} )); logs in $logs"
[ "$failed_runs" = 0 ]
