#!/usr/bin/env bash
# Builds and tests everything: the native build (with sanitizers) and the 32-
# and 64-bit Windows builds, whose tests run under Wine on a virtual display.
# Every preset is tested even when an earlier one fails; the exit code is
# non-zero when any of them failed. Where this machine cannot run 32-bit
# programs (or SPINDREL_WINE64_ONLY=1), the 32-bit build is made but its tests
# are not run; the summary says so and counts them as skipped.
set -uo pipefail

repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo" || exit 1
presets=(native win32 win64)

bash tools/setup.sh </dev/null || exit 1

. tools/wine-env.sh
spindrel_wine_env
trap spindrel_wine_stop EXIT
if [ -n "$SPINDREL_WINE32_MISSING" ]; then
    echo "run-tests: 64-bit Windows programs only: $SPINDREL_WINE32_MISSING"
fi

millis() { echo $(( $(date +%s%N) / 1000000 )); }
seconds_since() { local ms=$(( $(millis) - $1 )); printf '%d.%d s' $((ms / 1000)) $((ms % 1000 / 100)); }
timings=()

declare -A status
for preset in "${presets[@]}"; do
    start=$(millis)
    if cmake --preset "$preset" && cmake --build --preset "$preset" -j2; then
        status[$preset]=built
    else
        status[$preset]="build FAILED"
    fi
    timings+=("$preset: configure + build $(seconds_since "$start")")
done

# One display and one persistent wineserver serve every Windows test, which
# spares each test the start-up of Wine's services. Without a prefix no Windows
# test can run, so its failure ends the run here.
start=$(millis)
spindrel_wine_start_display || exit 1
if ! spindrel_wine_ensure_prefix; then
    echo "run-tests: stopped: no Wine prefix" >&2
    exit 1
fi
spindrel_wine_start_server
spindrel_wine_hold_desktop build/win64/bin/hold_desktop.exe
# What tools/wine-run.sh had to do about Wine's faults, one file an event.
export SPINDREL_WINE_EVENTS=$repo/build/wine-events
rm -rf "$SPINDREL_WINE_EVENTS"
timings+=("wine: display + prefix + server $(seconds_since "$start")")

failed=0
declare -A summary ctest_skipped
for preset in "${presets[@]}"; do
    if [ "${status[$preset]}" != built ]; then
        summary[$preset]="${status[$preset]}"
        failed=1
        continue
    fi
    if [ "$preset" = win32 ] && [ -n "$SPINDREL_WINE32_MISSING" ]; then
        summary[$preset]="not run: $SPINDREL_WINE32_MISSING"
        continue
    fi
    start=$(millis)
    log=$(mktemp)
    ctest --preset "$preset" </dev/null 2>&1 | tee "$log"
    if [ "${PIPESTATUS[0]}" != 0 ]; then
        failed=1
    fi
    summary[$preset]=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
    [ -n "${summary[$preset]}" ] || summary[$preset]="ctest FAILED before running tests"
    # ctest counts a test that skipped itself as passed; the summary does not.
    ctest_skipped[$preset]=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log")
    rm -f "$log"
    timings+=("$preset: ctest $(seconds_since "$start")")
done

echo
echo "== Timings"
printf '   %s\n' "${timings[@]}"
# A preset that failed to build or to run its tests counts as one failure. The
# 32-bit tests that could not run are the same programs as the 64-bit ones, so
# they are counted as skipped in the number the 64-bit run had.
echo "== Summary"
passed=0
failures=0
skipped=0
declare -A counts
for preset in "${presets[@]}"; do
    if [[ "${summary[$preset]:-}" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        counts[$preset]=${BASH_REMATCH[2]}
        failures=$(( failures + BASH_REMATCH[1] ))
        passed=$(( passed + BASH_REMATCH[2] - BASH_REMATCH[1] - ${ctest_skipped[$preset]:-0} ))
        skipped=$(( skipped + ${ctest_skipped[$preset]:-0} ))
    elif [[ "${summary[$preset]:-}" == "not run: "* ]]; then
        :
    else
        failures=$(( failures + 1 ))
    fi
done
for preset in "${presets[@]}"; do
    line="${summary[$preset]:-not run}"
    if [[ "$line" == "not run: "* ]]; then
        count=${counts[win64]:-0}
        skipped=$(( skipped + count ))
        line="$line; its $count tests skipped"
    elif [ "${ctest_skipped[$preset]:-0}" -gt 0 ]; then
        line="$line; ${ctest_skipped[$preset]} of them skipped (see the log above for why)"
    fi
    echo "$preset:"
    echo "$line"
done
# events KIND ONE MANY: "N test program(s) <what>" for the events of that kind.
events() {
    local files=("$SPINDREL_WINE_EVENTS/$1".*)
    [ -e "${files[0]}" ] || return 0
    if [ ${#files[@]} = 1 ]; then echo "1 test program $2"; else echo "${#files[@]} test programs $3"; fi
    head -qn 1 "${files[@]}" | sed 's/^/   /'
}
events restarted "started again after Wine failed to start it" "started again after Wine failed to start them"
events ended-after-result "ended after it had written its result and did not end by itself; the result stands" \
    "ended after they had written their results and did not end by themselves; the results stand"
events hung "hung in its tests (failed; what Wine said is in the log above)" "hung in their tests (failed; what Wine said is in the log above)"
if [ "$skipped" -gt 0 ]; then
    echo "Total: $passed passed, $failures failed, $skipped skipped"
else
    echo "Total: $passed passed, $failures failed"
fi
exit $failed
