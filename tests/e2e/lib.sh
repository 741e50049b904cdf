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
E2E_DOCS=$E2E_TMP/docs
E2E_XVFB_PID='' E2E_WM_PID='' E2E_APP_PID='' E2E_FAILED=0 E2E_WID='' E2E_TOP=0
mkdir -p "$E2E_DOCS"

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

# Prints the final verdict and the logs, and exits; the EXIT trap tidies up.
e2e_fail() {
  E2E_FAILED=1
  printf 'FAIL: %s: %s\n' "$E2E_NAME" "$*"
  for f in "$E2E_TMP"/{xvfb,wm,app}.log; do
    [ -s "$f" ] && e2e_log "---- $(basename "$f")" && sed 's/^/    /' "$f" >&2
  done
  exit 1
}

e2e_pass() { printf 'PASS: %s\n' "$E2E_NAME"; exit 0; }

# Runs the command every tenth of a second until it succeeds; fails after E2E_TIMEOUT seconds.
e2e_until() {
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

e2e_stop_pid() {
  [ -n "$1" ] && kill -TERM "$1" 2>/dev/null || return 0
  E2E_TIMEOUT=2 e2e_until eval "! kill -0 $1 2>/dev/null"
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}

e2e_cleanup() {
  e2e_stop_pid "$E2E_APP_PID"; e2e_stop_pid "$E2E_WM_PID"; e2e_stop_pid "$E2E_XVFB_PID"
  if [ "$E2E_FAILED" = 0 ]; then rm -rf "$E2E_TMP"; else e2e_log "kept $E2E_TMP for inspection"; fi
}
trap e2e_cleanup EXIT
trap 'e2e_fail "interrupted"' INT TERM

# Checks the two arguments every scenario takes (the binary under test and
# the folder for screenshots) and the tools it needs, named after them, then
# starts the scenario's display.
e2e_init() {
  [ $# -ge 2 ] || { echo "usage: $0 <plumora binary> <artifacts dir>" >&2; exit 2; }
  E2E_APP=$1 E2E_ARTIFACTS=$2
  [ -x "$E2E_APP" ] || e2e_fail "binary not executable: $E2E_APP"
  mkdir -p "$E2E_ARTIFACTS" || e2e_fail "cannot create $E2E_ARTIFACTS"
  for tool in Xvfb openbox xdotool xprop import convert "${@:3}"; do
    command -v "$tool" >/dev/null || e2e_fail "missing tool: $tool (scripts/install-deps --test)"
  done
  e2e_start_display
}

# Starts Xvfb on a display number the server picks itself (-displayfd), so
# scenarios can run side by side, then openbox, and waits until the window
# manager has announced itself on the root window.
e2e_start_display() {
  local fdfile=$E2E_TMP/displayfd
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN}x24" -nolisten tcp -noreset 3>"$fdfile" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_XVFB_PID=$!
  e2e_until grep -q '^[0-9]' "$fdfile" || e2e_fail "Xvfb did not report a display within ${E2E_TIMEOUT}s"
  DISPLAY=:$(head -n1 "$fdfile")
  # A private home keeps the file dialog's history and any settings out of
  # the user's, and away from scenarios running in parallel.
  export DISPLAY HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/home/.config XDG_RUNTIME_DIR=$E2E_TMP/runtime
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  # Qt's own widget dialogs are what the scenarios drive; a desktop theme
  # could swap in a native dialog with other window titles.
  unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
  export QT_QPA_PLATFORM=xcb
  openbox --sm-disable >"$E2E_TMP/wm.log" 2>&1 &
  E2E_WM_PID=$!
  e2e_until eval "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" ||
    e2e_fail "openbox did not start within ${E2E_TIMEOUT}s"
}

# Starts the program, waits for its first document window and focuses it;
# its id is left in E2E_WID and the top of its content area in E2E_TOP.
e2e_launch() {
  "$E2E_APP" >"$E2E_TMP/app.log" 2>&1 &
  E2E_APP_PID=$!
  e2e_front '^ Plumora$'
  e2e_content_top "$E2E_WID"
}

e2e_running() { [ -z "$E2E_APP_PID" ] || kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program ended $*"; }

e2e_count_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -c .; }

# Waits until at least $2 (default 1) visible windows match the title
# expression $1 and leaves the id of the last one found in E2E_WID. It sets a
# variable rather than printing so that a failure ends the script itself,
# not a command-substitution subshell.
e2e_found() {
  local ids
  ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null)
  e2e_running "while waiting for a window titled /$1/"
  [ "$(printf '%s' "$ids" | grep -c .)" -ge "$2" ] && E2E_WID=$(printf '%s\n' "$ids" | tail -n1)
}
e2e_wait_window() { e2e_until e2e_found "$1" "${2:-1}" || e2e_fail "no ${2:-1} window(s) titled /$1/ in ${E2E_TIMEOUT}s"; }

# Waits until exactly $2 visible windows match the title expression $1, or fails with the message $3.
e2e_counted() { [ "$(e2e_count_windows "$1")" = "$2" ]; }
e2e_wait_count() { e2e_until e2e_counted "$1" "$2" || e2e_fail "$3"; }

# Raises and focuses a window so that synthetic keys (XTEST, which Qt
# accepts, unlike sent events) reach it.
e2e_focused() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 && [ "$(xdotool getactivewindow)" = "$1" ]; }
e2e_focus() { e2e_until e2e_focused "$1" || e2e_fail "could not focus window $1"; }
# Waits for the window(s) as e2e_wait_window does and focuses the one found;
# e2e_raise presses the keys $1 first.
e2e_front() { e2e_wait_window "$@"; e2e_focus "$E2E_WID"; }
e2e_raise() { e2e_key "$1"; e2e_front "${@:2}"; }

e2e_key() { xdotool key --clearmodifiers "$@" || e2e_fail "xdotool key $* failed"; }
e2e_type() { xdotool type --delay 20 -- "$1" || e2e_fail "xdotool type failed"; }

# Screenshot of window $1 (or "root", the screen) into file $2.
e2e_shot() { import -window "$1" "$2" 2>>"$E2E_TMP/import.log" || e2e_fail "screenshot of $1 failed"; }

# Number of distinct colours in the area $2 (WxH+X+Y) of image file $1; a
# blank stretch of the page has one, a stretch with text on it many.
e2e_colours_in() { convert "$1" -crop "$2" +repage -format '%k' info: 2>/dev/null; }

# The colour (RRGGBB) of the point $2,$3 of the content area in the window screenshot $1.
e2e_pixel() { convert "$1" -format "%[hex:p{$2,$(($3 + E2E_TOP))}]" info: 2>/dev/null | cut -c1-6; }

# Answers the file dialog that the keys $1 open in the window in front
# ("Open" or "Save", title $2) with the full path $3.
e2e_file_dialog() { e2e_raise "$1" "^$2\$"; e2e_key ctrl+a; e2e_type "$3"; e2e_key Return; }

# Saves the document in front as $E2E_DOCS/$1.rtf and waits for the title.
e2e_save_as() { e2e_file_dialog ctrl+s Save "$E2E_DOCS/$1"; e2e_wait_window "^$1\\.rtf\$"; }

# LibreOffice converts the files $2... to the format $1, into $E2E_TMP/lo.
e2e_convert() {
  soffice -env:UserInstallation="file://$E2E_TMP/profile" --headless --norestore --convert-to "$1" \
    --outdir "$E2E_TMP/lo" "${@:2}" >>"$E2E_TMP/soffice.log" 2>&1 || e2e_fail "LibreOffice could not convert to $1"
}
# The first line of $E2E_TMP/lo/$1.txt, as LibreOffice wrote it, without the byte-order mark.
e2e_text_of() { head -n1 "$E2E_TMP/lo/$1.txt" | tr -d '\r\357\273\277'; }

# Waits until the window $1 shows its pale yellow save-changes bar; the last screenshot goes to $2.
e2e_bar_shown() { e2e_shot "$1" "$2" && [ "$(e2e_pixel "$2" 450 14)" = FFF3C1 ]; }
e2e_wait_bar() { e2e_until e2e_bar_shown "$1" "$2" || e2e_fail "no save-changes bar (pixel $(e2e_pixel "$2" 450 14))"; }

# Waits for the application to end and checks its exit status.
e2e_expect_exit() {
  e2e_until eval "! kill -0 $E2E_APP_PID 2>/dev/null" || e2e_fail "the application did not exit within ${E2E_TIMEOUT}s"
  wait "$E2E_APP_PID"
  local status=$?
  E2E_APP_PID=
  [ "$status" = "${1:-0}" ] || e2e_fail "the application exited with status $status, expected ${1:-0}"
}

# Ends the scenario: Ctrl+Q quits the program, which must exit with status 0.
e2e_quit_and_pass() { e2e_key ctrl+q; e2e_expect_exit 0; e2e_pass; }

# Ends the scenario with a program that holds unsaved text: Ctrl+Q, then Quit
# in the question (Cancel is its default button, so Tab moves to Quit).
e2e_quit_discarding_and_pass() { e2e_raise ctrl+q '^Plumora$'; e2e_key Tab Return; e2e_expect_exit 0; e2e_pass; }

# The document window's content area lies below its menu bar; the content
# is 672x384 when the window opens, so the rest of the window's height is
# the menu bar's. Sets E2E_TOP, the content's top in the window.
e2e_content_top() {
  local height
  height=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
  E2E_TOP=$((${height:-0} - 384))
  [ "$E2E_TOP" -ge 0 ] && [ "$E2E_TOP" -lt 100 ] || e2e_fail "unexpected window height '$height'"
}

# Clicks the window $1 at the point $2,$3 of its content area.
e2e_click() {
  xdotool mousemove --window "$1" --sync "$2" $(($3 + E2E_TOP)) click 1 || e2e_fail "click at $2,$3 of $1 failed"
}
