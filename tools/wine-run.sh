#!/usr/bin/env bash
# Runs one Windows program under Wine and passes its exit code through:
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
# It is CTest's emulator for the Windows builds. It makes the shared prefix on
# first use, starts a virtual display when there is none, and ends only what it
# started itself; a wineserver that was already running is left alone.
#
# A GoogleTest program (one run with --gtest_filter or --gtest_list_tests) is
# watched, so that a fault of Wine's outside the test's own code costs no
# verdict. Its output passes through unbuffered, and GoogleTest writes its
# result file, so the wrapper knows where the program is:
# - it wrote its result and has not ended SPINDREL_WINE_GRACE (10) s later:
#   the program is ended and the recorded result is its verdict;
# - it ended, or was still going SPINDREL_WINE_START_LIMIT (30) s after it was
#   started, without having begun a test: Wine failed to start it, so it is
#   started once more, with Wine's process and loader messages kept;
# - it is still in its tests SPINDREL_TEST_DEADLINE (120) s after it began: it
#   has hung, and fails like any failing test.
# The last two leave, before the program is ended, what Wine can tell: every
# Wine process and a backtrace of each of its threads (winedbg). Each event is
# reported in the output and, when SPINDREL_WINE_EVENTS names a folder, in a
# file there, which tools/run-tests.sh counts in its summary.
set -uo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
    exit 2
fi

. "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/wine-env.sh"
spindrel_wine_env
work=""
cleanup() {
    [ -n "$work" ] && rm -rf "$work"
    spindrel_wine_stop
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

spindrel_wine_start_display || exit 1
spindrel_wine_ensure_prefix || exit 1
server_was_running=0
spindrel_wine_server_running && server_was_running=1

# A server started on our behalf serves every other program started meanwhile,
# so it is awaited rather than killed; it leaves once the last one has ended.
finish() {
    [ "$server_was_running" = 1 ] || wineserver -w
    exit "$1"
}

gtest=""
for arg in "$@"; do
    case $arg in
    --gtest_filter=*) gtest=${arg#--gtest_filter=} ;;
    --gtest_list_tests) gtest="(the list of tests)" ;;
    esac
done

# Windows text-mode output ends lines with CR LF; whatever reads our output
# (CTest's test discovery above all) is a Unix tool that expects LF alone. The
# CRs are taken out unbuffered, so that no byte is held back from CTest's log
# when the run is ended.
strip_cr() {
    if [ -t 1 ]; then cat; else stdbuf -o0 tr -d '\r'; fi
}

if [ -z "$gtest" ]; then
    spindrel_wine "$@" | strip_cr
    finish "${PIPESTATUS[0]}"
fi

program_name=$(basename "$1")
grace=${SPINDREL_WINE_GRACE:-10}
start_limit=${SPINDREL_WINE_START_LIMIT:-30}
deadline=${SPINDREL_TEST_DEADLINE:-120}
work=$(mktemp -d)
result=$work/result.xml
output=$work/output

# Our words go to the error output: the output of a list of tests is read by
# CTest, line by line.
say() { echo "wine-run: $*" >&2; }

# report EVENT TEXT: says what happened, in the output and as a file of events.
report() {
    say "$2"
    if [ -n "${SPINDREL_WINE_EVENTS:-}" ] && mkdir -p "$SPINDREL_WINE_EVENTS"; then
        local file
        file=$(mktemp "$SPINDREL_WINE_EVENTS/$1.XXXXXX")
        { echo "$program_name $gtest: $2"; cat "$work/diagnosis" 2>/dev/null; } >"$file"
    fi
}

# debugger SECONDS [ARGS...]: Wine's debugger, given at most SECONDS. It runs as
# a program of its own (its path, not its name, which Wine would hand to
# start.exe) and writes to a file, so that nothing it leaves behind, should it
# hang on a process in a bad state, can hold a pipe of ours open.
debugger() {
    local limit=$1 winedbg=$WINEPREFIX/drive_c/windows/system32/winedbg.exe
    shift
    WINEDEBUG=-all timeout -k 5 "$limit" "$(spindrel_wine_loader "$winedbg")" "$winedbg" "$@" >"$work/debugger" 2>&1
    cat "$work/debugger"
}

# What Wine can tell about a program that is to be ended: whether it wrote its
# result, the Wine processes alive, and where each of their threads waits.
diagnose() {
    {
        if [ -s "$result" ]; then
            echo "its result file: $(grep -m1 -o '<testsuites [^>]*' "$result")"
        else
            echo "its result file: not written"
        fi
        echo "Wine's processes:"
        debugger 20 --command "info proc"
        echo "their threads:"
        printf 'bt all\nquit\n' | debugger 90 | grep -E '^(Backtracing|=>|  [1-4] )' | cut -c1-200
    } >"$work/diagnosis" 2>&1
    cat "$work/diagnosis" >&2
}

# run_once [ERRORS]: runs the program with its result file, relaying its
# output, until it ends or is ended. Every process it starts inherits its output
# and error output, and one left behind must not hold a pipe on whose end CTest
# waits: the output goes to a file, relayed from there until the program has
# ended; the error output (Wine's own messages) goes to the file ERRORS, or is
# passed on after it ends. Sets verdict: "ended" (it ended by itself), "result"
# (ended after writing its result), "unstarted" (it never began a test) or
# "hung"; and rc, its exit code.
run_once() {
    local errors=${1:-$work/errors} start=$SECONDS began="" written="" pid relay
    rm -f "$result"
    : >"$output"
    : >"$errors"
    "$(spindrel_wine_loader "$program")" "$program" "${args[@]}" \
        "--gtest_output=xml:Z:${result//\//\\}" >"$output" 2>"$errors" &
    pid=$!
    tail -n +1 -s 0.2 --pid="$pid" -f "$output" | strip_cr &
    relay=$!
    verdict=ended
    while kill -0 "$pid" 2>/dev/null; do
        [ -n "$began" ] || ! grep -q '^\[ RUN      \]' "$output" || began=$SECONDS
        [ -n "$written" ] || ! grep -q '</testsuites>' "$result" 2>/dev/null || written=$SECONDS
        if [ -n "$written" ]; then
            [ $((SECONDS - written)) -lt "$grace" ] || verdict=result
        elif [ -n "$began" ]; then
            [ $((SECONDS - began)) -lt "$deadline" ] || verdict=hung
        else
            [ $((SECONDS - start)) -lt "$start_limit" ] || verdict=unstarted
        fi
        if [ "$verdict" != ended ]; then
            diagnose
            kill -KILL "$pid" 2>/dev/null
            break
        fi
        sleep 0.2
    done
    wait "$pid" 2>/dev/null
    rc=$?
    # The relay passes on the last bytes and ends with the program.
    wait "$relay" 2>/dev/null
    [ -n "${1:-}" ] || cat "$work/errors" >&2
    [ "$verdict" != ended ] || [ -n "$began" ] || [ -s "$result" ] || verdict=unstarted
}

program=$1
shift
args=("$@")
run_once
if [ "$verdict" = unstarted ]; then
    report restarted "$program_name did not begin its first test (exit code $rc): Wine failed to start it, so it is started once more"
    # Wine's messages about starting processes and loading modules, which
    # say where a start fails, kept apart from the program's own output.
    WINEDEBUG=+process,+loaddll run_once "$work/winedebug"
    if [ "$verdict" = unstarted ]; then
        say "$program_name did not begin its first test the second time either; Wine said:"
        tail -n 60 "$work/winedebug" >&2
    fi
fi
case $verdict in
result)
    # GoogleTest counts failed tests as failures and tests it could not run as errors.
    rc=1
    grep -m1 '<testsuites ' "$result" | grep -q ' failures="0"' &&
        grep -m1 '<testsuites ' "$result" | grep -q ' errors="0"' && rc=0
    report ended-after-result "$program_name wrote its result and had not ended $grace s later: it was ended, and its recorded result (exit code $rc) stands"
    ;;
hung)
    report hung "$program_name was still in its tests $deadline s after it began: it was ended (see above for what Wine said)"
    rc=124
    ;;
unstarted)
    [ "$rc" != 0 ] || rc=1
    ;;
esac
finish "$rc"
