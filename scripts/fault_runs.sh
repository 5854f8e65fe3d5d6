#!/usr/bin/env bash
# The long fault runs, apart from the tests' time budget: the strip under
# damaged settings files, and killed at random moments while it saves.
# Usage: bash scripts/fault_runs.sh [KILLS] (after bash scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MEMO_BUILD_DIR:-$root/build}
"$root/scripts/with-wine.sh" "$build/wine-faults" bash -c '
  status=0
  bash "$1/tests/e2e/bad_settings_test.sh" "$2" || status=1
  bash "$1/tests/e2e/kill_test.sh" "$2" "$3" || status=1
  exit $status' _ "$root" "$build" "${1:-100}"
