#!/usr/bin/env bash
# CPU share of one core that the running strip uses under Wine over SECONDS,
# with no memo due and then with 41 memos flashing. Prints figures; nothing
# fails on time.
# Usage (inside scripts/with-wine.sh): strip_idle.sh BUILD_DIR [SECONDS]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/tests/e2e/lib.sh"
build=$(e2e_windows_build "$1")
seconds=${2:-60}
work=$E2E_SHOT_DIR/idle
ticks=$(getconf CLK_TCK)

start_strip() {
  e2e_prepare_dir "$work" "$build/strip/memo.exe" || exit 1
  printf '[各项配置]\n启动X坐标=300\n启动Y坐标=40\n条目内容=%s\n' "$(e2e_memo_items "$1" "$2")" |
    e2e_write_settings "$work" - || exit 1
  e2e_start "$work" memo.exe
  e2e_wait_window "$E2E_PID" 60 >/dev/null || exit 1
  sleep 3  # let start-up work settle before measuring
}

# cpu_ticks PID: user + system clock ticks the process has used.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# cpu_share PID SECONDS: percent of one core used over the next SECONDS.
cpu_share() {
  local before after
  before=$(cpu_ticks "$1")
  sleep "$2"
  after=$(cpu_ticks "$1")
  awk -v a="$before" -v b="$after" -v t="$ticks" -v s="$2" 'BEGIN { printf "%.2f", (b - a) / t / s * 100 }'
}

start_strip 1 假
printf 'no memo due, %s s:       %s %% of one core\n' "$seconds" "$(cpu_share "$E2E_PID" "$seconds")"
e2e_stop memo.exe 30 >/dev/null
start_strip 41 真
printf '41 memos flashing, %s s: %s %% of one core\n' "$seconds" "$(cpu_share "$E2E_PID" "$seconds")"
e2e_stop memo.exe 30 >/dev/null
