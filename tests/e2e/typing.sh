#!/usr/bin/env bash
# Typed text reaches the document window, and Ctrl+W opens a second empty
# document window; Ctrl+Q then asks about the unsaved text: Escape keeps
# everything, Quit quits with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display
e2e_start_app

e2e_wait_window '^ Plumora$'
first=$E2E_WID
e2e_focus "$first"
# The typed words land in the first line of the page, just right of where
# the insertion point starts; that stretch is blank before typing and must
# show text after. It leaves out the blinking insertion point at both ends.
text_area=50x14+10+48
e2e_screenshot_window "$first" "$E2E_TMP/before.png"
before=$(e2e_colours_in "$E2E_TMP/before.png" "$text_area")
[ "$before" = 1 ] || e2e_fail "the page is not blank before typing ($before colours)"
e2e_type "Hello World"
after=1
for _ in $(seq $((E2E_TIMEOUT * 5))); do
  e2e_screenshot_window "$first" "$E2E_ARTIFACTS/typing-window.png"
  after=$(e2e_colours_in "$E2E_ARTIFACTS/typing-window.png" "$text_area")
  [ "$after" -gt 1 ] && break
  sleep 0.2
done
[ "$after" -gt 1 ] || e2e_fail "no text appeared on the page after typing"

e2e_key ctrl+w
e2e_wait_window '^ Plumora$' 2
second=$E2E_WID
count=$(e2e_count_windows '^ Plumora$')
[ "$count" = 2 ] || e2e_fail "$count document windows after Ctrl+W, expected 2"
e2e_screenshot_root "$E2E_ARTIFACTS/typing-two-windows.png"

# The first window holds unsaved text: Quit asks first. Escape, like
# Cancel, keeps the program and the text; choosing Quit quits.
e2e_focus "$second"
e2e_key ctrl+q
e2e_wait_window '^Plumora$'
e2e_screenshot_window "$E2E_WID" "$E2E_ARTIFACTS/typing-quit-question.png"
e2e_focus "$E2E_WID"
e2e_key Escape
e2e_wait_count '^Plumora$' 0 "the question is still shown after Escape"
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "Escape at the question quit the program"
[ "$(e2e_count_windows '^ Plumora$')" = 2 ] || e2e_fail "a window went after Escape at the question"
e2e_screenshot_window "$first" "$E2E_TMP/kept.png"
[ "$(e2e_colours_in "$E2E_TMP/kept.png" "$text_area")" -gt 1 ] || e2e_fail "the typed text went after Escape"

# Cancel is the default button: Tab moves to Quit, and Return chooses it.
e2e_focus "$second"
e2e_quit_discarding
e2e_pass
