# Sourced by the screenshot scripts with $build set: checks the build, makes a temporary folder $work (removed on
# exit) holding the sample in $work/sample, and sets up Qt's offscreen platform with a settings file of its own,
# so the user's folders and window size neither show nor change.
for tool in "$build/pixmond" "$build/pixmond-cli"; do
  [ -x "$tool" ] || { echo "missing $tool: build first (scripts/build.sh $build)" >&2; exit 1; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Qt wants a private runtime folder; without one it warns on every start.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
"$build/pixmond-cli" sample "$work/sample" >/dev/null
export PIXMOND_SETTINGS="$work/settings.ini" QT_QPA_PLATFORM=offscreen
