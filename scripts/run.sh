#!/usr/bin/env bash
# Builds the program and starts it under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

build=$("$root/scripts/build.sh")
exe=$build/windows/memo.exe
if [[ ! -f $exe ]]; then
  echo "run: the memo strip window is not built yet; only the portable core and its tests exist." >&2
  exit 1
fi
