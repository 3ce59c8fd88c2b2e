#!/usr/bin/env bash
# Exports every icon of a generated archive of 5,000 entries (nine-icon SHP and S16 unit files, PNG sheets) to
# PNG with pixmond-cli, and converts BMP files of the same icons to PNG with ImageMagick, and prints both
# times and their ratio. Usage: bench/export_vs_imagemagick.sh [build folder]   (default: build)
set -euo pipefail
build=${1:-build}
cli="$build/pixmond-cli"
bench="$build/bench/pixmond_bench"
if ! command -v mogrify >/dev/null 2>&1; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get install -y imagemagick >/dev/null
fi
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
export PIXMOND_SETTINGS="$work/settings.ini"

# The archive the benchmark generates, kept; the benchmark's own figures come with it.
PIXMOND_BENCH_ARCHIVE="$work/bench.dat" "$bench" --benchmark_filter='BM_(DecodeEveryIcon|ExportEveryIcon)' 2>/dev/null |
  grep '^BM_' || true

now() { date +%s.%N; }
"$cli" export "$work/bench.dat" --all-entries --type bmp -o "$work/bmp" >/dev/null
files=$(find "$work/bmp" -type f | wc -l)
sync
t0=$(now); "$cli" export "$work/bench.dat" --all-entries --type png -o "$work/png" >/dev/null; t1=$(now)
sync
mkdir -p "$work/magick"
t2=$(now); (cd "$work/bmp" && find . -type f -print0 | xargs -0 mogrify -format png -path "$work/magick"); t3=$(now)
ours=$(echo "$t1 - $t0" | bc -l); theirs=$(echo "$t3 - $t2" | bc -l)
printf '%d pictures\npixmond-cli export --all-entries (decode + PNG) %.2f s\nImageMagick mogrify (BMP -> PNG) %.2f s\nratio %.2f\n' \
  "$files" "$ours" "$theirs" "$(echo "$ours / $theirs" | bc -l)"
