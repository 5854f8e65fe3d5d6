#!/usr/bin/env bash
# Checks the e2e driver's typing, pasting, dragging and settings reading on a
# real edit box: the probe window (tests/e2e/e2e_probe_win.cpp) keeps its
# text and position in 配置.dpk as the program does.
# Usage: scripts/with-wine.sh BUILD/wine-state bash tests/e2e/driver_test.sh BUILD
# BUILD is the Windows cross build, or the native build that holds it in windows/.
# shellcheck disable=SC2016,SC2034  # checks are quoted on purpose: e2e_check evaluates them
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

build=${1:?usage: driver_test.sh BUILD_DIR}
probe=$build/tests/e2e/e2e_probe.exe
[[ -f $probe ]] || probe=$build/windows/tests/e2e/e2e_probe.exe
[[ -f $probe ]] || { echo "no e2e_probe.exe under $build" >&2; exit 2; }
work=$E2E_SHOT_DIR/work
settings=$work/$E2E_SETTINGS_NAME
started=$(date +%s.%N)

e2e_case "start from a prepared settings file"
e2e_prepare_dir "$work" "$probe" - <<'EOF'
[各项配置]
启动X坐标=320
启动Y坐标=480
条目内容=开会
EOF
e2e_start "$work" e2e_probe.exe
window=$(e2e_wait_window)
e2e_check '[[ -n $window ]]' "the probe's window appears"
# The probe places itself where the file says: the GBK file was read under code page 936.
e2e_check_eq "$(e2e_geometry "$window")" "320 480 300 60" "at the position from the file"
e2e_check_pixel 325 525 128,128,128 0 "its grey face is on screen"

e2e_case "typing"
e2e_check 'e2e_click 600 500' "clicking right of the text puts the caret at its end"
e2e_type "abc"
e2e_check 'e2e_wait_setting "$settings" 条目内容 开会abc 3' "typed ASCII reaches the edit box after the stored CJK text"
e2e_type "中文"
e2e_check 'e2e_wait_setting "$settings" 条目内容 开会abc中文 3' "CJK text arrives whole (by paste)"
e2e_key BackSpace
e2e_check 'e2e_wait_setting "$settings" 条目内容 开会abc中 3' "BackSpace takes one double-byte character"
e2e_key shift+Home
e2e_type "x"
e2e_check 'e2e_wait_setting "$settings" 条目内容 x 3' "a chord (shift+Home) selects the text that typing replaces"

e2e_case "dragging"
e2e_check 'e2e_drag 470 525 570 585' "a drag on the free area runs"
e2e_check 'e2e_wait_geometry "$window" "420 540 300 60" 3' "the window follows the mouse"
e2e_check 'e2e_wait_setting "$settings" 启动X坐标 420 3 && e2e_wait_setting "$settings" 启动Y坐标 540 3' \
  "the new position is saved"

e2e_case "ending"
e2e_stop e2e_probe.exe 5
stopped=$?
e2e_check '((stopped == 0))' "the probe ends on taskkill's WM_CLOSE"
e2e_check_eq "$E2E_EXIT_STATUS" 0 "with exit status 0"
e2e_check_eq "$(e2e_setting "$settings" 条目内容 各项配置)" x "the file keeps the last text"
e2e_wine_reset

echo "took $(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }') s"
e2e_summary
