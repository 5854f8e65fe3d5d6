#!/usr/bin/env bash
# The strip measured from inside its process (bench/strip_bench_win.cpp):
#   startup [RUNS]: entry to the first pushed frame with 1, 41 and 200 stored
#                   memos, medians of RUNS runs and their ratios;
#   soak [SECONDS]: 41 due memos flashing while a row is added and deleted
#                   over and over; GDI objects and private memory as it goes.
# Prints figures; nothing fails on time.
# Usage (inside scripts/with-wine.sh): strip_bench.sh BUILD_DIR startup|soak [N]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/tests/e2e/lib.sh"
build=$(e2e_windows_build "$1")
mode=$2
work=$E2E_SHOT_DIR/bench

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# prepare COUNT TIMER_ON: a fresh directory with the bench and COUNT memos, due long ago when TIMER_ON is 真.
prepare() {
  e2e_prepare_dir "$work" "$build/bench/strip_bench.exe" || exit 1
  printf '[各项配置]\n启动X坐标=300\n启动Y坐标=40\n条目内容=%s\n' "$(e2e_memo_items "$1" "$2")" | e2e_write_settings "$work" - || exit 1
}

case $mode in
  startup)
    runs=${3:-5}
    declare -A took
    for memos in 1 41 200; do
      took[$memos]=$(for _ in $(seq "$runs"); do
        prepare "$memos" 假
        (cd "$work" && wine ./strip_bench.exe startup 2>/dev/null | tr -d '\r')
      done | median)
      printf 'strip, %3d memos: %8.1f ms to the first frame\n' "$memos" "${took[$memos]}"
    done
    awk -v a="${took[1]}" -v b="${took[41]}" -v c="${took[200]}" \
      'BEGIN { printf "41 memos / 1 memo: %.2f x\n200 memos / 41 memos: %.2f x\n", b / a, c / b }'
    ;;
  soak)
    prepare 41 真
    (cd "$work" && wine ./strip_bench.exe soak "${3:-60}" 2>/dev/null | tr -d '\r')
    status=${PIPESTATUS[0]}
    ((status == 0)) || { echo "the strip ended with status $status"; exit 1; }
    ;;
  *) echo "usage: strip_bench.sh BUILD_DIR startup|soak [N]" >&2; exit 2 ;;
esac
