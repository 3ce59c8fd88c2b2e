#!/usr/bin/env bash
# Draws each browser on the sample without a display, once for every menu of its menu bar with that menu open, and
# writes OUT_DIR/folder-MENU.png and OUT_DIR/archive-MENU.png; then the same at the window's least size as
# OUT_DIR/least/... (the window cannot be made smaller than its views need).
# Usage: scripts/menu-screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="${2:-docs/menus}"
. scripts/offscreen-sample.sh
for size in 1000x720 1x1; do
  dir="$out"
  [ "$size" = 1x1 ] && dir="$out/least"
  mkdir -p "$dir"
  "$build/pixmond" --folder "$work/sample" --select TIGER.SHP --size "$size" --screenshot "$dir/folder.png" --menus
  "$build/pixmond" --folder "$work/sample" --select TIGER.SHP --size "$size" --screenshot "$dir/archive.png" --menus \
    "$work/sample/demo.dat"
done
ls "$out"/*.png "$out"/least/*.png
