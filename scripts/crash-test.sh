#!/usr/bin/env bash
# Kills pixmond-cli with SIGKILL at many points while it repacks, replaces, removes, adds and imports (copy list,
# and an icon inserted into an SHP file), then checks what a user would find: the file at the archive's path is the
# complete old one or the complete new one, the backup (when there is one) is complete, and the next run works.
#
# The kill points come from the test hook PIXMOND_TEST_KILL_AT_STEP=n (src/base/KillPoint.h): the program kills
# itself with SIGKILL at its n-th step of changing files on disk (each block written, each flush, link and
# rename). The script first finds how many steps a command takes, then kills it at up to POINTS of them spread
# evenly from the first to the last.
# Usage: scripts/crash-test.sh [path/to/pixmond-cli] [POINTS per command, default 60]
set -euo pipefail
cli=$(realpath "${1:-build/pixmond-cli}")
points=${2:-60}
# A kill loses nothing that was written, so the disk's flushes do not matter here: a memory-backed folder keeps the
# hundreds of runs quick.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then work=$(mktemp -d -p /dev/shm); else work=$(mktemp -d); fi
trap 'rm -rf "$work"' EXIT
export PIXMOND_SETTINGS="$work/settings.ini"

# Random files of 1 to 6 KB: $1 folder, $2 count, $3 name prefix, $4 extension.
make_files() {
  mkdir -p "$1"
  for i in $(seq -w 1 "$2"); do head -c $((1024 + RANDOM % 5120)) /dev/urandom >"$1/$3$i.$4"; done
}

# The starting state of every command, made once: an archive of 80 entries, an older backup beside it, the
# files to put in, a copy list and its destination, an SHP file and a bitmap.
base="$work/base"
make_files "$base/src" 80 F shp
"$cli" repack "$base/src" "$base/game.dat" >/dev/null
make_files "$base/older" 60 G shp
"$cli" repack "$base/older" "$base/game_back.dat" >/dev/null
make_files "$base/new" 6 N png
head -c 9000 /dev/urandom >"$base/F07.SHP"
seq -f "F%02g" 1 2 70 >"$base/list.tbl"
"$cli" repack "$base/older" "$base/dest.dat" >/dev/null
cp "$base/game_back.dat" "$base/dest_back.dat"
"$cli" sample "$base/sample" >/dev/null
cp "$base/sample/T34.SHP" "$base/T34.SHP"
"$cli" export "$base/T34.SHP" --icon 1 -o "$base/icon.bmp" --type bmp >/dev/null

# name | the file it rewrites | its backup ("-" when none) | the command
commands=(
  "repack|game.dat|-|repack older game.dat"
  "replace|game.dat|game_back.dat|replace game.dat F07.SHP"
  "remove|game.dat|game_back.dat|remove game.dat F10.shp"
  "add|game.dat|game_back.dat|add game.dat new/N1.png new/N2.png new/N3.png new/N4.png new/N5.png new/N6.png"
  "copy-list|dest.dat|dest_back.dat|copy-list game.dat list.tbl dest.dat"
  "shp-insert|T34.SHP|T34.back|shp insert T34.SHP icon.bmp 1"
)

fresh() { rm -rf "$work/run"; cp -a "$base" "$work/run"; }
# Runs the command in a fresh state, killed at step $1 (0: not killed); prints its exit status.
run_at() {
  local step=$1; shift
  fresh
  # The shell's own "Killed" notice goes to the null device with the program's output.
  (set +e; cd "$work/run" && PIXMOND_TEST_KILL_AT_STEP=$step timeout 10 "$cli" "$@" >/dev/null 2>&1; echo $?) 2>/dev/null
}
same() { cmp -s "$1" "$2"; }
fail() { echo "crash-test: $*" >&2; exit 1; }

total_points=0
for entry in "${commands[@]}"; do
  IFS='|' read -r name target backup command <<<"$entry"
  read -ra args <<<"$command"
  [ "$(run_at 0 "${args[@]}")" = 0 ] || fail "$name does not succeed without a kill"
  cp "$work/run/$target" "$work/expected"
  same "$work/expected" "$base/$target" && fail "$name changes nothing"

  # The number of steps: the largest step at which the command is still killed.
  high=1
  while [ "$(run_at $high "${args[@]}")" = 137 ]; do high=$((high * 2)); done
  low=$((high / 2))
  while [ $((high - low)) -gt 1 ]; do
    mid=$(((low + high) / 2))
    if [ "$(run_at $mid "${args[@]}")" = 137 ]; then low=$mid; else high=$mid; fi
  done
  steps=$low
  [ "$steps" -ge 1 ] || fail "$name takes no step"

  count=$((steps < points ? steps : points))
  tried=0
  for i in $(seq 0 $((count - 1))); do
    step=$((count > 1 ? 1 + i * (steps - 1) / (count - 1) : 1))
    status=$(run_at $step "${args[@]}")
    [ "$status" = 137 ] || fail "$name was not killed at step $step of $steps (status $status)"
    run="$work/run"
    if same "$run/$target" "$base/$target"; then state=old
    elif same "$run/$target" "$work/expected"; then state=new
    else fail "$name killed at step $step of $steps: $target is neither the old nor the new file"; fi
    if [ "$backup" != - ] && [ -e "$run/$backup" ]; then
      same "$run/$backup" "$base/$backup" || same "$run/$backup" "$base/$target" ||
        fail "$name killed at step $step of $steps: $backup is not a complete backup"
    fi
    # The next run works: the file is read as before, and an interrupted command can simply be run again.
    if [ "$name" = shp-insert ]; then
      (cd "$run" && "$cli" info "$target" >/dev/null 2>&1) || fail "$name killed at step $step: $target cannot be read"
    else
      (cd "$run" && "$cli" list "$target" >/dev/null 2>&1) || fail "$name killed at step $step: $target cannot be listed"
    fi
    if [ $state = old ]; then
      (cd "$run" && timeout 10 "$cli" "${args[@]}" >/dev/null 2>&1) || fail "$name killed at step $step: the next run fails"
      same "$run/$target" "$work/expected" || fail "$name killed at step $step: the next run gives another file"
    fi
    tried=$((tried + 1))
  done
  total_points=$((total_points + tried))
  echo "crash-test: $name: killed at $tried of its $steps steps; $target always complete"
done
echo "crash-test: $total_points kills, every file complete"
