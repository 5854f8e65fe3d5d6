#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MEMO_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

exe=$build/windows/memo.exe
if [[ ! -f $exe ]]; then
  echo "run: the memo strip window is not built yet; only the portable core and its tests exist." >&2
  exit 1
fi
