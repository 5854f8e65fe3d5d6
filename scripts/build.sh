#!/usr/bin/env bash
# Installs what is missing and builds the native, Windows and fuzz builds into
# $MEMO_BUILD_DIR (default build/). Prints the build directory last.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MEMO_BUILD_DIR:-$root/build}

"$root/scripts/setup.sh" >&2
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build "$build" -j"$(nproc)" >&2
echo "$build"
