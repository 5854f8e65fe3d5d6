#!/usr/bin/env bash
# The strip survives any settings file: it starts, shows what it can read and
# closes again. Usage (inside scripts/with-wine.sh): bad_settings_test.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

build=$(e2e_windows_build "$1")
exe=$build/strip/memo.exe
work=$E2E_SHOT_DIR/bad

gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }

# make_fixture NAME: writes that damaged settings file as $work/配置.dpk.
make_fixture() {
  local file=$work/配置.dpk
  case $1 in
    empty) : >"$file" ;;
    junk) perl -e 'print map { chr } 0 .. 255 for 1 .. 64' >"$file" ;;
    ten_megabytes) { gbk $'[各项配置]\r\n条目内容='; perl -e 'print "x" x 10_000_000'; printf '\r\n'; } >"$file" ;;
    ten_thousand_items)
      { gbk $'[各项配置]\r\n启动X坐标=300\r\n条目内容='; for _ in $(seq 10000); do gbk 'a&真&&假&1\'; done; } >"$file" ;;
    half_character) { gbk $'[各项配置]\r\n启动X坐标=300\r\n条目内容=半个&假&&假&0\\'; printf '\xb0'; } >"$file" ;;
    extreme_positions) gbk $'[各项配置]\r\n启动X坐标=-2147483648\r\n启动Y坐标=99999999999\r\n' >"$file" ;;
    huge_colours) gbk $'[各项配置]\r\n启动X坐标=300\r\n文本颜色=1e99\r\n条目内容=c&真&x&真&1e99\\\r\n' >"$file" ;;
  esac
}

# The strip's window, mapped or not (Wine does not map a window off the screen).
any_window() {
  local window
  for _ in $(seq 600); do
    e2e_running || return 1
    for window in $(xdotool search --pid "$E2E_PID" 2>/dev/null); do
      [[ $(e2e_geometry "$window") == *" 207 "* ]] && return 0
    done
    sleep 0.05
  done
  return 1
}

for fixture in empty junk ten_megabytes ten_thousand_items half_character extreme_positions huge_colours; do
  e2e_case "$fixture"
  rm -rf "$work" && mkdir -p "$work" && cp "$exe" "$work/"
  make_fixture "$fixture"
  e2e_start "$work" memo.exe
  e2e_check "any_window" "the strip starts"
  sleep 1
  e2e_check "e2e_running" "and keeps running"
  e2e_check "e2e_stop memo.exe 40" "and closes when asked"
  e2e_check "[[ \$E2E_EXIT_STATUS == 0 ]]" "with exit status 0"
done

e2e_summary
