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

# The archive the benchmark generates, kept; its decoding figure comes with it (the in-process export figure:
# --benchmark_filter=BM_ExportEveryIcon).
PIXMOND_BENCH_ARCHIVE="$work/bench.dat" "$bench" --benchmark_filter='BM_DecodeEveryIcon' 2>/dev/null |
  grep '^BM_' || true

now() { date +%s.%N; }
"$cli" export "$work/bench.dat" --all-entries --type bmp -o "$work/bmp" >/dev/null
files=$(find "$work/bmp" -type f | wc -l)
sync
t0=$(now); TIMEFORMAT='%U %S'; ours_cpu=$( { time "$cli" export "$work/bench.dat" --all-entries --type png -o "$work/png" >/dev/null; } 2>&1 ); t1=$(now)
sync
mkdir -p "$work/magick"
t2=$(now); theirs_cpu=$( { time (cd "$work/bmp" && find . -type f -print0 | xargs -0 mogrify -format png -path "$work/magick"); } 2>&1 ); t3=$(now)
ours=$(echo "$t1 - $t0" | bc -l); theirs=$(echo "$t3 - $t2" | bc -l)
oc=$(echo "$ours_cpu" | awk '{print $1 + $2}'); tc=$(echo "$theirs_cpu" | awk '{print $1 + $2}')
printf '%d pictures\n' "$files"
printf 'pixmond-cli export --all-entries (decode + PNG): wall %.2f s, processor %.2f s\n' "$ours" "$oc"
printf 'ImageMagick mogrify (BMP -> PNG):              wall %.2f s, processor %.2f s\n' "$theirs" "$tc"
printf 'ratio pixmond / ImageMagick: wall %.2f, processor %.2f\n' "$(echo "$ours / $theirs" | bc -l)" "$(echo "$oc / $tc" | bc -l)"
echo "(pixmond gives each new picture its name only when it is complete and flushes them all to disk at the end;"
echo " ImageMagick does not flush)"
