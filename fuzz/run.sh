#!/usr/bin/env bash
# Runs every fuzz target in the build folder $1 for $2 seconds each; any crash fails. Each target starts from a
# copy of its seed corpus in fuzz/corpus/<target>/ (scripts/make-fuzz-seeds.sh writes it), so the seeds stay as
# they are in the repository.
set -euo pipefail
dir=${1:-build-fuzz}; seconds=${2:-10}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
corpus_root=$(mktemp -d); trap 'rm -rf "$corpus_root"' EXIT
found=0
for target in "$dir"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  mkdir -p "$corpus_root/$name"
  [ -d "$seeds/$name" ] && cp -R "$seeds/$name/." "$corpus_root/$name/"
  echo "fuzz: $name for ${seconds}s from $(ls "$corpus_root/$name" | wc -l) seeds"
  "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 "$corpus_root/$name" 2>"$corpus_root/$name.log" \
    || { tail -n 60 "$corpus_root/$name.log"; exit 1; }
done
[ $found -eq 1 ] || echo "fuzz: no targets built"
