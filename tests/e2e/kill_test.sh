#!/usr/bin/env bash
# Kills the strip at random moments while it saves on every deactivation; the
# settings file must always hold one whole list, never a cut or empty one.
# Usage (inside scripts/with-wine.sh): kill_test.sh BUILD_DIR [KILLS]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

build=$(e2e_windows_build "$1")
kills=${2:-100}
work=$E2E_SHOT_DIR/kill
other=$E2E_SHOT_DIR/other
settings=$work/配置.dpk

items=$(e2e_memo_items 40)
expected="$items"

rm -rf "$work" && mkdir -p "$work" && cp "$build/strip/memo.exe" "$work/"
printf '[各项配置]\n启动X坐标=300\n启动Y坐标=100\n条目内容=%s\n' "$items" | e2e_write_settings "$work" -
mkdir -p "$other" && cp "$build/tests/e2e/e2e_probe.exe" "$other/"
printf '[各项配置]\n启动X坐标=700\n启动Y坐标=700\n' | e2e_write_settings "$other" -
(cd "$other" && exec wine ./e2e_probe.exe </dev/null >/dev/null 2>&1) &
E2E_STARTED_PIDS+=("$!")

e2e_case "$kills kills while saving"
whole=0
for ((k = 1; k <= kills; k++)); do
  e2e_start "$work" memo.exe
  e2e_wait_window >/dev/null || true
  # Alternate activation between the strip and the other window: every
  # deactivation of the strip rewrites the list.
  for ((i = 0; i < RANDOM % 6 + 1; i++)); do
    e2e_click 400 112
    e2e_click 850 720
  done
  sleep "0.$((RANDOM % 10))"
  kill -KILL "$E2E_PID" 2>/dev/null
  wait "$E2E_PID" 2>/dev/null
  value=$(e2e_setting "$settings" 条目内容 2>/dev/null)
  if [[ $value == "$expected" ]]; then
    ((whole++))
  else
    e2e_record fail "kill $k left the list whole" "file holds: ${value:0:80}..."
  fi
done
e2e_check_eq "$whole" "$kills" "after every kill the file holds the whole list"

e2e_summary
