#!/usr/bin/env bash
# Times repack and unpack of a generated folder of 5,000 files (about 50 MB) against tar -cf and tar -xf of the
# same folder, in the same run, and prints the ratios. Usage: bench/repack_vs_tar.sh [path/to/pixmond-cli] [runs]
set -euo pipefail
cli=${1:-build/pixmond-cli}
runs=${2:-3}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
python3 - "$work/src" <<'PY'
import os, random, sys
folder = sys.argv[1]
rng = random.Random(7)
for i in range(5000):
    size = rng.randint(2000, 18000)
    with open(os.path.join(folder, "f%04d.shp" % i), "wb") as f:
        f.write(os.urandom(size))
PY
du -sh "$work/src" | cut -f1 | sed 's/^/folder: /'
now() { date +%s.%N; }
best() { sort -g | head -n1; }
time_it() {  # prints the best wall time of $runs runs of "$2", each after an untimed "$1"
  for _ in $(seq "$runs"); do
    "$1"; sync; local t0; t0=$(now); "$2" >/dev/null 2>&1; local t1; t1=$(now)
    echo "$t1 - $t0" | bc -l
  done | best
}
# Each unpack goes into a new folder, and nothing is deleted until the end: some file systems (ext4 without a
# journal) skip recently deleted inodes for hours, reading each one's block, so a run right after deleting 5,000
# files can take ten times as long as the same run in a fresh place.
clean_a() { rm -f "$work/a.dat"; }
clean_u() { udir=$(mktemp -d "$work/u.XXXXXX"); }
clean_tar() { rm -f "$work/a.tar"; }
clean_t() { tdir=$(mktemp -d "$work/t.XXXXXX"); }
repack() { "$cli" repack "$work/src" "$work/a.dat"; }
unpack() { "$cli" unpack "$work/a.dat" "$udir"; }
tarc() { tar -cf "$work/a.tar" -C "$work" src; }
tarx() { tar -xf "$work/a.tar" -C "$tdir"; }
# tar with what pixmond-cli promises on top: everything written is on the disk when the command ends.
tarxs() { tarx && sync -f "$tdir"; }
# Warm the page cache for both sides, so neither pays for the first read of the folder.
clean_a; repack >/dev/null 2>&1; clean_tar; tarc; clean_u; unpack >/dev/null 2>&1; clean_t; tarx
r=$(time_it clean_a repack); tc=$(time_it clean_tar tarc); u=$(time_it clean_u unpack); tx=$(time_it clean_t tarx)
txs=$(time_it clean_t tarxs)
printf 'repack %.3f s   tar -cf %.3f s   ratio %.2f\n' "$r" "$tc" "$(echo "$r / $tc" | bc -l)"
printf 'unpack %.3f s   tar -xf %.3f s   ratio %.2f\n' "$u" "$tx" "$(echo "$u / $tx" | bc -l)"
printf 'unpack %.3f s   tar -xf + sync -f %.3f s   ratio %.2f\n' "$u" "$txs" "$(echo "$u / $txs" | bc -l)"
cmp <(cd "$work/src" && cat $(ls)) <(cd "$udir" && cat $(ls)) && echo "unpacked bytes identical"
