#!/usr/bin/env bash
# Draws the folder browser, the archive browser and the tool dialogs on the sample without a display and writes
# docs/folder-browser.png, docs/archive-browser.png and docs/dialog-NAME.png beside them; with LEAST_DIR, each
# dialog also at its least size as LEAST_DIR/dialog-NAME-least.png.
# Usage: scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png] [ARCHIVE_OUTPUT.png] [LEAST_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
output="${2:-docs/folder-browser.png}"
archive_output="${3:-docs/archive-browser.png}"
least="${4:-}"
. scripts/offscreen-sample.sh
mkdir -p "$(dirname "$output")"
"$build/pixmond" --folder "$work/sample" --select TIGER.SHP --size 1000x720 --screenshot "$output"
echo "wrote $output"
"$build/pixmond" --folder "$work/sample" --size 1000x720 --screenshot "$archive_output" "$work/sample/demo.dat"
echo "wrote $archive_output"

# The tools: bitmaps for the Shp maker, and a palette whose first colours differ from the game's.
"$build/pixmond-cli" export "$work/sample/TIGER.SHP" --all -o "$work/sample" >/dev/null
{
  printf 'JASP-PAL\nOrvel Shp Tool\n256\n'
  for i in $(seq 0 31); do printf '%d %d %d\n' $((i * 8)) $((255 - i * 8)) 128; done
} >"$work/sample/PSP_demo.pal"
docs="$(dirname "$output")"
for dialog in shpmaker catalog converter block palettes; do
  select=()
  [ "$dialog" = palettes ] && select=(--select PSP_demo.pal)
  [ "$dialog" = block ] && select=(--select TIGER.SHP)
  "$build/pixmond" --folder "$work/sample" "${select[@]}" --dialog "$dialog" --screenshot "$docs/dialog-$dialog.png"
  echo "wrote $docs/dialog-$dialog.png"
  if [ -n "$least" ]; then
    mkdir -p "$least"
    # A size below the dialog's least gives the dialog at its least.
    "$build/pixmond" --folder "$work/sample" "${select[@]}" --dialog "$dialog" --size 1x1 \
      --screenshot "$least/dialog-$dialog-least.png"
    echo "wrote $least/dialog-$dialog-least.png"
  fi
done
