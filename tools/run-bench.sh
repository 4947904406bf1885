#!/usr/bin/env bash
# Measures Spindrel as its users run it and writes docs/benchmarks.md:
# - the conversion job, natively and optimised (bench/JobBench.cpp);
# - the size and imports of spindrel.exe as it ships (presets win32-release and
#   win64-release), against the floor program built the same way;
# - under Wine, for each build that this machine can run: start-up, memory,
#   "Start" with long lists, adding many files at once and a long run
#   (bench/ProgramBenchWin32.cpp), each against its floor.
# Every figure is checked against its goal; the run fails when one is missed or
# cannot be measured, and always says where the report went. It takes long (the
# long lists are filled file by file through the open-file dialog): run it on a
# quiet machine. It uses the Wine prefix of the tests (SPINDREL_WINEPREFIX), in
# which it must not run at the same time as they do.
set -uo pipefail
repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
cd "$repo" || exit 1
report=$repo/docs/benchmarks.md
status=0

bash tools/setup.sh </dev/null || exit 1
. tools/wine-env.sh
spindrel_wine_env
trap spindrel_wine_stop EXIT

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# The native job benchmark.
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build build/bench -j2 --target job_bench || exit 1
job=$(build/bench/bin/job_bench) || status=1
echo "$job"

presets=(win32-release win64-release)
for preset in "${presets[@]}"; do
    { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j2; } || exit 1
done

# size_row PRESET: adds its row to the size table. cmake/CheckProgram.cmake, which the
# test run uses too, lists the imported DLLs and fails on one that is not a system DLL.
size_row() {
    local build=build/$1 objdump windres check exe floor imports
    objdump=$(sed -n 's/^CMAKE_OBJDUMP:FILEPATH=//p' "$build/CMakeCache.txt")
    windres=$(sed -n 's/^set(CMAKE_RC_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeRCCompiler.cmake | head -n 1)
    check=$(cmake -DPROGRAM="$build/bin/spindrel.exe" -DLIMIT=1000000000 -DOBJDUMP="$objdump" \
        -DWINDRES="$windres" -P cmake/CheckProgram.cmake 2>&1) || imports_goal="**missed**: $(grep -o 'the program imports.*' <<<"$check")."
    imports=$(sed -n 's/^-- imports //p' <<<"$check" | paste -sd ' ')
    exe=$(stat -c %s "$build/bin/spindrel.exe")
    floor=$(stat -c %s "$build/bench/floor_window.exe")
    sizes+="| $1 | $exe bytes ($((exe / 1024)) KB) | $floor bytes | $(awk "BEGIN { printf \"%.1f\", $exe / $floor }") | $imports |"$'\n'
}

imports_goal="**met**."
sizes=""
size_row win32-release
size_row win64-release
size32=$(stat -c %s build/win32-release/bin/spindrel.exe)
if [ "$size32" -le 65536 ]; then
    size_goal="Goal: size of the 32-bit program at most 64 KB: **met**."
else
    size_goal="Goal: size of the 32-bit program at most 64 KB: **missed** by $((size32 - 65536)) bytes."
fi
size_goal+=" Goal: system DLLs only: $imports_goal"
grep -qF '**missed**' <<<"$size_goal" && status=1

spindrel_wine_start_display || exit 1
spindrel_wine_ensure_prefix || exit 1
spindrel_wine_start_server

# wine_figures PRESET: the figures under Wine of one build, as Markdown.
winpath() { echo "Z:$1" | tr / '\\'; }
wine_figures() {
    local build=$repo/build/$1 out code
    if [ "$1" = win32-release ] && [ -n "$SPINDREL_WINE32_MISSING" ]; then
        echo "Not measured: $SPINDREL_WINE32_MISSING, so Wine runs only the 64-bit build here."
        return 0
    fi
    out=$(mktemp)
    echo "run-bench: measuring the $1 build under Wine; this takes long" >&2
    spindrel_wine "$build/bench/program_bench.exe" "$(winpath "$out")" "$(winpath "$build/bin/spindrel.exe")" \
        "$(winpath "$build/bench")" </dev/null >&2
    code=$?
    tr -d '\r' <"$out"
    rm -f "$out"
    return $code
}

machine() {
    echo "- Processor: $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores"
    echo "- Memory: $(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo)"
    echo "- System: $(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)"
    echo "- Wine: $(spindrel_wine --version) ($SPINDREL_WINE_MODE), on Xvfb"
    echo "- Compilers: $(i686-w64-mingw32-g++-posix --version | head -n 1); $(g++ --version | head -n 1)"
    echo "- Load average before the run: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)"
}

# The goals missed in this run, each with its build.
misses() {
    local found
    found=$( { grep -F 'TOO SLOW' <<<"$job" | sed 's/^/the conversion job: /';
               grep -F '**missed**' <<<"$size_goal";
               grep -E '\*\*(missed|The run stopped)\*\*' <<<"$figures32" | sed 's/^/32-bit: /';
               grep -E '\*\*(missed|The run stopped)\*\*' <<<"$figures64" | sed 's/^/64-bit: /'; } | sed 's/^/- /')
    if [ -n "$found" ]; then
        printf 'Goals missed in this run:\n\n%s\n' "$found"
    else
        echo "Every goal measured in this run was met."
    fi
}

# write_report: the report as far as the run has come. It is written after each
# stage, so that a run that stops leaves what it measured.
write_report() {
    mkdir -p docs
    cat >"$report" <<EOF
# Benchmarks

Written by \`tools/run-bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'). Each figure is set against a
floor measured in the same run on the same machine; times are medians with the
smallest and largest run in brackets.

## Machine

$(machine)

## The conversion job (native, optimised)

The best of five rounds of each operation against the least work that gives the
same result.

\`\`\`
$job
\`\`\`

## Size of spindrel.exe as it ships

The exe built by the release presets (\`build/win32-release/bin/spindrel.exe\` and
\`build/win64-release/bin/spindrel.exe\`), against the floor program (it registers a
class and shows one window) built with the same toolchain and flags.

| build | spindrel.exe | floor | ratio | DLLs it imports |
|---|---|---|---|---|
$sizes

$size_goal

## 32-bit build under Wine

$figures32

## 64-bit build under Wine

$figures64

## Closing note

$(misses)

$(cat bench/ClosingNote.md)
EOF
}

figures32="Not measured: the run stopped before it came here."
figures64=$figures32
write_report
figures32=$(wine_figures win32-release) || status=1
write_report
figures64=$(wine_figures win64-release) || status=1
write_report
echo "run-bench: report written to $report"
exit $status
