#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample archive and opens the program on it.
# Without a display it says so, lists the sample with the command line and draws both browsers into pictures.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh build -DPIXMOND_GUI=ON
sample=build/sample
rm -rf "$sample"  # the sample packs its whole folder: start from an empty one
build/pixmond-cli sample "$sample" >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the window cannot open here."
  echo "== pixmond-cli list $sample/demo.dat"
  build/pixmond-cli list "$sample/demo.dat"
  if [ -x build/pixmond ]; then
    shots=build/screenshots
    scripts/screenshot.sh build "$shots/folder-browser.png" "$shots/archive-browser.png" >/dev/null
    echo "Pictures of the window drawn offscreen: $shots/folder-browser.png and $shots/archive-browser.png"
  fi
  echo "On a machine with a display, ./run.sh opens the program on $sample/demo.dat."
  exit 0
fi
if [ -x build/pixmond ]; then
  exec build/pixmond --folder "$sample" "$sample/demo.dat"
fi
build/pixmond-cli list "$sample/demo.dat" 2>/dev/null || ls -l "$sample"
