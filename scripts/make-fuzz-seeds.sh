#!/usr/bin/env bash
# Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/ from the files `pixmond-cli sample` writes:
# a handful of small, well-formed inputs each, so that every run starts inside the formats.
#   scripts/make-fuzz-seeds.sh [path/to/pixmond-cli]   (default build/pixmond-cli)
# Only the files named here are rewritten; other seeds in the folders are left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(readlink -f "${1:-build/pixmond-cli}")
root=fuzz/corpus
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
export PIXMOND_SETTINGS="$work/settings.ini"

"$cli" sample "$work/s" >/dev/null
s=$work/s
mkdir -p "$root"/{fuzz_shp,fuzz_s16,fuzz_png,fuzz_archive,fuzz_keep,fuzz_descriptions,fuzz_palette,fuzz_shpedit,fuzz_bmp}

# One icon of TIGER as an 8-bit bitmap, and that bitmap as a one-icon SHP: the smallest files of each.
"$cli" export "$s/TIGER.SHP" --icon 1 -o "$work/tiger1.bmp" >/dev/null
"$cli" encode "$work/tiger1.bmp" -o "$work/one.shp" >/dev/null
"$cli" export "$s/tanks.s16" --icon 1 -o "$work/tank1.bmp" >/dev/null

# SHP files as they are.
cp "$s/PZ4.SHP" "$root/fuzz_shp/pz4.shp"
cp "$s/PANELS.SHP" "$root/fuzz_shp/panels.shp"
cp "$work/one.shp" "$root/fuzz_shp/one.shp"

# S16 inputs: the first byte chooses the base offset (even: none). The raw-coded sample is cut to its first icon.
s16() { { printf "$1"; cat "$2"; } >"$root/fuzz_s16/$3"; }
s16 '\000' "$s/tanks.s16" tanks-runs.s16
s16 '\011' "$s/tanks.s16" tanks-runs-at-4.s16
u32() { od -An -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }
count=$(u32 "$s/ships.s16" 0)
first=$(u32 "$s/ships.s16" 32)  # data size of icon 1, which starts the data area
{
  printf '\000\001\000\000\000'
  dd if="$s/ships.s16" bs=1 skip=4 count=40 status=none
  dd if="$s/ships.s16" bs=1 skip=$((4 + 40 * count)) count="$first" status=none
} >"$root/fuzz_s16/ship-raw.s16"

# PNG inputs follow a signature the target writes itself.
tail -c +9 "$s/armour.png" >"$root/fuzz_png/armour-sheet.png"
tail -c +9 "$s/planes.png" >"$root/fuzz_png/planes-sheet.png"

# A small archive of one file of each kind; the target puts the same .keep beside every input.
mkdir -p "$work/pack"
cp "$work/one.shp" "$work/pack/TIGER.SHP"
cp "$s/tanks.s16" "$work/pack/TANKS.S16"
cp "$s/armour.png" "$work/pack/ARMOUR.PNG"
printf 'notes\r\n' >"$work/pack/README.TXT"
"$cli" repack "$work/pack" "$root/fuzz_archive/small.dat" >/dev/null
rm -f "$root/fuzz_archive/small.log" "$root"/fuzz_archive/*.LOG

cp "$s/demo.keep" "$root/fuzz_keep/demo.keep"

# Descriptions: the first byte chooses the flavour (odd: CSV) and the list filters.
{ printf '\001'; cat "$s/demo.csv"; } >"$root/fuzz_descriptions/demo-csv"
{ printf '\001'; cat "$s/demo.csv"; printf '\000TIGER'; } >"$root/fuzz_descriptions/demo-csv-filtered"

# The default palette in both forms: a text file of one line leaves the other entries at their defaults.
printf 'JASP-PAL\r\nOrvel Shp Tool\r\n256\r\n0 0 0\r\n' >"$work/one-line.pal"
"$cli" palette convert "$work/one-line.pal" -o "$root/fuzz_palette/default.txt" --text >/dev/null
"$cli" palette convert "$work/one-line.pal" -o "$root/fuzz_palette/default.pal" --binary >/dev/null
cp "$work/one-line.pal" "$root/fuzz_palette/one-line.txt"

# Rewrites: the first byte chooses removing (odd) or inserting an icon, and where.
{ printf '\003'; cat "$work/one.shp"; } >"$root/fuzz_shpedit/remove-1.shp"
{ printf '\004'; cat "$s/PANELS.SHP"; } >"$root/fuzz_shpedit/insert-2.shp"

cp "$work/tiger1.bmp" "$root/fuzz_bmp/sample-8bit.bmp"
cp "$work/tank1.bmp" "$root/fuzz_bmp/sample-24bit.bmp"
