# shellcheck shell=bash
# Shared helpers for the end-to-end scenarios. Each scenario sources this
# file, runs the real binary on a private Xvfb display under openbox and
# drives it with xdotool. Every wait is bounded so that a broken build fails
# quickly instead of hanging the test run, and everything started here is
# stopped again by the EXIT trap, whatever way the script ends.

set -u

E2E_TIMEOUT=${E2E_TIMEOUT:-15}
E2E_SCREEN=${E2E_SCREEN:-1280x1024}
E2E_NAME=$(basename "$0" .sh)
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/plumora-e2e-${E2E_NAME}.XXXXXX")
E2E_XVFB_PID=
E2E_WM_PID=
E2E_APP_PID=
E2E_FAILED=0

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

# Prints the final verdict and exits; the EXIT trap then tidies up.
e2e_fail() {
  E2E_FAILED=1
  printf 'FAIL: %s: %s\n' "$E2E_NAME" "$*"
  e2e_dump_logs
  exit 1
}

e2e_pass() {
  printf 'PASS: %s\n' "$E2E_NAME"
  exit 0
}

e2e_dump_logs() {
  local f
  for f in "$E2E_TMP"/xvfb.log "$E2E_TMP"/wm.log "$E2E_TMP"/app.log; do
    [ -s "$f" ] || continue
    e2e_log "---- $(basename "$f")"
    sed 's/^/    /' "$f" >&2
  done
}

e2e_stop_pid() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

e2e_cleanup() {
  e2e_stop_pid "$E2E_APP_PID"
  e2e_stop_pid "$E2E_WM_PID"
  e2e_stop_pid "$E2E_XVFB_PID"
  if [ "$E2E_FAILED" = 0 ]; then
    rm -rf "$E2E_TMP"
  else
    e2e_log "kept $E2E_TMP for inspection"
  fi
}
trap e2e_cleanup EXIT
trap 'e2e_fail "interrupted"' INT TERM

# Checks the tools the scenarios need and the two arguments every scenario
# takes: the binary under test and the folder for screenshots.
e2e_init() {
  [ $# -ge 2 ] || { echo "usage: $0 <plumora binary> <artifacts dir>" >&2; exit 2; }
  E2E_APP=$1
  E2E_ARTIFACTS=$2
  [ -x "$E2E_APP" ] || e2e_fail "binary not executable: $E2E_APP"
  mkdir -p "$E2E_ARTIFACTS" || e2e_fail "cannot create $E2E_ARTIFACTS"
  local tool
  for tool in Xvfb openbox xdotool xprop import convert; do
    command -v "$tool" >/dev/null || e2e_fail "missing tool: $tool"
  done
}

# Starts Xvfb on a display number the server picks itself (-displayfd), so
# scenarios can run side by side, then openbox, and waits until the window
# manager has announced itself on the root window.
e2e_start_display() {
  local fdfile=$E2E_TMP/displayfd
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN}x24" -nolisten tcp -noreset \
    3>"$fdfile" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB_PID=$!
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    grep -q '^[0-9]' "$fdfile" 2>/dev/null && break
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb exited during start-up"
    sleep 0.1
  done
  grep -q '^[0-9]' "$fdfile" || e2e_fail "Xvfb did not report a display within ${E2E_TIMEOUT}s"
  DISPLAY=:$(head -n1 "$fdfile")
  export DISPLAY

  # A private home keeps the file dialog's history and any settings out of
  # the user's, and away from scenarios running in parallel.
  export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/home/.config
  export XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  # Qt's own widget dialogs are what the scenarios drive; a desktop theme
  # could swap in a native dialog with other window titles.
  unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION QT_QPA_PLATFORM
  export QT_QPA_PLATFORM=xcb

  openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1 &
  E2E_WM_PID=$!
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$E2E_WM_PID" 2>/dev/null || e2e_fail "openbox exited during start-up"
    sleep 0.1
  done
  e2e_fail "openbox did not start within ${E2E_TIMEOUT}s"
}

e2e_start_app() {
  "$E2E_APP" >"$E2E_TMP/app.log" 2>&1 &
  E2E_APP_PID=$!
  e2e_log "started $E2E_APP (pid $E2E_APP_PID) on $DISPLAY"
}

# Visible top-level windows whose title matches the regular expression $1.
e2e_windows() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null
}

e2e_count_windows() {
  e2e_windows "$1" | grep -c .
}

# Waits until at least $2 (default 1) visible windows match the title
# expression $1 and leaves the id of the last one found in E2E_WID. It sets a
# variable rather than printing so that a failure ends the script itself,
# not a command-substitution subshell.
E2E_WID=
e2e_wait_window() {
  local pattern=$1 want=${2:-1} ids
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    ids=$(e2e_windows "$pattern")
    if [ -n "$ids" ] && [ "$(printf '%s\n' "$ids" | grep -c .)" -ge "$want" ]; then
      # shellcheck disable=SC2034 # read by the scenarios
      E2E_WID=$(printf '%s\n' "$ids" | tail -n1)
      return 0
    fi
    if [ -n "$E2E_APP_PID" ] && ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
      e2e_fail "the application exited while waiting for a window titled /$pattern/"
    fi
    sleep 0.1
  done
  e2e_fail "no $want visible window(s) titled /$pattern/ within ${E2E_TIMEOUT}s"
}

# Waits until exactly $2 visible windows match the title expression $1, and
# fails with the message $3 if that does not come within the time allowed.
e2e_wait_count() {
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    [ "$(e2e_count_windows "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  e2e_fail "$3"
}

e2e_window_title() {
  xdotool getwindowname "$1" 2>/dev/null
}

# Raises and focuses a window so that synthetic keys (XTEST, which Qt
# accepts, unlike sent events) reach it.
e2e_focus() {
  local wid=$1
  for _ in $(seq $((E2E_TIMEOUT * 2))); do
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 &&
      [ "$(xdotool getactivewindow 2>/dev/null)" = "$wid" ] && return 0
    sleep 0.5
  done
  e2e_fail "could not focus window $wid"
}

e2e_key() {
  xdotool key --clearmodifiers "$@" || e2e_fail "xdotool key $* failed"
}

e2e_type() {
  xdotool type --delay 20 -- "$1" || e2e_fail "xdotool type failed"
}

e2e_screenshot_root() {
  import -window root "$1" 2>>"$E2E_TMP/import.log" || e2e_fail "screenshot of the screen failed"
  e2e_log "screenshot: $1"
}

e2e_screenshot_window() {
  import -window "$1" "$2" 2>>"$E2E_TMP/import.log" || e2e_fail "screenshot of window $1 failed"
  e2e_log "screenshot: $2"
}

# Waits for the application to end and checks its exit status.
e2e_expect_exit() {
  local want=${1:-0} status
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    kill -0 "$E2E_APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$E2E_APP_PID" 2>/dev/null && e2e_fail "the application did not exit within ${E2E_TIMEOUT}s"
  wait "$E2E_APP_PID"
  status=$?
  E2E_APP_PID=
  [ "$status" = "$want" ] || e2e_fail "the application exited with status $status, expected $want"
}

# Number of distinct colours in the area $2 (WxH+X+Y) of image file $1; a
# blank stretch of the page has one, a stretch with text on it many.
e2e_colours_in() {
  convert "$1" -crop "$2" +repage -format '%k' info: 2>/dev/null
}

# Quits a program that holds unsaved text: Ctrl+Q, then Quit in the question
# (Cancel is its default button, so Tab moves to Quit).
e2e_quit_discarding() {
  e2e_key ctrl+q
  e2e_wait_window '^Plumora$'
  e2e_focus "$E2E_WID"
  e2e_key Tab Return
  e2e_expect_exit 0
}

# The document window's content area lies below its menu bar; the content
# is 672x384 when the window opens, so the rest of the window's height is
# the menu bar's. Sets E2E_TOP, the content's top in the window.
E2E_TOP=0
content_top() {
  local height
  height=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
  [ -n "$height" ] || e2e_fail "no geometry for window $1"
  E2E_TOP=$((height - 384))
  if [ "$E2E_TOP" -lt 0 ] || [ "$E2E_TOP" -ge 100 ]; then
    e2e_fail "unexpected window height $height"
  fi
}

# Clicks the window at a point of its content area.
click_content() {
  local wid=$1 x=$2 y=$3
  xdotool mousemove --window "$wid" --sync "$x" $((y + E2E_TOP)) click 1 ||
    e2e_fail "xdotool click at $x,$y of window $wid failed"
}

# The colour (RRGGBB) of a content-area pixel in a screenshot of the window.
pixel_at() {
  convert "$1" -format "%[hex:p{$2,$(($3 + E2E_TOP))}]" info: 2>/dev/null | cut -c1-6
}

# Runs the command every tenth of a second until it succeeds; fails after
# E2E_TIMEOUT seconds.
e2e_until() {
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
