#!/usr/bin/env bash
# A 100 MB download from a local server: curl against the Downloads window
# (under wine), the same file from the same native server in the same run,
# alternating, three rounds each. Usage (after scripts/build win):
#   bench/downloads_bench.sh [MEGABYTES]
# Prints each round and the medians: throughput of both, their ratio, and the
# user-interface thread's longest stall during the Windows download.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mb=${1:-100}
work=$(mktemp -d /tmp/flbench.XXXXXX)
trap 'kill $server 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/www" "$work/out"
head -c $((mb * 1048576)) /dev/urandom > "$work/www/big.bin"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/www" >/dev/null 2>&1 &
server=$!
url="http://127.0.0.1:$port/big.bin"
for i in $(seq 50); do curl -sf -o /dev/null -r 0-0 "$url" && break; sleep 0.1; done

. "$root/scripts/wine-env"
fl_wine_prefix
winout=$(winepath -w "$work/out" 2>/dev/null)
exe="$root/build/win/bin/downloads_bench_win.exe"

# Every output into files, never a pipe: the system processes of the prefix
# inherit it and would hold it open after the programs end.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p </dev/null >/dev/null 2>&1
  for round in 1 2 3; do
    c=$(curl -s -o "$4/curl.bin" -w "%{speed_download}" "$1")
    rm -f "$4/curl.bin"
    echo "curl $c"
    wine "$2" "$1" "$3" </dev/null >"$4/win.txt" 2>/dev/null
    echo "win $(tr -d "\r" <"$4/win.txt")"
  done
  wineserver -k >/dev/null 2>&1' _ "$url" "$exe" "$winout" "$work/out" >"$work/results.txt" 2>&1
results=$(cat "$work/results.txt")
echo "$results"
echo "$results" | python3 -c '
import sys, statistics, re
curl, win, stall, idle = [], [], [], []
for line in sys.stdin:
    if line.startswith("curl "):
        curl.append(float(line.split()[1]) / 1048576)
    elif line.startswith("win "):
        m = re.search(r"MBps=([\d.]+).*ui_max_stall_ms=([\d.]+).*idle_max_stall_ms=([\d.]+)", line)
        if m:
            win.append(float(m.group(1))); stall.append(float(m.group(2))); idle.append(float(m.group(3)))
c, w = statistics.median(curl), statistics.median(win)
print(f"median curl {c:.1f} MB/s, Downloads window {w:.1f} MB/s, ratio {100*w/c:.0f} %, "
      f"longest UI stall {max(stall):.1f} ms (median of rounds {statistics.median(stall):.1f} ms; "
      f"idle before each download: longest {max(idle):.1f} ms)")
'
