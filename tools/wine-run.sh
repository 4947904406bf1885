#!/usr/bin/env bash
# Runs one Windows program under Wine and passes its exit code through:
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
# It is CTest's emulator for the Windows builds. It makes the shared prefix on
# first use, starts a virtual display when there is none, and ends only what it
# started itself; a wineserver that was already running is left alone.
set -uo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 PROGRAM.exe [ARGS...]" >&2
    exit 2
fi

. "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/wine-env.sh"
spindrel_wine_env
trap spindrel_wine_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

spindrel_wine_start_display || exit 1
spindrel_wine_ensure_prefix || exit 1
server_was_running=0
spindrel_wine_server_running && server_was_running=1

# Windows text-mode output ends lines with CR LF; whatever reads a pipe here
# (CTest's test discovery above all) is a Unix tool that expects LF alone.
if [ -t 1 ]; then
    spindrel_wine "$@"
    rc=$?
else
    spindrel_wine "$@" | tr -d '\r'
    rc=${PIPESTATUS[0]}
fi

# A server started on our behalf serves every other program started meanwhile,
# so it is awaited rather than killed; it leaves once the last one has ended.
[ "$server_was_running" = 1 ] || wineserver -w
exit $rc
