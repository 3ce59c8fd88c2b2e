#!/usr/bin/env bash
# A long fuzzing campaign (not run by ./test.sh): each named target of the fuzz build $1 runs until it has tried
# $2 inputs (default 10 million), from a copy of its seed corpus; prints the executions, the time taken and the
# inputs a second, and keeps the grown corpus and any crashing input in $3 (default a new temporary folder).
# Usage: fuzz/campaign.sh build-fuzz 10000000 /tmp/campaign fuzz_keep fuzz_shp ...
# MAX_LEN=4096 in the environment caps the input length (default 65536); a corpus already in $3 is kept and grown.
set -euo pipefail
dir=$1; runs=${2:-10000000}; out=${3:-$(mktemp -d)}; shift 3
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
mkdir -p "$out"
for name in "$@"; do
  target="$dir/fuzz/$name"
  [ -x "$target" ] || { echo "campaign: $target not built" >&2; exit 1; }
  # The binary is copied, so a rebuild during a campaign of hours does not pull it away.
  cp "$target" "$out/$name.bin"
  mkdir -p "$out/$name.corpus" "$out/$name.crashes"
  [ -d "$seeds/$name" ] && cp -Rn "$seeds/$name/." "$out/$name.corpus/"
  start=$(date +%s)
  status=0
  "$out/$name.bin" -runs="$runs" -max_len="${MAX_LEN:-65536}" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/$name.crashes/" "$out/$name.corpus" >"$out/$name.log" 2>&1 || status=$?
  seconds=$(( $(date +%s) - start ))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log")
  echo "campaign: $name: ${executed:-?} executions in ${seconds} s ($(( ${executed:-0} / (seconds > 0 ? seconds : 1) )) a second)," \
       "exit $status, $(ls "$out/$name.crashes" | grep -cv '^slow-unit-') failing inputs" \
       "($(ls "$out/$name.crashes" | grep -c '^slow-unit-') slow ones kept to look at), corpus $(ls "$out/$name.corpus" | wc -l) files"
done
