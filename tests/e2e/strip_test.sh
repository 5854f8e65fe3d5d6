#!/usr/bin/env bash
# The strip driven like a user under Wine: its rows, saving, flashing and closing.
# Usage (inside scripts/with-wine.sh): strip_test.sh BUILD_DIR, the Windows
# cross build or the native build that holds it in windows/.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

build=$(e2e_windows_build "$1")
exe=$build/strip/memo.exe
work=$E2E_SHOT_DIR/strip
settings=$work/配置.dpk
E2E_TIMEOUT=15

# Starts the strip with the settings given on stdin ("" for none) and waits
# for its window (not with --off-screen, where no window is mapped).
start_strip() {
  local wait=1
  [[ ${1:-} == --off-screen ]] && wait=0
  local fixture
  fixture=$(cat)
  rm -rf "$work" && mkdir -p "$work" && cp "$exe" "$work/"
  if [[ -n $fixture ]]; then printf '%s\n' "$fixture" | e2e_write_settings "$work" -; fi
  e2e_start "$work" memo.exe
  if ((wait)); then e2e_wait_window >/dev/null; fi
}

# Another program's window to click, so that the strip loses activation: the
# driver's probe, placed at (700, 700) by its own settings file.
other_window=""
activate_other_window() {
  if [[ -z $other_window ]]; then
    local dir=$E2E_SHOT_DIR/other
    mkdir -p "$dir" && cp "$1/tests/e2e/e2e_probe.exe" "$dir/"
    printf '[各项配置]\n启动X坐标=700\n启动Y坐标=700\n' | e2e_write_settings "$dir" -
    (cd "$dir" && exec wine ./e2e_probe.exe </dev/null >/dev/null 2>&1) &
    local pid=$!
    E2E_STARTED_PIDS+=("$pid")
    for _ in $(seq 200); do
      other_window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
      [[ -n $other_window ]] && break
      sleep 0.05
    done
  fi
  e2e_click 850 720
  sleep 0.2
}

memos() { e2e_setting "$settings" 条目内容; }

# Wine leaves a window that lies wholly off the screen unmapped: look at every
# window of the process for the strip's geometry.
off_screen_geometry() {
  local want=$1 window geometry=""
  for _ in $(seq 300); do
    for window in $(xdotool search --pid "$E2E_PID" 2>/dev/null); do
      geometry=$(e2e_geometry "$window")
      [[ $geometry == "$want" ]] && break 2
    done
    sleep 0.05
  done
  printf '%s\n' "$geometry"
}
row_text_pixels() {  # pixels of the strip's text colour (white) in row N's text area
  local row=$1 x y w h
  read -r x y w h < <(e2e_geometry)
  local top=$((y + 27 + 20 * (row - 1)))
  convert "$(e2e_screenshot)" -crop "150x18+$((x + 8))+$top" +repage -fuzz 12% -fill black +opaque white \
    -fill white -opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}

e2e_case "no settings file: one first-run row at (0, 0)"
start_strip </dev/null
e2e_check_eq "$(e2e_geometry)" "0 0 207 46" "one row of 207 x 46 at the top-left"
e2e_check "(( \$(row_text_pixels 1) > 40 ))" "the first-run text is drawn in white"
e2e_stop
e2e_check "[[ -f \$settings ]]" "closing saves the memo list"
e2e_check_eq "$(memos)" "青岚映辉   碧溪奔腾 &假&&假&16777215\\" "the first-run memo, its leading spaces gone"

e2e_case "three stored memos, far-off and normal positions"
start_strip --off-screen <<'FIXTURE'
[各项配置]
启动X坐标=-5000
启动Y坐标=-5000
条目内容=a&假&&假&16777215\b&假&&假&16777215\c&假&&假&16777215\
FIXTURE
e2e_check_eq "$(off_screen_geometry '-5000 -5000 207 86')" "-5000 -5000 207 86" "a position off the screen is used as it is"
e2e_stop

start_strip <<'FIXTURE'
[各项配置]
启动X坐标=400
启动Y坐标=300
条目内容=one&假&&假&16777215\two&假&&假&16777215\three&假&&假&16777215\
FIXTURE
e2e_check_eq "$(e2e_geometry)" "400 300 207 86" "three rows: 207 x 86"
before=$(e2e_pixel 597 355)
e2e_move 597 355   # over row 2's delete button
sleep 0.3
e2e_check "! e2e_colour_near \"\$(e2e_pixel 597 355)\" \"$before\" 10" "row 2 has a delete button that shows on hover"
before=$(e2e_pixel 597 335)
e2e_move 597 335   # where row 1's would be
sleep 0.3
e2e_check "e2e_colour_near \"\$(e2e_pixel 597 335)\" \"$before\" 10" "row 1 has none"
e2e_move 300 200
e2e_check "(( \$(row_text_pixels 3) > 10 ))" "row 3 shows its text"

e2e_case "adding and deleting rows"
e2e_click 560 308    # "+"
e2e_check "e2e_wait_geometry $E2E_WINDOW '400 300 207 106'" "+ adds a fourth row at the bottom"
e2e_move 597 355
sleep 0.2
e2e_click 597 355   # delete row 2
e2e_check "e2e_wait_geometry $E2E_WINDOW '400 300 207 86'" "deleting row 2 of 4 shortens the strip"
e2e_check_eq "$(memos)" "one&假&&假&16777215\\two&假&&假&16777215\\three&假&&假&16777215\\" \
  "the file keeps the deleted memo until the next deactivation"
activate_other_window "$build"
e2e_check "e2e_wait_setting \"\$settings\" 条目内容 'one&假&&假&16777215\\three&假&&假&16777215\\请在此输入&假&2011-01-01-12:00:00&假&16777215\\'" \
  "deactivation writes the list: row 3 moved up, the new row last"

e2e_case "typing and dragging are saved"
e2e_click 450 336   # into row 1's text
e2e_key End
e2e_type "X&Y"
activate_other_window "$build"
e2e_check "e2e_wait_setting \"\$settings\" 条目内容 'oneXY&假&&假&16777215\\three&假&&假&16777215\\请在此输入&假&2011-01-01-12:00:00&假&16777215\\'" \
  "typed text reaches the file; & is refused"
e2e_drag 420 312 520 412
e2e_check "e2e_wait_setting \"\$settings\" 启动X坐标 500" "dragging writes the final left"
e2e_check "e2e_wait_setting \"\$settings\" 启动Y坐标 400" "and the final top"
e2e_check_eq "$(e2e_geometry)" "500 400 207 86" "the strip is where it was dragged"

e2e_case "the close button ends the program with what was typed"
e2e_click 550 436   # row 1 text, now at (500, 400)
e2e_key End
e2e_type "Z"
e2e_click 699 410   # the close button
e2e_check "e2e_wait_no_window" "the strip is gone"
for _ in $(seq 100); do e2e_running || break; sleep 0.05; done
e2e_check "! e2e_running" "the process has ended"
e2e_check "[[ \$(memos) == oneXYZ\\&* ]]" "what was typed just before closing is saved"

e2e_case "a due memo flashes; one not yet due does not"
start_strip <<'FIXTURE'
[各项配置]
启动X坐标=400
启动Y坐标=300
条目内容=due&真&2011-01-01-12:00:00&假&16777215\later&真&2099-01-01-12:00:00&真&16777215\
FIXTURE
red=0 plain=0 balloon=0
for _ in $(seq 30); do
  # The balloon is a window of its own near the bottom-right corner.
  for window in $(e2e_windows); do
    read -r bx by bw bh < <(e2e_geometry "$window")
    (( bx + bw > 900 && by + bh > 800 )) && balloon=1
  done
  shot=$(e2e_screenshot)
  pixel=$(e2e_pixel 500 326 "$shot")  # row 1's bar outline
  if e2e_colour_near "$pixel" "230,40,40" 70; then red=1; elif ((red)); then plain=1; fi
  row2=$(e2e_pixel 500 346 "$shot")
  ((red && plain && balloon)) && break
  sleep 0.25
done
e2e_check "(( red ))" "row 1's bar shows the red frame"
e2e_check "(( plain ))" "and then the plain bar again"
e2e_check "(( balloon ))" "a balloon appears near the bottom-right corner"
e2e_check "! e2e_colour_near \"\$row2\" '230,40,40' 70" "row 2, due in 2099, stays plain"
e2e_stop

e2e_case "45 stored memos: every one gets a row"
items=""
for i in $(seq 45); do items+="m$i&假&&假&16777215\\"; done
start_strip <<FIXTURE
[各项配置]
启动X坐标=400
启动Y坐标=40
条目内容=$items
FIXTURE
e2e_check "e2e_wait_geometry $E2E_WINDOW '400 40 207 926'" "the window is 207 x 926"
e2e_stop
e2e_check "[[ \$(memos | grep -o '\\\\' | wc -l) -eq 45 ]]" "all 45 memos are saved again"

e2e_summary
