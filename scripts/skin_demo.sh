#!/usr/bin/env bash
# Shows the toolkit demo under Wine on a private display and saves a
# screenshot of it as build/skin_demo.png (after bash scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MEMO_BUILD_DIR:-$root/build}
"$root/scripts/with-wine.sh" "$build/wine-state" bash -c '
  wine "$1/windows/skin/skin_demo.exe" "$(winepath -w "$2/assets")" 4 &
  sleep 3
  import -window root -crop 240x120+390+290 "$1/skin_demo.png"
  wait' _ "$build" "$root"
echo "screenshot: $build/skin_demo.png"
