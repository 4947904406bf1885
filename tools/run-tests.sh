#!/usr/bin/env bash
# Builds and tests everything: the native build (with sanitizers) and the 32-
# and 64-bit Windows builds, whose tests run under Wine on a virtual display.
# Every preset is tested even when an earlier one fails; the exit code is
# non-zero when any of them failed.
set -uo pipefail

repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo" || exit 1
presets=(native win32 win64)

bash tools/setup.sh </dev/null || exit 1

. tools/wine-env.sh
spindrel_wine_env
trap spindrel_wine_stop EXIT

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
# spares each test the start-up of Wine's services.
start=$(millis)
spindrel_wine_start_display || exit 1
spindrel_wine_ensure_prefix
spindrel_wine_start_server
timings+=("wine: display + prefix + server $(seconds_since "$start")")

failed=0
declare -A summary
for preset in "${presets[@]}"; do
    if [ "${status[$preset]}" != built ]; then
        summary[$preset]="${status[$preset]}"
        failed=1
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
    rm -f "$log"
    timings+=("$preset: ctest $(seconds_since "$start")")
done

echo
echo "== Timings"
printf '   %s\n' "${timings[@]}"
# A preset that failed to build or to run its tests counts as one failure.
echo "== Summary"
passed=0
failures=0
for preset in "${presets[@]}"; do
    echo "$preset:"
    echo "${summary[$preset]:-not run}"
    if [[ "${summary[$preset]:-}" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failures=$(( failures + BASH_REMATCH[1] ))
        passed=$(( passed + BASH_REMATCH[2] - BASH_REMATCH[1] ))
    else
        failures=$(( failures + 1 ))
    fi
done
echo "Total: $passed passed, $failures failed"
exit $failed
