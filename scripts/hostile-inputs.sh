#!/usr/bin/env bash
# Feeds every seed of the fuzz corpora (fuzz/corpus/<target>/), and a few hostile files made here, to every
# pixmond-cli command that reads that kind of file. Each run must end with exit 0, or exit 1 with a message (an
# error on stderr; a check prints its findings): never a signal, never a hang (10 s), never a file written outside
# its temporary folder (checked with strace when the machine has it, and by canary paths the hostile names aim at).
# Usage: scripts/hostile-inputs.sh [path/to/pixmond-cli] [more corpora laid out like fuzz/corpus, such as the
# corpora a long fuzz campaign grew]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-build/pixmond-cli}")
more=${2:-}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
export PIXMOND_SETTINGS="$work/settings.ini"
tracer=()
mkdir -p "$work/traces"
command -v strace >/dev/null && tracer=(strace -f -qq -z -y
  -e trace=open,openat,creat,truncate,rename,renameat,renameat2,link,linkat,symlink,symlinkat,mkdir,mkdirat,unlink,unlinkat)

# Sound files the commands need beside the hostile one.
"$cli" sample "$work/sample" >/dev/null
"$cli" export "$work/sample/T34.SHP" --icon 1 -o "$work/sample/icon.bmp" --type bmp >/dev/null
printf 'TIGER\nT34\nPZ4\nA\n' >"$work/sample/list.tbl"

# Hostile files of every kind, made here: counts that promise the moon, offsets past the end, names that climb
# out of their folder, pictures whose sizes would need gigabytes.
mkdir -p "$work/made"
python3 - "$work/made" <<'PY'
import os, struct, sys, zlib
out = sys.argv[1]
def put(name, data):
    with open(os.path.join(out, name), "wb") as f: f.write(data)
def archive(entries, count=None, tail=b""):
    n = len(entries) + 1
    off = 4 + 17 * n; recs = b""; data = b""
    for name, body in entries:
        recs += struct.pack("<I", off) + name.ljust(13, b"\0")[:13]; off += len(body); data += body
    recs += struct.pack("<I", off) + b"\0" * 13
    return struct.pack("<I", n if count is None else count) + recs + data + tail
shp_huge = b"1.10" + struct.pack("<i", 0x7fffffff) + struct.pack("<II", 16, 0) * 4
shp_out = b"1.10" + struct.pack("<i", 3) + struct.pack("<II", 0xfffffff0, 0) * 3
shp_wide = b"1.10" + struct.pack("<i", 1) + struct.pack("<II", 16, 0) + struct.pack("<hhhhhhhh", -30000, -30000, 32000, 32000, 0, 0, 0, 0) + b"\0" * 64
put("count.dat", archive([(b"A.SHP", shp_huge)], count=0xffffffff))
put("escape.dat", archive([(b"../../hx.shp", b"x"), (b"/tmp/hx.shp", b"y"), (b"C:hx.shp", b"z"), (b"TIGER.SHP", shp_out)]))
put("offsets.dat", archive([(b"TIGER.SHP", shp_wide), (b"B.S16", struct.pack("<i", 0x7fffffff))])[:-20] + b"\0" * 3)
put("huge.shp", shp_huge)
put("outside.shp", shp_out)
put("wide.shp", shp_wide)
put("huge.s16", struct.pack("<i", 0x7fffffff) + b"\0" * 60)
def chunk(kind, body): return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
sig = b"\x89PNG\r\n\x1a\n"
put("huge.png", sig + chunk(b"IHDR", struct.pack(">IIBBBBB", 0x7fffffff, 0x7fffffff, 8, 6, 0, 0, 0)) + chunk(b"IEND", b""))
put("cut.png", sig + chunk(b"IHDR", struct.pack(">IIBBBBB", 300, 300, 8, 3, 0, 0, 0)) + chunk(b"IDAT", zlib.compress(b"\0" * 100)))
def bmp(w, h, bits, extra=b""):
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, 0, 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(extra), 0, 0, 54) + info + extra
put("huge.bmp", bmp(1000000, 1000000, 8, b"\0" * 64))
put("negative.bmp", bmp(4, -2**31, 24, b"\0" * 64))
put("nobits.bmp", bmp(4, 4, 0, b"\0" * 64))
put("short.pal", b"JASC-PAL\r\n0100\r\n99999999\r\n1 2\r\n")
put("keep.keep", b"A;B\n" * 10 + b";;;\n" + b"x" * 5000 + b"\n" + b"\xff\xfe;\x00\n")
put("desc.txt", b"\x00" + b"TIGER;a;b;c\n" * 3 + b"\x00{}~!$&")
put("empty.any", b"")
put("one.any", b"\x01")
put("ones.any", b"\xff" * 65536)
PY

# kind: the extension the input takes; the commands run on it, one a line ("IN" is the input's path).
commands_for() {
  case $1 in
    dat) cat <<'EOF'
list IN
list IN --json
check IN
unpack IN out
report items IN -o r.txt --icons --fakes
report diff IN S/demo.dat -o d.txt --fakes
report diff S/demo.dat IN -o d2.txt
report compat IN S/demo.dat -o c.txt
catalog IN -o cat
copy-list IN S/list.tbl dest.dat
extract-list IN S/list.tbl ex --yes
export IN --all-entries -o all
render IN --entry TIGER.SHP --area 200x200 -o r.png
replace IN S/T34.SHP
remove IN TIGER.SHP
add IN S/T34.SHP
EOF
      ;;
    keep) cat <<'EOF'
list a.dat
report items a.dat -o r.txt --fakes
report compat a.dat S/demo.dat -o c.txt
report compat S/demo.dat a.dat -o c2.txt
EOF
      ;;
    shp | s16 | png) cat <<'EOF'
info IN
info IN --json
export IN --all -o exp --type png
export IN --collage 300x200 -o col.bmp
render IN --area 300x300 -o r.png
render IN --collage --area 300x300 -o c.png
convert-folder . conv
catalog . -o cat
EOF
      case $1 in
        shp) printf '%s\n' "nation-pics IN np" "shp remove IN 1" "shp insert IN S/icon.bmp 1" "shp append IN S/icon.bmp" ;;
        png) printf '%s\n' "convert IN -o o.bmp" "png-to-shp IN -o pts" "crop-sheets IN" ;;
      esac
      ;;
    bmp) cat <<'EOF'
convert IN -o o.png
encode IN -o e.shp
palette remap IN -o r.bmp
shp insert T34.SHP IN 1
shp-make clones IN
shp-make sheet IN
shp-make list IN -o l.shp
EOF
      ;;
    pal) printf '%s\n' "palette convert IN -o o.txt --text" "palette convert IN -o o.pal --binary" \
      "export S/T34.SHP --all -o exp --palette IN" ;;
    txt) printf '%s\n' "list a.dat --descriptions IN" "list a.dat --descriptions IN --desc a\$b --log l.txt --with-info" ;;
    csv) printf '%s\n' "list a.dat --descriptions IN --color x --type y" ;;
  esac
}

runs=0
check_run() {  # $1 kind, $2 input, $3 command line
  local kind=$1 input=$2 line=$3 run="$work/run"
  rm -rf "$run" && mkdir -p "$run"
  cp "$input" "$run/in.$kind"
  case $kind in
    dat) cp "$work/sample/demo.keep" "$run/in.keep" ;;
    keep) cp "$input" "$run/a.keep"; cp "$work/sample/demo.dat" "$run/a.dat" ;;
    txt | csv) cp "$work/sample/demo.dat" "$run/a.dat" ;;
    bmp) cp "$work/sample/T34.SHP" "$run/T34.SHP" ;;
  esac
  local args=${line//IN/in.$kind}
  args=${args//S\//$work/sample/}
  local status what
  what="$(basename "$input") as .$kind: pixmond-cli $line"
  runs=$((runs + 1))
  local trace=()
  if [ ${#tracer[@]} -gt 0 ]; then
    trace=("${tracer[@]}" -o "$work/traces/$runs")
    echo "$what" >"$work/traces/$runs.what"
  fi
  # shellcheck disable=SC2086
  status=$(set +e; cd "$run" && timeout 10 "${trace[@]}" "$cli" $args >"$work/out" 2>"$work/err"; echo $?)
  case $status in
    0) ;;
    # A failure says why: an error on stderr, or the findings of a check on stdout.
    1) [ -s "$work/err" ] || [ -s "$work/out" ] || { echo "hostile-inputs: $what: exit 1 without a message" >&2; exit 1; } ;;
    124) echo "hostile-inputs: $what: still running after 10 s" >&2; exit 1 ;;
    *) echo "hostile-inputs: $what: exit $status" >&2; cat "$work/err" >&2; exit 1 ;;
  esac
  for canary in /tmp/hx.shp "$work/hx.shp" "$(dirname "$work")/hx.shp"; do
    [ ! -e "$canary" ] || { echo "hostile-inputs: $what: wrote $canary" >&2; exit 1; }
  done
}

declare -A kind_of=([fuzz_archive]=dat [fuzz_keep]=keep [fuzz_shp]=shp [fuzz_shpedit]=shp [fuzz_s16]=s16
  [fuzz_png]=png [fuzz_bmp]=bmp [fuzz_palette]=pal [fuzz_descriptions]=txt)
feed() {  # $1 kind, $2 input
  local line
  while IFS= read -r line; do check_run "$1" "$2" "$line"; done < <(commands_for "$1")
}

seeds=0
for folder in "$root"/fuzz/corpus/*/ ${more:+"$more"/*/}; do
  [ -d "$folder" ] || continue
  target=$(basename "$folder")
  kind=${kind_of[$target]:-}
  [ -n "$kind" ] || continue
  for input in "$folder"*; do
    [ -f "$input" ] || continue
    feed "$kind" "$input"
    [ "$kind" = txt ] && feed csv "$input"
    seeds=$((seeds + 1))
  done
done
for input in "$work"/made/*; do
  case $input in
    *.dat) feed dat "$input" ;;
    *.shp) feed shp "$input" ;;
    *.s16) feed s16 "$input" ;;
    *.png) feed png "$input" ;;
    *.bmp) feed bmp "$input" ;;
    *.pal) feed pal "$input" ;;
    *.keep) feed keep "$input" ;;
    *.txt) feed txt "$input"; feed csv "$input" ;;
    *) for kind in dat keep shp s16 png bmp pal txt; do feed "$kind" "$input"; done ;;
  esac
done
# Every file a run opened for writing, created, renamed, linked or removed lies in the temporary folder.
if [ ${#tracer[@]} -gt 0 ]; then
  python3 - "$work" <<'PY' || exit 1
import glob, os, re, sys
work = sys.argv[1]
run = os.path.join(work, "run")
inside = lambda p: p == work or p.startswith(work + "/") or p in ("/dev/null", "/dev/tty")
for trace in glob.glob(os.path.join(work, "traces", "*[0-9]")):
    bad = []
    for line in open(trace, errors="replace"):
        m = re.match(r"\d+\s+(\w+)\((.*)\)\s+=\s*(.*)$", line.rstrip("\n"))
        if not m: continue
        call, args, result = m.groups()
        if call in ("open", "openat", "creat"):
            if call != "creat" and not re.search(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC", args): continue
            opened = re.match(r"\d+<(.*)>$", result)  # strace -y: the file the descriptor holds
            if opened and not inside(os.path.normpath(opened.group(1))): bad.append(f"{call}: {opened.group(1)}")
            continue
        # Each path argument, from the folder of the descriptor before it (strace -y), else the run's folder.
        for folder, path in re.findall(r'(?:(?:AT_FDCWD|\d+)<([^>]*)>,\s*)?"((?:[^"\\]|\\.)*)"', args):
            # A descriptor linked into a folder (an unnamed temporary file given its name) was checked when opened.
            if call == "linkat" and (path == "" or path.startswith("/proc/self/fd/")): continue
            full = os.path.normpath(path if path.startswith("/") else os.path.join(folder or run, path))
            if not inside(full): bad.append(f"{call}: {full}")
    if bad:
        what = open(trace + ".what").read().strip()
        print(f"hostile-inputs: {what}: wrote outside its folder:\n  " + "\n  ".join(bad[:10]), file=sys.stderr)
        sys.exit(1)
PY
fi
echo "hostile-inputs: $runs runs on $seeds corpus seeds and $(ls "$work/made" | wc -l) made files: no signal, hang or stray write"
