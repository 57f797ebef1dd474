#!/usr/bin/env bash
# Start-up time of Fetchlets against bare programs, pinned to one processor.
# Alternates, run by run: Fetchlets on the sample catalog, Fetchlets on five
# generated catalogs of 5,000 entries each, a bare window with the program's
# manifest, and a bare window that also creates as many standard controls as
# Fetchlets shows child windows. Prints each one's median start-up time (from
# process creation to a shown window) over RUNS runs (9 by default).
#
#   bench/startup.sh [RUNS] [path/to/Fetchlets.exe]
#
# The machine may be busy with other work: read the ratios of one run, which
# all programs share alike, rather than the absolute times.
# Uses the build's own Wine prefix: do not run it while scripts/test runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-9}
exe=${2:-$root/build/win/bin/Fetchlets.exe}
bin=$root/build/win/bin
. "$root/scripts/wine-env"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/sample" "$work/large/Data"
cp "$exe" "$work/sample/Fetchlets.exe"
cp -r "$root/data/Data" "$work/sample/"
cp "$exe" "$work/large/Fetchlets.exe"
cp "$root/data/Data/"*.d?? "$work/large/Data/"
controls=${FL_BENCH_CONTROLS:-63}

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  . "$1/scripts/wine-env"
  fl_wine_prefix
  work=$2 bin=$3 runs=$4 controls=$5
  taskset -c 1 wineserver -p
  wine "$bin/synthetic_catalogs.exe" "$(winepath -w "$work/large/Data")" 500 10
  taskset -c 1 wine "$bin/startup_bench.exe" "$runs" \
    "$(winepath -w "$bin/bare_window.exe") $controls" \
    "$(winepath -w "$work/sample/Fetchlets.exe")" \
    "$(winepath -w "$work/large/Fetchlets.exe")" \
    "$(winepath -w "$bin/bare_window.exe")"
  wineserver -k >/dev/null 2>&1 || true
' _ "$root" "$work" "$bin" "$runs" "$controls"
