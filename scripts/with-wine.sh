#!/usr/bin/env bash
# with-wine.sh STATE_DIR COMMAND...
# Runs COMMAND with a private Xvfb display, a fresh 64-bit Wine prefix in
# STATE_DIR and code page 936 (zh_CN.UTF-8), then stops Wine and Xvfb again.
# Set WITH_WINE_KEEP_PREFIX=1 to reuse an existing prefix, WITH_WINE_OWN_DISPLAY=1
# to use $DISPLAY instead of a private Xvfb.
set -euo pipefail

state=$(mkdir -p "$1" && cd "$1" && pwd); shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

export WINEPREFIX=$state/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH=$state/locale
if [[ ! -e $LOCPATH/zh_CN.UTF-8/LC_CTYPE ]]; then
  mkdir -p "$LOCPATH"
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" 2>/dev/null || true
fi
export LC_ALL=zh_CN.UTF-8 2>/dev/null  # bash itself cannot load a LOCPATH locale; Wine can

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [[ ${WITH_WINE_OWN_DISPLAY:-0} != 1 || -z ${DISPLAY:-} ]]; then
  display=""
  for n in $(seq 91 199); do
    if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then display=$n; break; fi
  done
  [[ -n $display ]] || { echo "with-wine: no free X display" >&2; exit 1; }
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$display
  for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X$display ]] && break; sleep 0.05; done
fi

if [[ ${WITH_WINE_KEEP_PREFIX:-0} != 1 || ! -d $WINEPREFIX ]]; then
  rm -rf "$WINEPREFIX"
  wineboot -i </dev/null >"$state/wineboot.log" 2>&1
  # regedit takes UTF-16LE with a BOM and CR LF lines.
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/wine.reg.utf8" | sed 's/\x0a\x00/\x0d\x00\x0a\x00/g'; } \
    >"$state/wine.reg"
  wine regedit /S "$(winepath -w "$state/wine.reg")" </dev/null >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
fi

# Start a persistent server before the command so that Wine's own services
# do not inherit (and hold open) the command's output pipes.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

set +e
"$@"
rc=$?
set -e
exit $rc
