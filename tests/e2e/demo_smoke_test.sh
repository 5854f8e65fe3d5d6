#!/usr/bin/env bash
# Proves the e2e driver against the toolkit demo: settings file, window,
# screen pixels, mouse and keyboard, ending the program.
# Usage: scripts/with-wine.sh BUILD/wine-state bash tests/e2e/demo_smoke_test.sh BUILD
# BUILD is the Windows cross build, or the native build that holds it in windows/.
# shellcheck disable=SC2016,SC2034  # checks are quoted on purpose: e2e_check evaluates them
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"

build=${1:?usage: demo_smoke_test.sh BUILD_DIR}
demo=$build/skin/skin_demo.exe
[[ -f $demo ]] || demo=$build/windows/skin/skin_demo.exe
[[ -f $demo ]] || { echo "no skin_demo.exe under $build" >&2; exit 2; }
assets=$(cd "$here/../../assets" && pwd)
work=$E2E_SHOT_DIR/work
background=$assets/strip/background_03.png
magenta=255,0,255
started=$(date +%s.%N)

# The demo's window: a 208 × 86 layered window at (400, 300) showing background_03.png.
left=400 top=300

alpha_of() { convert "$1" -format "%[fx:int(255*p{$2,$3}.a+0.5)]" info:; }

e2e_case "settings file as the program finds it"
e2e_prepare_dir "$work" "$demo" - <<'EOF'
[各项配置]
启动X坐标=400
启动Y坐标 = 300
条目内容=十点开会|真|2011-01-01-12:00:00|假|255\
EOF
settings=$work/$E2E_SETTINGS_NAME
e2e_check '[[ -f $work/skin_demo.exe ]]' "the exe is copied into the working copy"
e2e_check 'LC_ALL=C grep -qF "$(printf "[\xb8\xf7\xcf\xee\xc5\xe4\xd6\xc3]\r")" "$settings"' "the file is GBK with CR LF lines"
e2e_check '! LC_ALL=C grep -qF "$(printf "\xe5\x90\xaf")" "$settings"' "no UTF-8 bytes are left in it"
e2e_check_eq "$(e2e_setting "$settings" 启动X坐标 各项配置)" 400 "a key reads back as UTF-8"
e2e_check_eq "$(e2e_setting "$settings" 启动Y坐标)" 300 "spaces around = are not part of the key or value"
e2e_check_eq "$(e2e_setting "$settings" 条目内容)" '十点开会|真|2011-01-01-12:00:00|假|255\' "a CJK value reads back whole"
e2e_check '! e2e_setting "$settings" 文本颜色' "a missing key fails"
e2e_check '! e2e_setting "$settings" 启动X坐标 其他' "a key of another section is not found"
printf '[各项配置]\n文本颜色=255\n' >"$E2E_SHOT_DIR/fixture.txt"
e2e_write_settings "$E2E_SHOT_DIR/other" "$E2E_SHOT_DIR/fixture.txt"
e2e_check_eq "$(e2e_setting "$E2E_SHOT_DIR/other/$E2E_SETTINGS_NAME" 文本颜色)" 255 "a fixture can also be a file"
e2e_check '! printf "[各项配置]\n文本=😀\n" | e2e_write_settings "$E2E_SHOT_DIR/bad" - 2>/dev/null' \
  "text that GBK cannot hold is refused"
e2e_check '[[ ! -e $E2E_SHOT_DIR/bad/$E2E_SETTINGS_NAME ]]' "and leaves no file"
e2e_check '! e2e_start "$work" missing.exe 2>/dev/null' "starting an exe that is not there fails"
# Another process rewrites the file a little later, as the program does when it saves.
( sleep 0.3
  iconv -f GBK -t UTF-8 "$settings" | sed 's/^启动X坐标=400/启动X坐标=123/' | iconv -f UTF-8 -t GBK >"$settings.new" &&
    mv "$settings.new" "$settings" ) &
writer=$!
e2e_check 'e2e_wait_setting "$settings" 启动X坐标 123 3' "waiting sees a value written later"
wait "$writer"
t0=$(date +%s.%N)
e2e_check '! e2e_wait_setting "$settings" 启动X坐标 999 0.3 2>/dev/null' "waiting for a value never written fails"
e2e_check "awk -v s=$t0 -v e=$(date +%s.%N) 'BEGIN { exit !(e - s < 1) }'" "and gives up at its bound"

e2e_case "window"
t0=$(date +%s.%N)
e2e_start "$work" skin_demo.exe "$(winepath -w "$assets")" 30
e2e_check 'e2e_running' "the demo runs"
window=$(e2e_wait_window)
e2e_check '[[ -n $window ]]' "a visible window appears (after $(awk -v s="$t0" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }') s)"
e2e_check_eq "$(e2e_geometry "$window")" "$left $top 208 86" "at its place and size"
e2e_check_eq "$(e2e_windows | wc -l)" 1 "only one visible window (the IME window stays hidden)"
# Wine blackens the X root when its desktop process starts: paint it once the window is up.
e2e_paint_root "rgb($magenta)"
e2e_check_pixel 5 1000 "$magenta" 0 "the desktop is painted a known colour"

e2e_case "pixels"
# The surface draws right after the window shows: wait until the header is there.
header_expected=$(e2e_pixel 100 12 "$background")
for _ in $(seq 40); do
  e2e_colour_near "$(e2e_pixel $((left + 100)) $((top + 12)))" "$header_expected" 2 && break
  sleep 0.05
done
shot=$(e2e_screenshot "$E2E_SHOT_DIR/window.png")
for point in "100 12" "30 10" "120 20"; do
  read -r x y <<<"$point"
  e2e_check_eq "$(alpha_of "$background" "$x" "$y")" 255 "background pixel $x,$y is opaque in the image"
  e2e_check_pixel $((left + x)) $((top + y)) "$(e2e_pixel "$x" "$y" "$background")" 2 \
    "header pixel $x,$y shows the image's colour" "$shot"
done
# Row 25 under the header's red rule and the column right of the 207-wide bars.
# Xvfb has no compositor: Wine shows alpha 0 as black, where Windows shows the desktop.
for point in "50 25" "207 40"; do
  read -r x y <<<"$point"
  e2e_check_eq "$(alpha_of "$background" "$x" "$y")" 0 "background pixel $x,$y is transparent in the image"
  e2e_check 'e2e_colour_near "$(e2e_pixel $((left + x)) $((top + y)) "$shot")" 0,0,0 0 ||
    e2e_colour_near "$(e2e_pixel $((left + x)) $((top + y)) "$shot")" "$magenta" 0' "nothing is drawn at $x,$y"
done
e2e_check_pixel $((left - 1)) "$top" "$magenta" 0 "the desktop starts left of the window" "$shot"
e2e_check_pixel $((left + 208)) $((top + 85)) "$magenta" 0 "and right of it" "$shot"
e2e_check '! e2e_colour_near "$(e2e_pixel 0 0 "$shot")" 1,2,3 0' "a colour far off is told apart"

e2e_case "keyboard and mouse"
# In the demo each row's bar button lies over the row's edit box and takes the
# clicks, so nothing typed shows; driver_test.sh checks typing on a real edit box.
e2e_check 'e2e_click $((left + 150)) $((top + 56))' "clicking into row 2 runs"
e2e_check 'e2e_double_click $((left + 150)) $((top + 76))' "double-clicking row 3 runs"
e2e_check 'e2e_type "abcd"' "typing ASCII runs"
e2e_check 'e2e_key BackSpace BackSpace' "pressing keys runs"
e2e_check 'e2e_type "中文"' "typing CJK (by paste) runs"
e2e_check 'e2e_running' "the demo is still running"

e2e_case "drag"
# The demo's window is a plain popup without a move handler: the drag runs but moves nothing.
e2e_check 'e2e_drag $((left + 60)) $((top + 10)) $((left + 120)) $((top + 50))' "a drag from the header runs"
e2e_check_eq "$(e2e_geometry "$window")" "$left $top 208 86" "the demo's window stays put"

e2e_case "ending"
pid=$E2E_PID
t0=$(date +%s.%N)
e2e_stop skin_demo.exe 1.5 2>/dev/null
stopped=$?
# The demo's loop does not end on WM_CLOSE, only on its timer: the window goes, the process stays.
e2e_check 'e2e_wait_no_window "$pid" 1' "taskkill's WM_CLOSE destroys the window"
e2e_check '((stopped == 1))' "a program that stays is killed after the bound"
e2e_check '! e2e_running "$pid"' "and is gone afterwards"
# The given bound, not the 10 s default; starting taskkill alone can take seconds on a busy machine.
e2e_check "awk -v s=$t0 -v e=$(date +%s.%N) 'BEGIN { exit !(e - s < 8) }'" "within the given bound, not the default one"
e2e_start "$work" skin_demo.exe "$(winepath -w "$assets")" 1
e2e_wait_window >/dev/null
e2e_stop skin_demo.exe 5
stopped=$?
e2e_check '((stopped == 0))' "a program that ends by itself is waited for"
e2e_check_eq "$E2E_EXIT_STATUS" 0 "its exit status is kept"
e2e_wine_reset

echo "took $(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }') s"
e2e_summary
