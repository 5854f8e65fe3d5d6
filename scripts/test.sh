#!/usr/bin/env bash
# Installs what is missing, builds the native, Windows and fuzz builds and runs
# every test in one CTest run: native tests directly, Windows tests under Wine
# on a private X display, the bounded fuzz run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MEMO_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
"$root/scripts/with-wine.sh" "$build/wine-state" \
  ctest --test-dir "$build" --output-on-failure --no-tests=error
