#!/usr/bin/env bash
# The reminder settings window driven like a user under Wine: opening it from
# a row's clock button, stepping the time, the switch, the frame and colour
# choices, saving at the close, and a reminder that falls due and is switched off.
# Usage (inside scripts/with-wine.sh): settings_window_test.sh BUILD_DIR, the
# Windows cross build or the native build that holds it in windows/.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

build=$(e2e_windows_build "$1")
work=$E2E_SHOT_DIR/settings
settings=$work/配置.dpk
title=定时提醒设定
E2E_TIMEOUT=15

# The strip at (400, 300): row r's clock button is centred at (580, 336 + 20 (r - 1)),
# the clock image's body at (576, 335 + 20 (r - 1)) and its bar outline at (500, 326 + 20 (r - 1)).
clock_x=580
clock_y() { echo $((336 + 20 * ($1 - 1))); }
clock_body_y() { echo $((335 + 20 * ($1 - 1))); }
bar_y() { echo $((326 + 20 * ($1 - 1))); }
red=230,40,40
white=255,255,255
clock_yellow=255,210,31

rm -rf "$work" && mkdir -p "$work"
cp "$build/strip/memo.exe" "$build/tests/e2e/e2e_probe.exe" "$work/"
e2e_write_settings "$work" - <<'FIXTURE'
[各项配置]
启动X坐标=400
启动Y坐标=300
条目内容=one&假&2011-01-01-12:00:00&真&16777215\two&真&2020-12-31-23:59:59&真&16777215\three&假&2099-01-01-12:00:00&假&16777215\
FIXTURE
e2e_start "$work" memo.exe
e2e_wait_window >/dev/null
strip_window=$E2E_WINDOW

settings_window=""
# Clicks row R's clock button and waits for the settings window; the pointer ends where it clicked.
open_row() {
  settings_window=""
  e2e_click "$clock_x" "$(clock_y "$1")"
  for _ in $(seq 100); do
    settings_window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [[ -n $settings_window ]] && return 0
    sleep 0.05
  done
  return 1
}

settings_open() { [[ -n $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null) ]]; }

wait_closed() {
  for _ in $(seq 100); do settings_open || return 0; sleep 0.05; done
  return 1
}

# The window's close box, at the right end of its caption.
close_by_box() {
  local x y w h
  read -r x y w _ < <(e2e_geometry "$settings_window")
  e2e_click $((x + w - 12)) $((y + 12))
  wait_closed
}

# The settings window's controls as the probe lists them: id, class, rect, state, text.
controls() { (cd "$work" && wine ./e2e_probe.exe --controls "$title" </dev/null 2>/dev/null) | iconv -f GBK -t UTF-8 | tr -d '\r'; }
# control ID COLUMN: one column of the control with that id (2 class, 3 rect, 4 state, 5 text).
control() { controls | awk -F'\t' -v id="$1" -v col="$2" '$1 == id && $2 != "msctls_updown32" { print $col; exit }'; }
box_text() { control 2 5; }
box_selection() { control 2 4; }
label_text() { control 3 5; }
checked() { [[ $(control "$1" 4) == check=1 ]]; }
# Clicks the middle of control ID (a class name for the spinner).
click_control() {
  local rect l t r b
  rect=$(controls | awk -F'\t' -v id="$1" '$1 == id || $2 == id { print $3; exit }')
  IFS=, read -r l t r b <<<"$rect"
  e2e_click $(((l + r) / 2)) $(((t + b) / 2 + ${2:-0}))
}

# clock_colour ROW EXPECTED: row ROW's clock pixel once it is EXPECTED, or the last seen after 2 s. The
# clock keeps its hover look until Wine notices, on a timer, that the pointer left it for the window.
clock_colour() {
  local pixel=""
  for _ in $(seq 20); do
    pixel=$(e2e_pixel 576 "$(clock_body_y "$1")")
    e2e_colour_near "$pixel" "$2" 40 && break
    sleep 0.1
  done
  printf '%s\n' "$pixel"
}

memo_item() { e2e_setting "$settings" 条目内容 | tr '\\' '\n' | sed -n "${1}p"; }

row_text_pixels() {  # white text pixels in row N's text area
  convert "$(e2e_screenshot)" -crop "150x18+408+$((327 + 20 * ($1 - 1)))" +repage -fuzz 12% -fill black +opaque white \
    -fill white -opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}

e2e_case "a memo with its reminder off opens with the present time"
today=$(date +%Y-%m-%d)
open_row 1
e2e_check "[[ -n \$settings_window ]]" "the clock button opens \"$title\""
read -r wx wy ww _ < <(e2e_geometry "$settings_window")
e2e_check_eq "$((wx + ww)) $wy" "$((clock_x - 10)) $(($(clock_y 1) + 10))" \
  "its right edge is 10 px left of the pointer, its top 10 px below"
e2e_check_eq "$ww" 380 "it is 380 px wide"
e2e_check_eq "$(box_text | cut -c1-10)" "$today" "the time box shows today's date"
e2e_check "[[ \$(box_text) =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}-[0-9]{2}:[0-9]{2}:[0-9]{2}\$ ]]" "as a 19-character time text"
e2e_check "! checked 1" "the switch is off"
e2e_check "checked 5 && ! checked 6" "the red frame is chosen although the memo says yellow"
e2e_check_eq "$(label_text)" "" "the date label is empty before the first step"
shown=$(box_text)
e2e_check "close_by_box" "the close box closes it"
e2e_check_eq "$(memo_item 1)" "one&假&$shown&真&16777215" \
  "closing stores the present time as the reminder time; switch and frame stay"

e2e_case "a memo with its reminder on: stepping the fields"
open_row 2
e2e_check_eq "$(box_text)" "2020-12-31-23:59:59" "the stored time is shown"
e2e_check "checked 1" "the switch is on"
e2e_check "checked 6 && ! checked 5" "the yellow frame is chosen"
click_control 2
e2e_key Home Right
sleep 0.1
e2e_check_eq "$(box_selection)" "sel=5,7" "Home then Right selects the month"
# Up on every field in turn, then Right on to the next: each wraps to its lowest value.
expected=(2020-01-31-23:59:59 2020-01-01-23:59:59 2020-01-01-00:59:59 2020-01-01-00:00:59 2020-01-01-00:00:00
  2011-01-01-00:00:00)
steps_ok=1
for want in "${expected[@]}"; do
  e2e_key Up
  sleep 0.05
  got=$(box_text)
  [[ $got == "$want" ]] || { steps_ok=0; e2e_log "after Up: $got, expected $want"; }
  e2e_key Right
done
e2e_check "(( steps_ok ))" "Up wraps month 12, day 31, hour 23, minute 59, second 59, year 2020 to their lowest"
e2e_check_eq "$(box_selection)" "sel=5,7" "Right from the year's neighbour went on to the month"
e2e_check_eq "$(label_text)" "2011年1月1日" "the label shows the date alone at midnight"
e2e_key Left Left
sleep 0.1
e2e_check_eq "$(box_selection)" "sel=17,19" "Left from the year selects the second"
e2e_key Down
sleep 0.1
e2e_check_eq "$(box_text)" "2011-01-01-00:00:59" "Down wraps the second from 00 to 59"
e2e_check_eq "$(label_text)" "2011年1月1日0时0分59秒" "the label names the seconds"
e2e_key Left Left Left Left Up Right Down   # back to the month: 02; then the day: 31
sleep 0.1
e2e_check_eq "$(box_text)" "2011-02-31-00:00:59" "month up to 02, day down to 31"
e2e_check_eq "$(label_text)" "此日期不存在，请重新选择" "31 February is reported as no such date"
e2e_key shift+Up ctrl+Right BackSpace Delete 1
sleep 0.1
e2e_check_eq "$(box_text)" "2011-02-31-00:00:59" "Shift+Up, Ctrl+Right, Backspace, Delete and typing change nothing"
e2e_check_eq "$(box_selection)" "sel=8,10" "and the day stays selected"
click_control msctls_updown32 -5   # the spinner's upper button
sleep 0.2
e2e_check_eq "$(box_text)" "2011-02-01-00:00:59" "the spinner's up button steps the selected day"
e2e_check_eq "$(label_text)" "2011年2月1日0时0分59秒" "and the label follows"
e2e_check_eq "$(box_selection)" "sel=8,10" "the day stays selected after the spinner press"
e2e_key Up
sleep 0.1
e2e_check_eq "$(box_text)" "2011-02-02-00:00:59" "so the next Up steps the day again"
e2e_check "close_by_box" "closed again"
e2e_check_eq "$(memo_item 2)" "two&真&2011-02-02-00:00:59&真&16777215" "the stepped time is stored"
e2e_check_eq "$(memo_item 1)" "one&假&$shown&真&16777215" "the other memos are written unchanged"

e2e_case "switching a reminder on, a row colour, and the reminder falling due"
# Memo 3's stored time lies in 2099, so switching it on makes nothing due
# before the window closes with the time shown. Ten seconds ahead must not
# carry into the minute.
while (( 10#$(date +%S) > 40 )); do sleep 0.5; done
e2e_check_pixel 576 "$(clock_body_y 3)" "$white" 40 "row 3's clock is white while its reminder is off"
open_row 3
click_control 1   # the switch
clock=$(clock_colour 3 "$clock_yellow")
e2e_check "e2e_colour_near $clock $clock_yellow 40" "checking the switch turns the clock yellow (got $clock)"
click_control 2
e2e_key Home Left Up Up Up Up Up Up Up Up Up Up
sleep 0.1
due_text=$(box_text)
due=$(date -d "$(sed -E 's/^(....-..-..)-/\1 /' <<<"$due_text")" +%s)
white_before=$(row_text_pixels 3)
click_control 8   # the colour picker opens its list
sleep 0.3
e2e_key Down Return
sleep 0.3
e2e_check "(( \$(row_text_pixels 3) < $white_before / 4 ))" "a colour picked from the list recolours row 3's text at once"
e2e_check "(( \$(row_text_pixels 1) > 10 ))" "row 1's text stays white"
# Not Alt+F4: Wine's combo box keeps every system key to itself.
e2e_check "close_by_box" "closed again"
closed_at=$(date +%s)
e2e_check_eq "$(memo_item 3)" "three&真&$due_text&假&0" "the switch, the time and black (0) are stored for memo 3"
e2e_check_eq "$(memo_item 2)" "two&真&2011-02-02-00:00:59&真&16777215" "memo 2 keeps its colour"
first_red=""
for _ in $(seq 80); do
  if e2e_colour_near "$(e2e_pixel 500 "$(bar_y 3)")" "$red" 70; then first_red=$(date +%s); break; fi
  sleep 0.2
done
e2e_check "(( closed_at < due ))" "the window closed before the reminder time"
e2e_check "[[ -n \$first_red ]] && (( first_red >= due && first_red <= due + 6 ))" \
  "row 3 flashes red once its time has come (due $due, seen ${first_red:-never})"

e2e_case "switching the reminder off ends the flashing at once"
open_row 3
e2e_check "checked 1" "the switch shows the reminder on"
e2e_check_eq "$(box_text)" "$due_text" "and its stored time"
click_control 1
shot=$(e2e_screenshot "$E2E_SHOT_DIR/off.png")
e2e_check "! e2e_colour_near \"\$(e2e_pixel 500 $(bar_y 3) \$shot)\" $red 70" "the bar is plain right after the switch goes off"
clock=$(clock_colour 3 "$white")
e2e_check "e2e_colour_near $clock $white 40" "and the clock is white again (got $clock)"
flashed=0
for _ in $(seq 20); do
  e2e_colour_near "$(e2e_pixel 500 "$(bar_y 3)")" "$red" 70 && flashed=1
  sleep 0.25
done
e2e_check "(( ! flashed ))" "row 3 flashes no more"
e2e_key alt+F4
e2e_check "wait_closed" "closed"
e2e_check "[[ \$(memo_item 3) == three\\&假\\&* ]]" "memo 3 is stored with its reminder off"
e2e_check "[[ \$(xdotool search --onlyvisible --pid $E2E_PID 2>/dev/null) == *$strip_window* ]]" "the strip is still there"

e2e_case "a time moved ahead while the row flashes leaves the bar plain"
# Memo 1's stored time is long past, so switching it on makes it flash (yellow,
# as it asks); the window then closes with a time five minutes ahead while the
# frame shows.
yellow_frame=255,204,0
while (( 10#$(date +%M) > 50 )); do sleep 1; done
open_row 1
click_control 1
click_control 2
e2e_key Home Left Left Up Up Up Up Up
framed=""
for _ in $(seq 60); do
  if e2e_colour_near "$(e2e_pixel 500 "$(bar_y 1)")" "$yellow_frame" 70; then framed=1; break; fi
  sleep 0.1
done
e2e_check "[[ -n \$framed ]]" "row 1 flashes once its reminder is on"
e2e_check "close_by_box" "closed while the frame shows"
sleep 2.5  # the plain half of the cycle
flashed=0
for _ in $(seq 16); do
  e2e_colour_near "$(e2e_pixel 500 "$(bar_y 1)")" "$yellow_frame" 70 && flashed=1
  sleep 0.25
done
e2e_check "(( ! flashed ))" "its bar is plain, and stays so, now that the memo is not due"

e2e_stop
e2e_summary
