#!/usr/bin/env bash
# Builds the program and starts it under Wine: on your display when there is
# one, else on a private X display, where it saves a screenshot of the strip.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

build=$("$root/scripts/build.sh")
exe=$build/windows/strip/memo.exe
# The settings file lives beside the executable: run a copy in its own folder.
run_dir=$build/run
mkdir -p "$run_dir"
cp "$exe" "$run_dir/memo.exe"
echo "run: the self-contained Windows program is $exe"

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting the strip on $DISPLAY (settings in $run_dir); close it with its × button"
  WITH_WINE_OWN_DISPLAY=1 WITH_WINE_KEEP_PREFIX=1 "$root/scripts/with-wine.sh" "$build/wine-run" \
    wine "$run_dir/memo.exe"
else
  shot=$build/strip_screenshot.png
  "$root/scripts/with-wine.sh" "$build/wine-run" bash -c '
    cd "$1" && wine ./memo.exe &
    sleep 5
    import -window root -crop 320x200+0+0 "$2"
    wine taskkill /im memo.exe >/dev/null 2>&1 || true
    wait' _ "$run_dir" "$shot"
  echo "run: no display here; the strip ran on a private one. Screenshot: $shot"
fi
