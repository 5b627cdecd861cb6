#!/usr/bin/env bash
# Start-up time of the GUI program: runs the whole process
#   build/bin/mirandel --workspace <fresh temporary folder> --quit-after-show
# on the offscreen platform N times (default 15) and prints the median wall
# time in milliseconds. The first run is a warm-up and is not counted.
#   bench/startup.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
exe=build/bin/mirandel
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the target mirandel first" >&2
  exit 1
fi
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_once() {
  local ws
  ws=$(mktemp -d "$work/ws.XXXXXX")
  local start end
  start=$(date +%s%N)
  "$exe" --workspace "$ws" --quit-after-show >/dev/null 2>&1
  end=$(date +%s%N)
  if [ ! -f "$ws/Mirandel.xml" ]; then
    echo "run did not reach the close of the main window" >&2
    exit 1
  fi
  echo $(( (end - start) / 1000000 ))
}

run_once >/dev/null
times=()
for _ in $(seq "$runs"); do
  times+=("$(run_once)")
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(printf '%s\n' "$sorted" | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print int((a[NR/2]+a[NR/2+1])/2)}')
echo "mirandel start-up (whole process, offscreen, $runs runs): median ${median} ms" \
     "(min $(printf '%s\n' "$sorted" | head -1) ms, max $(printf '%s\n' "$sorted" | tail -1) ms)"
