#!/usr/bin/env bash
# Draws the folder browser and the archive browser on the sample without a display and writes
# docs/folder-browser.png and docs/archive-browser.png.
# Usage: scripts/screenshot.sh [BUILD_DIR] [OUTPUT.png] [ARCHIVE_OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
output="${2:-docs/folder-browser.png}"
archive_output="${3:-docs/archive-browser.png}"
for tool in "$build/pixmond" "$build/pixmond-cli"; do
  [ -x "$tool" ] || { echo "missing $tool: build first (scripts/build.sh $build)" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Qt wants a private runtime folder; without one it warns on every start.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$build/pixmond-cli" sample "$work/sample" >/dev/null
mkdir -p "$(dirname "$output")"
# A settings file of its own, so the user's folders and window size neither show nor change.
PIXMOND_SETTINGS="$work/settings.ini" QT_QPA_PLATFORM=offscreen \
  "$build/pixmond" --folder "$work/sample" --select TIGER.SHP --size 1000x720 --screenshot "$output"
echo "wrote $output"
PIXMOND_SETTINGS="$work/settings.ini" QT_QPA_PLATFORM=offscreen \
  "$build/pixmond" --folder "$work/sample" --size 1000x720 --screenshot "$archive_output" "$work/sample/demo.dat"
echo "wrote $archive_output"
