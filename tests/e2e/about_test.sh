#!/usr/bin/env bash
# The help button driven like a user under Wine: the start-with-system
# question and the Run value, the about window's online status (no network,
# a status answer through a local proxy, a server that never answers) and
# the colour button.
# Usage (inside scripts/with-wine.sh): about_test.sh BUILD_DIR, the Windows
# cross build or the native build that holds it in windows/.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

build=$(e2e_windows_build "$1")
exe=$build/strip/memo.exe
# A space in the path: the Run value must then be quoted.
work="$E2E_SHOT_DIR/about dir"
settings=$work/配置.dpk
E2E_TIMEOUT=15
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
internet_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
about_title=关于备忘条
question_title=错误   # Wine's caption of a message box that has none
font_title=字体
unset http_proxy HTTP_PROXY   # the proxy comes from the registry only

# Strip at (600, 500): its help and + buttons; the about window at (50, 50).
help_x=783 help_y=508
add_x=760 add_y=508
about_close_x=447 about_close_y=62
colour_x=264 colour_y=296
online_x=404 online_y=295   # a pixel of the online button's opaque icon
online_colour=30,155,224
offline_colour=163,173,179
aqua=16776960               # the colour above white in the font dialog's list

run_value() {  # prints the Run value; fails when there is none
  local out
  out=$(wine reg query "$run_key" /v quenlid 2>/dev/null </dev/null | iconv -f GBK -t UTF-8) || return 1
  sed -n 's/^ *quenlid *REG_SZ *//p' <<<"$out" | tr -d '\r'
}
set_run_value() { wine reg add "$run_key" /v quenlid /t REG_SZ /d "$1" /f </dev/null >/dev/null 2>&1; }
delete_run_value() { wine reg delete "$run_key" /v quenlid /f </dev/null >/dev/null 2>&1 || true; }
use_proxy() {  # PORT, or "" for a direct connection (no network here)
  if [[ -n $1 ]]; then
    wine reg add "$internet_key" /v ProxyServer /t REG_SZ /d "127.0.0.1:$1" /f </dev/null >/dev/null 2>&1
    wine reg add "$internet_key" /v ProxyEnable /t REG_DWORD /d 1 /f </dev/null >/dev/null 2>&1
  else
    wine reg add "$internet_key" /v ProxyEnable /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  fi
}

# The visible windows of the program whose title is exactly NAME (xdotool's
# --name regex does not match these titles here).
windows_named() {
  local window
  for window in $(e2e_windows); do
    [[ $(xdotool getwindowname "$window" 2>/dev/null) == "$1" ]] && printf '%s\n' "$window"
  done
}
# The first such window, waited for up to TIMEOUT seconds.
named_window() {
  local polls i window
  polls=$(e2e_polls "${2:-$E2E_TIMEOUT}")
  for ((i = 0; i < polls; i++)); do
    window=$(windows_named "$1" | head -n 1)
    [[ -n $window ]] && { printf '%s\n' "$window"; return 0; }
    sleep 0.05
  done
  return 1
}
window_count() { windows_named "$1" | wc -l; }
now_ms() { date +%s%3N; }
close_about() {
  e2e_click $about_close_x $about_close_y
  for _ in $(seq 100); do (( $(window_count $about_title) == 0 )) && return 0; sleep 0.05; done
  return 1
}
proxy_pid=""
start_proxy() {  # MODE: starts the status stand-in and prints its port
  stop_proxy
  coproc PROXY { exec python3 "$here/status_proxy.py" "$1" "$E2E_SHOT_DIR/proxy.log"; }
  proxy_pid=$PROXY_PID
  E2E_STARTED_PIDS+=("$proxy_pid")
  read -r -t 5 proxy_port <&"${PROXY[0]}"
}
stop_proxy() { if [[ -n $proxy_pid ]]; then kill "$proxy_pid" 2>/dev/null; wait "$proxy_pid" 2>/dev/null; proxy_pid=""; fi; }
row_pixels_of() {  # ROW "r,g,b": pixels near that colour in the row's text area
  local row=$1 colour=$2 x y w h
  read -r x y w h < <(e2e_geometry "$strip")
  convert "$(e2e_screenshot)" -crop "150x18+$((x + 8))+$((y + 27 + 20 * (row - 1)))" +repage -fuzz 12% \
    -fill black +opaque "rgb($colour)" -fill white -opaque "rgb($colour)" -format '%[fx:int(mean*w*h+0.5)]' info:
}
colours_of_memos() { e2e_setting "$settings" 条目内容 | tr '\\' '\n' | sed -n 's/.*&//p' | tr '\n' ' '; }

delete_run_value
use_proxy ""
rm -rf "$work" && mkdir -p "$work" && cp "$exe" "$work/"
e2e_write_settings "$work" - <<'FIXTURE'
[各项配置]
启动X坐标=600
启动Y坐标=500
条目内容=one&假&&假&16777215\two&假&&假&255\three&假&&假&65280\
FIXTURE
e2e_start "$work" memo.exe
e2e_wait_window >/dev/null
strip=$E2E_WINDOW
path=$(winepath -w "$work/memo.exe")

e2e_case "no Run value: asked; No leaves it missing; without network the window shows offline"
e2e_click $help_x $help_y
e2e_check "named_window $question_title >/dev/null" "the help button asks the question"
e2e_check "(( \$(window_count $about_title) == 0 ))" "the about window waits for the answer"
e2e_key n
about=$(named_window $about_title)
e2e_check "[[ -n '$about' ]]" "after No the about window opens"
e2e_check_eq "$(e2e_geometry "$about")" "50 50 427 284" "427 x 284 at (50, 50)"
e2e_check "! run_value >/dev/null" "No writes nothing"
e2e_check_pixel $online_x $online_y $offline_colour 25 "the online button shows the contact-offline image"
e2e_check "close_about" "the close button closes the about window"
e2e_check "e2e_running && (( \$(window_count 青岚碧溪备忘条) == 1 ))" "the strip stays"

e2e_case "another path (this path in other letters): asked; No deletes the value"
set_run_value "${path^^}"
e2e_click $help_x $help_y
e2e_check "named_window $question_title >/dev/null" "the question is asked"
e2e_key n
named_window $about_title >/dev/null
e2e_check "! run_value >/dev/null" "No deletes the value"
close_about

e2e_case "this path unquoted, as a path with a space must not be: asked; Yes writes the quoted path"
set_run_value "$path"
e2e_click $help_x $help_y
e2e_check "named_window $question_title >/dev/null" "the question is asked"
e2e_key y
named_window $about_title >/dev/null
e2e_check_eq "$(run_value)" "\"$path\"" "Yes writes the path in quotes"
close_about

e2e_case "the value starts this executable: no question"
e2e_click $help_x $help_y
e2e_check "named_window $about_title >/dev/null" "the about window opens without a key pressed"
e2e_check "(( \$(window_count $question_title) == 0 ))" "no question was shown"
e2e_check_eq "$(run_value)" "\"$path\"" "the value stays"
e2e_click $help_x $help_y
sleep 0.5
e2e_check_eq "$(window_count $about_title)" 1 "a second click raises the open about window instead of a second one"
close_about

e2e_case "the status service answers online (through a local proxy)"
start_proxy online
use_proxy "$proxy_port"
e2e_click $help_x $help_y
named_window $about_title >/dev/null
e2e_check_pixel $online_x $online_y $online_colour 25 "the online button shows the contact-online image"
# Wine's WinINet names the default port in the proxied request.
e2e_check "grep -Eq '^GET http://status\\.example\\.com(:80)?/pa\\?p=2:10000:41 ' '$E2E_SHOT_DIR/proxy.log'" \
  "the request asks for the support contact's status"
close_about

e2e_case "a status server that never answers delays the window by the timeout only"
start_proxy silent
use_proxy "$proxy_port"
started=$(now_ms)
e2e_click $help_x $help_y
named_window $about_title >/dev/null
took=$(( $(now_ms) - started ))
e2e_log "   click to about window: $took ms"
# The receive timeout (2 s) ends the wait, inside the 3 s bound of the whole read.
e2e_check "(( took >= 1800 && took <= 4500 ))" "the window comes after the timeout, not later (took $took ms)"
e2e_check_pixel $online_x $online_y $offline_colour 25 "and shows the contact-offline image"
stop_proxy
use_proxy ""

e2e_case "the colour button: the font dialog's colour recolours every row"
e2e_click $colour_x $colour_y
e2e_check "named_window $font_title >/dev/null" "the font dialog opens"
e2e_key alt+c Up Return
e2e_check "e2e_wait_setting \"\$settings\" 文本颜色 $aqua" "OK saves the chosen colour as 文本颜色"
sleep 0.3
for row in 1 2 3; do
  e2e_check "(( \$(row_pixels_of $row 0,255,255) > 10 ))" "row $row's text is drawn in the new colour"
done

e2e_case "Cancel takes the colour last confirmed in this window"
iconv -f GBK -t UTF-8 "$settings" | sed "s/^文本颜色=.*/文本颜色=1/" | e2e_write_settings "$work" -
e2e_click $colour_x $colour_y
named_window $font_title >/dev/null
e2e_key alt+c Home Escape   # black chosen, then cancelled
e2e_check "e2e_wait_setting \"\$settings\" 文本颜色 $aqua" "Cancel saves the kept colour again, not the one chosen"

e2e_case "a row added afterwards takes the new colour; the memos keep it"
e2e_click $add_x $add_y
e2e_check "e2e_wait_geometry $strip '600 500 207 106'" "+ adds a fourth row"
close_about
e2e_stop
e2e_check_eq "$(colours_of_memos)" "$aqua $aqua $aqua $aqua " "every memo, the new one too, has the new colour"
delete_run_value

e2e_summary
