#!/usr/bin/env bash
# Idle CPU of the main window: starts Fetchlets on the sample catalog under
# wine on a virtual display, lets it settle, then reads the CPU time of the
# program's process and of the Wine server of its prefix over SECONDS (60 by
# default) of idling, and prints both as a share of one core.
#
#   bench/idle_cpu.sh [path/to/Fetchlets.exe] [SECONDS]
#
# The program runs from a copy of the build's data folder in a temporary
# folder (a settings file of earlier runs changes nothing that matters here).
# Uses the build's own Wine prefix: do not run it while scripts/test runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/win/bin/Fetchlets.exe}
seconds=${2:-60}
. "$root/scripts/wine-env"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/Fetchlets.exe"
cp -r "$root/data/Data" "$work/"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  . "$1/scripts/wine-env"
  fl_wine_prefix
  work=$2 seconds=$3
  wineserver -p
  wine "$work/Fetchlets.exe" >/dev/null 2>&1 &
  sleep 8 # start-up, first paint, the system processes of the prefix
  # The program and the Wine server of this prefix (other prefixes may run
  # programs of the same name at the same time).
  ours() { for p in $(pgrep -x "$1"); do
             tr "\0" "\n" < "/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
               echo "$p"; done; return 0; }
  pid=$(ours Fetchlets.exe | head -n1)
  server=$(ours wineserver64 | head -n1)
  [ -n "$server" ] || server=$(ours wineserver | head -n1)
  [ -n "$pid" ] && [ -n "$server" ] || { echo "program or server not found" >&2; exit 1; }
  # CPU time in nanoseconds, all threads of a process.
  cpu() { cat /proc/$1/task/*/schedstat 2>/dev/null | awk "{s += \$1} END {printf \"%d\", s}"; }
  p0=$(cpu "$pid") s0=$(cpu "$server") t0=$(date +%s%N)
  sleep "$seconds"
  p1=$(cpu "$pid") s1=$(cpu "$server") t1=$(date +%s%N)
  awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v t=$((t1 - t0)) "BEGIN {
    printf \"idle %.0f s: Fetchlets %.3f %%, wineserver %.3f %%, total %.3f %% of a core\n\",
           t / 1e9, 100 * p / t, 100 * s / t, 100 * (p + s) / t }"
  wineserver -k >/dev/null 2>&1 || true
' _ "$root" "$work" "$seconds"
