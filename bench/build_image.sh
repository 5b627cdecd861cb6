#!/usr/bin/env bash
# Whole-process time of `mirandel-cli build-image` on a maximal project
# (50 variables, 10 known certificates of 4 KiB, TLS and the known list on):
# runs it N times (default 21) after one warm-up and prints the median wall
# time in milliseconds.
#   bench/build_image.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
cli=build/bin/mirandel-cli
gen=build/bin/bench_image
for exe in "$cli" "$gen"; do
  if [ ! -x "$exe" ]; then
    echo "missing $exe: build the targets mirandel-cli and bench_image first" >&2
    exit 1
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$gen" --write-project "$work/project"

run_once() {
  local start end
  start=$(date +%s%N)
  "$cli" build-image "$work/project" >/dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}

run_once >/dev/null
if [ "$(stat -c %s "$work/project/bin/bank1.bin")" != 2048 ]; then
  echo "build-image did not write bank1.bin" >&2
  exit 1
fi
times=()
for _ in $(seq "$runs"); do
  times+=("$(run_once)")
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
ms() { awk '{printf "%.1f", $1 / 1000}'; }
median=$(printf '%s\n' "$sorted" | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print int((a[NR/2]+a[NR/2+1])/2)}' | ms)
echo "mirandel-cli build-image, maximal project (whole process, $runs runs): median ${median} ms" \
     "(min $(printf '%s\n' "$sorted" | head -1 | ms) ms, max $(printf '%s\n' "$sorted" | tail -1 | ms) ms)" \
     "bank2 $(stat -c %s "$work/project/bin/bank2.bin") bytes"
