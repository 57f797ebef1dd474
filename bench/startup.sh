#!/usr/bin/env bash
# Start-up time of Fetchlets against bare programs, pinned to one processor.
# Alternates, run by run: the honest floor first ("bare_window 83 full bars":
# as many child windows of each kind as the main window creates, 83 standard
# controls under a tab strip with the page names and the system's own toolbar
# and status bar, most hidden, the lists filled, one Tahoma font), the earlier
# floor without the bars and with 74 children ("bare_window 74 full"), a bare
# window with 74 standard controls (FL_BENCH_CONTROLS changes the 74),
# Fetchlets on the sample catalog, Fetchlets on five generated catalogs of
# 5,000 entries each, and a bare window with the program's manifest. Prints
# each one's median start-up time (from process creation to a shown window)
# over RUNS runs (9 by default) and its ratio to the honest floor.
#
#   bench/startup.sh [RUNS] [path/to/Fetchlets.exe]
#
# FL_BENCH_UNINSTALL=5000 writes that many products into the machine's
# uninstall list of the prefix for the runs (and removes them afterwards), so
# that Fetchlets starts on a machine with many installed programs.
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
. "$root/bench/copies.sh"
fl_bench_copies
controls=${FL_BENCH_CONTROLS:-74}
# FL_BENCH_BEFORE=path/to/older/Fetchlets.exe adds that build to the same
# alternation (on both catalogs), for before-and-after figures of one run.
before=${FL_BENCH_BEFORE:-}
if [ -n "$before" ]; then
  mkdir -p "$work/before-sample" "$work/before-large"
  cp "$before" "$work/before-sample/Fetchlets.exe"
  cp "$before" "$work/before-large/Fetchlets.exe"
  cp -r "$root/data/Data" "$work/before-sample/"
fi

uninstall=${FL_BENCH_UNINSTALL:-0}
if [ "$uninstall" -gt 0 ]; then
  key='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\FLBench-'
  {
    printf 'REGEDIT4\r\n'
    for ((i = 1; i <= uninstall; i++)); do
      printf '\r\n[%s%05d]\r\n"DisplayName"="Bench Product %05d"\r\n' "$key" "$i" "$i"
    done
  } >"$work/uninstall.reg"
  {
    printf 'REGEDIT4\r\n'
    for ((i = 1; i <= uninstall; i++)); do
      printf '\r\n[-%s%05d]\r\n' "$key" "$i"
    done
  } >"$work/uninstall-remove.reg"
fi

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  . "$1/scripts/wine-env"
  fl_wine_prefix
  work=$2 bin=$3 runs=$4 controls=$5
  taskset -c 1 wineserver -p
  wine "$bin/synthetic_catalogs.exe" "$(winepath -w "$work/large/Data")" 500 10
  programs=("$(winepath -w "$bin/bare_window.exe") 83 full bars"
            "$(winepath -w "$bin/bare_window.exe") $controls full"
            "$(winepath -w "$bin/bare_window.exe") $controls"
            "$(winepath -w "$work/sample/Fetchlets.exe")"
            "$(winepath -w "$work/large/Fetchlets.exe")"
            "$(winepath -w "$bin/bare_window.exe")")
  if [ -d "$work/before-large" ]; then
    cp -r "$work/large/Data" "$work/before-large/"
    programs+=("$(winepath -w "$work/before-sample/Fetchlets.exe")"
               "$(winepath -w "$work/before-large/Fetchlets.exe")")
  fi
  if [ -f "$work/uninstall.reg" ]; then
    wine regedit /S "$(winepath -w "$work/uninstall.reg")"
    echo "uninstall list: $(grep -c DisplayName "$work/uninstall.reg") products added for the runs"
  fi
  taskset -c 1 wine "$bin/startup_bench.exe" "$runs" "${programs[@]}"
  if [ -f "$work/uninstall-remove.reg" ]; then
    wine regedit /S "$(winepath -w "$work/uninstall-remove.reg")"
  fi
  wineserver -k >/dev/null 2>&1 || true
' _ "$root" "$work" "$bin" "$runs" "$controls"
