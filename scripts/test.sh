#!/usr/bin/env bash
# Builds everything and runs every test in one CTest run: native tests
# directly, Windows tests under Wine on a private X display, the bounded fuzz run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

build=$("$root/scripts/build.sh")
"$root/scripts/with-wine.sh" "$build/wine-state" \
  ctest --test-dir "$build" --output-on-failure --no-tests=error
