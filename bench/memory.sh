#!/usr/bin/env bash
# Private memory after start-up under Wine: starts each program, waits until
# its window is shown and painted (2 s), reads the private memory of its
# Linux process (Private_Clean + Private_Dirty of /proc/PID/smaps_rollup:
# what the process alone holds, Wine's own part included alike for all) and
# ends it. Alternates the programs run by run; prints each one's median in
# MiB and its difference to the honest floor (bare_window 83 full bars: as
# many child windows of each kind as the main window, the two bars
# included); the earlier floor (bare_window 74 full) is listed beside it.
#
#   bench/memory.sh [RUNS] [path/to/Fetchlets.exe]
#
# Uses the build's own Wine prefix: do not run it while scripts/test runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
exe=${2:-$root/build/win/bin/Fetchlets.exe}
bin=$root/build/win/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$root/bench/copies.sh"
fl_bench_copies
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  . "$1/scripts/wine-env"
  fl_wine_prefix
  work=$2 bin=$3 runs=$4
  wineserver -p
  wine "$bin/synthetic_catalogs.exe" "$(winepath -w "$work/large/Data")" 500 10
  names=("floor (bare_window 83 full bars)" "bare_window 74 full" "Fetchlets, sample catalog" "Fetchlets, five 5,000-entry catalogs")
  cmds=("$bin/bare_window.exe|83 full bars" "$bin/bare_window.exe|74 full" "$work/sample/Fetchlets.exe|" "$work/large/Fetchlets.exe|")
  declare -A samples
  for ((r = 0; r < runs; r++)); do
    for i in "${!cmds[@]}"; do
      prog=${cmds[$i]%%|*} args=${cmds[$i]#*|}
      (cd "$(dirname "$prog")" && exec wine "$(basename "$prog")" $args) >/dev/null 2>&1 &
      launcher=$!
      pid=""
      for _ in $(seq 100); do
        # The Windows process: its command line starts with the program'"'"'s
        # name or path (this script'"'"'s own starts with "bash").
        pid=$(pgrep -n -f "^([A-Za-z]:)?[^ ]*$(basename "$prog")" || true)
        [ -n "$pid" ] && [ -r /proc/$pid/smaps_rollup ] && break
        sleep 0.1
      done
      sleep 2
      if [ -n "$pid" ]; then
        kib=$(awk "/^Private_(Clean|Dirty):/ {s += \$2} END {print s}" /proc/$pid/smaps_rollup 2>/dev/null || echo 0)
        samples[$i]="${samples[$i]:-} $kib"
        kill "$pid" 2>/dev/null
      else
        echo "memory.sh: $(basename "$prog") was not found running" >&2
      fi
      kill "$launcher" 2>/dev/null
      wait "$launcher" 2>/dev/null || true
      sleep 0.3
    done
  done
  median() { printf "%s\n" $1 | sort -n | awk "{a[NR]=\$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}"; }
  floor=$(median "${samples[0]}")
  printf "%-40s %12s %12s\n" program "private" "to floor"
  for i in "${!cmds[@]}"; do
    m=$(median "${samples[$i]}")
    awk -v n="${names[$i]}" -v m="$m" -v f="$floor" "BEGIN {printf \"%-40s %9.1f MiB %+9.1f MiB\n\", n, m / 1024, (m - f) / 1024}"
  done
  wineserver -k >/dev/null 2>&1 || true
' _ "$root" "$work" "$bin" "$runs"
