#!/usr/bin/env bash
# Runs a Windows program under Wine with a private prefix inside the build
# folder, no display and no Wine chatter; waits for the wine server to go so
# nothing outlives the run.
#   run_wine.sh <prefix> --boot              create the prefix
#   run_wine.sh <prefix> <program.exe> args  run a program, its exit code is ours
# Without Wine this fails: the Windows build is not tested, and must not look
# as if it were.
set -euo pipefail
prefix=$1
shift

for tool in wine wineboot wineserver; do
  if ! command -v "$tool" >/dev/null; then
    echo "ERROR: '$tool' not found: the Windows build cannot be tested." >&2
    echo "Install wine and wine32 (i386 architecture): run 'make deps' as root." >&2
    exit 1
  fi
done

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
# A 32-bit prefix: the host is a 32-bit program, and it boots faster.
export WINEARCH=win32

stop_server() { wineserver -w 2>/dev/null || true; }
trap stop_server EXIT

if [[ ! -f $prefix/system.reg ]]; then
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  wineboot -i </dev/null
  wineserver -w
fi
[[ $1 == --boot ]] && exit 0

program=$1
shift
args=()
for arg in "$@"; do
  # Paths of the build folder become Windows paths (Z: is the Unix root).
  if [[ $arg == /* ]]; then args+=("Z:${arg//\//\\}"); else args+=("$arg"); fi
done
wine "$program" "${args[@]}" </dev/null
