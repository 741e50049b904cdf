#!/usr/bin/env bash
# Find and replace through the shared find window: Ctrl+F and Return select
# the first occurrence, ignoring case, and the window closes, so that typing
# replaces the selection; Ctrl+H, the two texts and Return replace the first
# occurrence; a text that does not occur is told in a message box that Return
# dismisses; Escape closes the window with nothing changed. LibreOffice reads
# the saved file.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
command -v soffice >/dev/null || e2e_fail "missing tool: soffice (scripts/install-deps --test)"
e2e_start_display

FINDER='^Plumora: Find and Replace\.$'

# Waits until no window matches the title expression $1.
wait_gone() {
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    [ "$(e2e_count_windows "$1")" = 0 ] && return 0
    sleep 0.1
  done
  e2e_fail "a window titled /$1/ is still shown"
}

# Opens the find window with the shortcut $1 from the document window and
# leaves the keyboard in its search field.
open_finder() {
  e2e_focus "$document"
  e2e_key "$1"
  e2e_wait_window "$FINDER"
  [ "$(e2e_count_windows "$FINDER")" = 1 ] || e2e_fail "more than one find window"
}

e2e_start_app
e2e_wait_window '^ Plumora$'
document=$E2E_WID
e2e_focus "$document"
e2e_type "alpha beta gamma beta"

open_finder ctrl+f
e2e_type "BETA"
e2e_key Return
wait_gone "$FINDER"
# The document is in front again with the first "beta" selected.
e2e_type "X"

open_finder ctrl+h
e2e_type "gamma"
e2e_key Tab
e2e_type "delta"
e2e_screenshot_root "$E2E_ARTIFACTS/find-and-replace-window.png"
e2e_key Return
wait_gone "$FINDER"

open_finder ctrl+f
e2e_type "zzz"
e2e_key Return
e2e_wait_window '^Plumora$'
e2e_screenshot_root "$E2E_ARTIFACTS/find-and-replace-not-found.png"
e2e_focus "$E2E_WID"
e2e_key Return
wait_gone '^Plumora$'
wait_gone "$FINDER"

open_finder ctrl+f
e2e_type "alpha"
e2e_key Escape
wait_gone "$FINDER"

docs=$E2E_TMP/docs
mkdir -p "$docs"
e2e_focus "$document"
e2e_key ctrl+s
e2e_wait_window '^Save$'
e2e_focus "$E2E_WID"
e2e_key ctrl+a
e2e_type "$docs/found"
e2e_key Return
e2e_wait_window '^found\.rtf$'

soffice "-env:UserInstallation=file://$E2E_TMP/profile" --headless --norestore --convert-to txt:Text \
  --outdir "$docs" "$docs/found.rtf" >"$E2E_TMP/soffice.log" 2>&1 || e2e_fail "LibreOffice could not convert the file"
text=$(tr -d '\r\n' <"$docs/found.txt" | sed 's/^\xEF\xBB\xBF//')
[ "$text" = "alpha X delta beta" ] || e2e_fail "LibreOffice reads '$text', expected 'alpha X delta beta'"

e2e_focus "$document"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
