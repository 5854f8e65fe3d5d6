# shellcheck shell=bash disable=SC2034  # the E2E_ variables are read by the scripts that source this
# Drives a Windows program under Wine like a user: start it, find its window,
# read screen pixels, use mouse and keyboard, read its settings file, end it.
# Source it from a bash script run inside scripts/with-wine.sh (DISPLAY and
# WINEPREFIX set). Every wait is bounded and polls every 50 ms.
# Sourcing it sets an EXIT trap that calls e2e_cleanup; a script that sets its
# own EXIT trap must call e2e_cleanup from it.

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_TIMEOUT=${E2E_TIMEOUT:-10}       # default bound of every wait, in seconds
E2E_SETTINGS_NAME=配置.dpk
# Screenshots and scratch files; a directory made here is removed at the end unless a check failed.
if [[ -z ${E2E_SHOT_DIR:-} ]]; then
  E2E_SHOT_DIR=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
  E2E_OWN_SHOT_DIR=1
fi

E2E_PID=""        # the Wine process of the program started last
E2E_EXE=""        # its executable's file name
E2E_DIR=""        # the directory it runs in
E2E_WINDOW=""     # the window e2e_wait_window found last
E2E_EXIT_STATUS=""  # exit status of the program e2e_stop ended
E2E_PASSED=0
E2E_FAILED=0
E2E_CASE=""
E2E_STARTED_PIDS=()    # programs and clipboard owners this script started

# --- helpers used below ----------------------------------------------------

# The number of 50 ms polls in SECONDS (integer or decimal).
e2e_polls() { awk -v s="$1" 'BEGIN { n = int(s * 20 + 0.5); print (n < 1 ? 1 : n) }'; }

e2e_log() { printf '%s\n' "$*" >&2; }

# e2e_windows_build DIR: prints the Windows cross build, given it or the native build that holds it in windows/.
e2e_windows_build() { if [[ -d $1/windows ]]; then printf '%s\n' "$1/windows"; else printf '%s\n' "$1"; fi; }

# --- starting the program ----------------------------------------------------

# e2e_memo_items COUNT [TIMER_ON]: a "条目内容" value of COUNT memos 备忘1, 备忘2, ..., each with
# the reminder switch TIMER_ON (default 假) and a time long past, so that 真 makes every one due.
e2e_memo_items() {
  local items="" i
  for ((i = 1; i <= $1; i++)); do items+="备忘$i&${2:-假}&2011-01-01-12:00:00&假&16777215\\"; done
  printf '%s' "$items"
}

# e2e_write_settings DIR FIXTURE: writes FIXTURE (a UTF-8 file, "-" for stdin) as DIR/配置.dpk in GBK with CR LF lines.
e2e_write_settings() {
  local dir=$1 fixture=$2
  mkdir -p "$dir"
  local text
  if [[ $fixture == - ]]; then text=$(cat); else text=$(cat "$fixture") || return 1; fi
  # $(...) dropped the final newline; every line, the last one too, ends in CR LF.
  printf '%s\n' "$text" | sed 's/\r$//; s/$/\r/' | iconv -f UTF-8 -t GBK >"$dir/$E2E_SETTINGS_NAME.tmp" ||
    { e2e_log "e2e_write_settings: $fixture is not UTF-8 text that GBK can hold"; rm -f "$dir/$E2E_SETTINGS_NAME.tmp"; return 1; }
  mv "$dir/$E2E_SETTINGS_NAME.tmp" "$dir/$E2E_SETTINGS_NAME"
}

# e2e_prepare_dir DIR EXE [FIXTURE]: makes DIR a fresh working copy with EXE in it, plus the settings FIXTURE if given.
e2e_prepare_dir() {
  local dir=$1 exe=$2 fixture=${3:-}
  rm -rf "$dir" && mkdir -p "$dir" && cp "$exe" "$dir/" || return 1
  if [[ -n $fixture ]]; then e2e_write_settings "$dir" "$fixture"; fi
}

# e2e_start DIR EXE_NAME [ARGS...]: starts DIR/EXE_NAME under Wine with DIR as working directory; sets E2E_PID.
e2e_start() {
  local dir=$1 exe=$2; shift 2
  [[ -f $dir/$exe ]] || { e2e_log "e2e_start: no $dir/$exe"; return 1; }
  # The wine script execs the loader, so $! is the PID the window carries (_NET_WM_PID).
  (cd "$dir" && exec wine "./$exe" "$@") </dev/null >"$dir/e2e_stdout.log" 2>"$dir/e2e_stderr.log" &
  E2E_PID=$!
  E2E_EXE=$exe
  E2E_DIR=$dir
  E2E_WINDOW=""
  E2E_EXIT_STATUS=""
  E2E_STARTED_PIDS+=("$E2E_PID")
}

# e2e_running [PID]: true while the program (default E2E_PID) runs.
e2e_running() { kill -0 "${1:-$E2E_PID}" 2>/dev/null; }

# --- windows -----------------------------------------------------------------

# e2e_wait_window [PID] [TIMEOUT]: waits until PID has a visible window and prints its id (sets E2E_WINDOW unless run in $(...)).
e2e_wait_window() {
  local pid=${1:-$E2E_PID} polls window i
  polls=$(e2e_polls "${2:-$E2E_TIMEOUT}")
  for ((i = 0; i < polls; i++)); do
    # Every Wine process also owns an unmapped "Default IME" window: visible ones only.
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    if [[ -n $window ]]; then
      E2E_WINDOW=$window
      printf '%s\n' "$window"
      return 0
    fi
    e2e_running "$pid" || { e2e_log "e2e_wait_window: process $pid ended without a window"; return 1; }
    sleep 0.05
  done
  e2e_log "e2e_wait_window: no visible window of $pid after ${2:-$E2E_TIMEOUT} s"
  return 1
}

# e2e_windows [PID]: prints the ids of every visible window of PID, one a line.
e2e_windows() { xdotool search --onlyvisible --pid "${1:-$E2E_PID}" 2>/dev/null || true; }

# e2e_wait_no_window [PID] [TIMEOUT]: waits until PID has no visible window left.
e2e_wait_no_window() {
  local pid=${1:-$E2E_PID} polls i
  polls=$(e2e_polls "${2:-$E2E_TIMEOUT}")
  for ((i = 0; i < polls; i++)); do
    [[ -z $(e2e_windows "$pid") ]] && return 0
    sleep 0.05
  done
  return 1
}

# e2e_geometry [WINDOW]: prints the window's screen rectangle as "x y w h".
e2e_geometry() {
  # shellcheck disable=SC2034  # WINDOW and SCREEN come with the --shell output
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "${1:-$E2E_WINDOW}" 2>/dev/null)" || return 1
  [[ -n ${WIDTH:-} ]] || return 1
  printf '%s %s %s %s\n' "$X" "$Y" "$WIDTH" "$HEIGHT"
}

# e2e_wait_geometry WINDOW "x y w h" [TIMEOUT]: waits until the window has that rectangle.
e2e_wait_geometry() {
  local window=$1 want=$2 polls i
  polls=$(e2e_polls "${3:-$E2E_TIMEOUT}")
  for ((i = 0; i < polls; i++)); do
    [[ $(e2e_geometry "$window") == "$want" ]] && return 0
    sleep 0.05
  done
  return 1
}

# --- the screen --------------------------------------------------------------

# e2e_screenshot [FILE]: saves the whole screen as a PNG and prints the file name.
e2e_screenshot() {
  local file=${1:-$E2E_SHOT_DIR/shot.png}
  import -window root "$file" || return 1
  printf '%s\n' "$file"
}

# e2e_pixel X Y [SHOT]: prints the screen pixel (or SHOT's) as "r,g,b", 0 to 255.
e2e_pixel() {
  local x=$1 y=$2 shot=${3:-}
  [[ -n $shot ]] || shot=$(e2e_screenshot "$E2E_SHOT_DIR/pixel.png") || return 1
  convert "$shot" -format \
    "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}

# e2e_colour_near ACTUAL EXPECTED TOLERANCE: true when every channel of two "r,g,b" differs by at most TOLERANCE.
e2e_colour_near() {
  awk -v a="$1" -v e="$2" -v t="$3" 'BEGIN {
    if (split(a, x, ",") != 3 || split(e, y, ",") != 3) exit 1
    for (i = 1; i <= 3; i++) { d = x[i] - y[i]; if (d < 0) d = -d; if (d > t) exit 1 }
    exit 0 }'
}

# e2e_changed_pixels SHOT_A SHOT_B [WxH+X+Y]: prints how many pixels differ between two screenshots (in the area).
e2e_changed_pixels() {
  local crop=() a=$E2E_SHOT_DIR/changed_a.png b=$E2E_SHOT_DIR/changed_b.png count
  [[ -n ${3:-} ]] && crop=(-crop "$3" +repage)
  convert "$1" "${crop[@]}" "$a" && convert "$2" "${crop[@]}" "$b" || return 1
  # compare exits 1 when the images differ; the count goes to stderr.
  count=$(compare -metric AE "$a" "$b" null: 2>&1 >/dev/null)
  [[ $count =~ ^[0-9]+$ ]] || { e2e_log "e2e_changed_pixels: $count"; return 1; }
  printf '%s\n' "$count"
}

# e2e_paint_root COLOUR: fills the desktop (the X root window) with COLOUR, e.g. "rgb(255,0,255)".
e2e_paint_root() {
  convert -size 8x8 "xc:$1" "$E2E_SHOT_DIR/root.png" || return 1
  # display exits non-zero here although the root is painted; the caller checks a pixel.
  display -window root "$E2E_SHOT_DIR/root.png" >/dev/null 2>&1 || true
}

# --- mouse and keyboard ------------------------------------------------------

# e2e_click X Y [BUTTON]: moves the mouse to (X, Y) on screen and clicks (button 1 by default).
e2e_click() { xdotool mousemove "$1" "$2" && sleep 0.05 && xdotool click "${3:-1}"; }

# e2e_double_click X Y: double-clicks button 1 at (X, Y).
e2e_double_click() { xdotool mousemove "$1" "$2" && sleep 0.05 && xdotool click --repeat 2 --delay 80 1; }

# e2e_move X Y: moves the mouse to (X, Y) without clicking (hover).
e2e_move() { xdotool mousemove "$1" "$2"; }

# e2e_drag X1 Y1 X2 Y2 [STEPS]: presses button 1 at (X1, Y1), moves to (X2, Y2) in STEPS steps (10) and lets go.
e2e_drag() {
  local x1=$1 y1=$2 x2=$3 y2=$4 steps=${5:-10} i
  xdotool mousemove "$x1" "$y1" && sleep 0.05 && xdotool mousedown 1 && sleep 0.1 || return 1
  # Small steps at a pace the program's move loop follows.
  for ((i = 1; i <= steps; i++)); do
    xdotool mousemove $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps)) || { xdotool mouseup 1; return 1; }
    sleep 0.03
  done
  sleep 0.1
  xdotool mouseup 1
}

# e2e_paste TEXT: puts UTF-8 TEXT on the X clipboard and presses ctrl+v in the focused window.
e2e_paste() {
  local owner
  owner=$(printf '%s' "$1" | python3 "$E2E_LIB_DIR/x_clipboard.py") || return 1
  E2E_STARTED_PIDS+=("$owner")
  xdotool key ctrl+v
  # Wine fetches the clipboard on the paste; give the request a moment before the next input.
  sleep 0.2
}

# e2e_type TEXT: types TEXT into the focused window; text with non-ASCII characters (CJK) is pasted instead.
e2e_type() {
  # xdotool's typing of characters outside the keymap reaches Wine as "??" each.
  if printf '%s' "$1" | LC_ALL=C grep -q '[^ -~]'; then
    e2e_paste "$1"
  else
    xdotool type --delay 20 -- "$1"
  fi
}

# e2e_key KEY...: presses keys or chords in turn, e.g. Return ctrl+a alt+F4.
e2e_key() { xdotool key --delay 30 "$@"; }

# --- the settings file -------------------------------------------------------

# e2e_setting FILE KEY [SECTION]: prints KEY's value (first match, in SECTION if given) as UTF-8; fails when absent.
e2e_setting() {
  local file=$1 key=$2 section=${3:-}
  [[ -f $file ]] || return 1
  iconv -f GBK -t UTF-8 <"$file" 2>/dev/null | LC_ALL=C awk -v key="$key" -v section="$section" '
    function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    { line = $0; sub(/\r$/, "", line) }
    line ~ /^[ \t]*\[/ { name = trim(line); sub(/^\[/, "", name); sub(/\].*$/, "", name); here = (section == "" || name == section); next }
    here || section == "" {
      eq = index(line, "="); if (eq == 0) next
      if (trim(substr(line, 1, eq - 1)) == key) { print trim(substr(line, eq + 1)); found = 1; exit }
    }
    END { exit found ? 0 : 1 }'
}

# e2e_wait_setting FILE KEY VALUE [TIMEOUT] [SECTION]: waits until KEY has VALUE; prints the last value seen on failure.
e2e_wait_setting() {
  local file=$1 key=$2 want=$3 polls value="" i
  polls=$(e2e_polls "${4:-$E2E_TIMEOUT}")
  for ((i = 0; i < polls; i++)); do
    value=$(e2e_setting "$file" "$key" "${5:-}") && [[ $value == "$want" ]] && return 0
    sleep 0.05
  done
  e2e_log "e2e_wait_setting: $key is \"$value\", not \"$want\""
  return 1
}

# --- ending --------------------------------------------------------------------

# e2e_stop [EXE_NAME] [TIMEOUT]: asks the program to close (taskkill without /f), waits, kills it after TIMEOUT; 0 when it ended by itself.
e2e_stop() {
  local exe=${1:-$E2E_EXE} pid=$E2E_PID polls i
  polls=$(e2e_polls "${2:-$E2E_TIMEOUT}")
  [[ -n $pid ]] || return 0
  # taskkill's messages are GBK text: not for the log.
  wine taskkill /im "$exe" </dev/null >/dev/null 2>&1
  for ((i = 0; i < polls; i++)); do
    if ! e2e_running "$pid"; then
      wait "$pid" 2>/dev/null
      E2E_EXIT_STATUS=$?
      return 0
    fi
    sleep 0.05
  done
  e2e_log "e2e_stop: $exe ($pid) still running after ${2:-$E2E_TIMEOUT} s; killing it"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  E2E_EXIT_STATUS=$?
  return 1
}

# e2e_wine_reset: ends every Wine process of this prefix (wineserver -k); the next wine command starts a new server.
e2e_wine_reset() { wineserver -k >/dev/null 2>&1 || true; }

# e2e_cleanup: kills whatever this script started and is still running, by PID, and removes its scratch files.
e2e_cleanup() {
  local pid
  for pid in "${E2E_STARTED_PIDS[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null; fi
  done
  E2E_STARTED_PIDS=()
  if [[ ${E2E_OWN_SHOT_DIR:-0} == 1 && -d $E2E_SHOT_DIR ]]; then
    if ((E2E_FAILED == 0)); then rm -rf "$E2E_SHOT_DIR"; else e2e_log "screenshots kept in $E2E_SHOT_DIR"; fi
  fi
}
trap e2e_cleanup EXIT

# --- a tiny test framework ---------------------------------------------------

# e2e_case NAME: starts a named group of checks.
e2e_case() {
  E2E_CASE=$1
  printf -- '-- %s\n' "$1"
}

# e2e_record ok|fail MESSAGE [DETAIL]: counts one check and prints it, with DETAIL on failure.
e2e_record() {
  if [[ $1 == ok ]]; then
    E2E_PASSED=$((E2E_PASSED + 1))
    printf '   ok   %s\n' "$2"
  else
    E2E_FAILED=$((E2E_FAILED + 1))
    printf '   FAIL %s [%s]%s\n' "$2" "$E2E_CASE" "${3:+: $3}"
  fi
}

# e2e_check CONDITION MESSAGE: evaluates the bash CONDITION and records a pass or a failure.
e2e_check() {
  if eval "$1"; then e2e_record ok "$2"; else e2e_record fail "$2" "$1"; fi
}

# e2e_check_eq ACTUAL EXPECTED MESSAGE: records whether two texts are equal, printing both when not.
e2e_check_eq() {
  if [[ $1 == "$2" ]]; then e2e_record ok "$3"; else e2e_record fail "$3" "expected \"$2\", got \"$1\""; fi
}

# e2e_check_pixel X Y EXPECTED TOLERANCE MESSAGE [SHOT]: records whether the pixel is EXPECTED "r,g,b" within TOLERANCE.
e2e_check_pixel() {
  local actual
  actual=$(e2e_pixel "$1" "$2" "${6:-}") || actual="(unreadable)"
  if e2e_colour_near "$actual" "$3" "$4"; then
    e2e_record ok "$5"
  else
    e2e_record fail "$5" "pixel $1,$2: expected $3 ±$4, got $actual"
  fi
}

# e2e_summary: prints "N passed, M failed" and exits, non-zero when a check failed or none ran.
e2e_summary() {
  printf '%d passed, %d failed\n' "$E2E_PASSED" "$E2E_FAILED"
  ((E2E_FAILED == 0 && E2E_PASSED > 0))
  exit $?
}
