#!/usr/bin/env bash
# Whole-process start-up of the strip under Wine, from the start of the
# process to its visible window, with 1, 41 and 200 stored memos, beside the
# floor of any Wine program (Wine's notepad, started and closed the same way).
# Prints medians of RUNS runs; nothing fails on time.
# Usage (inside scripts/with-wine.sh): strip_startup.sh BUILD_DIR [RUNS]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/tests/e2e/lib.sh"
build=$(e2e_windows_build "$1")
runs=${2:-5}
work=$E2E_SHOT_DIR/startup

now() { date +%s.%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# time_to_window EXE_NAME COMMAND...: seconds from the start to a visible window, then closes it.
time_to_window() {
  local name=$1 start end
  shift
  start=$(now)
  (cd "$work" && exec "$@" </dev/null >/dev/null 2>&1) &
  E2E_PID=$!
  e2e_wait_window "$E2E_PID" 60 >/dev/null
  end=$(now)
  e2e_stop "$name" 30 >/dev/null
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", b - a }'
}

floor=$(for _ in $(seq "$runs"); do
  rm -rf "$work" && mkdir -p "$work"
  # By its path: "wine notepad" starts it through another process.
  time_to_window notepad.exe wine 'C:\windows\system32\notepad.exe'
done | median)
printf '%-28s %7.3f s\n' "wine notepad (floor)" "$floor"

for memos in 1 41 200; do
  items=$(e2e_memo_items "$memos")
  seconds=$(for _ in $(seq "$runs"); do
    rm -rf "$work" && mkdir -p "$work" && cp "$build/strip/memo.exe" "$work/"
    printf '[各项配置]\n启动X坐标=300\n启动Y坐标=40\n条目内容=%s\n' "$items" | e2e_write_settings "$work" -
    time_to_window memo.exe wine ./memo.exe
  done | median)
  printf '%-28s %7.3f s   %.2f x floor\n' "strip, $memos memos" "$seconds" "$(awk -v a="$seconds" -v b="$floor" 'BEGIN { print a / b }')"
done
