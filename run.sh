#!/usr/bin/env bash
# Installs what is missing, builds, makes the sample archive and opens the program on it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh build -DPIXMOND_GUI=ON
sample=build/sample
build/pixmond-cli sample "$sample"
if [ -x build/pixmond ]; then
  exec build/pixmond --folder "$sample" "$sample/demo.dat"
fi
build/pixmond-cli list "$sample/demo.dat" 2>/dev/null || ls -l "$sample"
