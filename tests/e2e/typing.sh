#!/usr/bin/env bash
# Typed text reaches the document window, and Ctrl+W opens a second empty
# document window; Ctrl+Q then asks about the unsaved text: Escape keeps
# everything, Quit quits with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_launch
first=$E2E_WID
# The typed words land in the first line of the page, just right of where
# the insertion point starts; that stretch is blank before typing and must
# show text after. It leaves out the blinking insertion point at both ends.
colours() { e2e_shot "$first" "$E2E_TMP/page.png"; e2e_colours_in "$E2E_TMP/page.png" 50x14+10+48; }
[ "$(colours)" = 1 ] || e2e_fail "the page is not blank before typing"
e2e_type "Hello World"
e2e_until eval '[ "$(colours)" -gt 1 ]' || e2e_fail "no text appeared on the page after typing"

e2e_key ctrl+w
e2e_wait_window '^ Plumora$' 2
second=$E2E_WID
e2e_wait_count '^ Plumora$' 2 "not 2 document windows after Ctrl+W"

# The first window holds unsaved text: Quit asks first. Escape, like
# Cancel, keeps the program and the text; choosing Quit quits.
e2e_focus "$second"
e2e_raise ctrl+q '^Plumora$'
e2e_shot "$E2E_WID" "$E2E_ARTIFACTS/typing-quit-question.png"
e2e_key Escape
e2e_wait_count '^Plumora$' 0 "the question is still shown after Escape"
e2e_running "after Escape at the question"
[ "$(e2e_count_windows '^ Plumora$')" = 2 ] || e2e_fail "a window went after Escape at the question"
[ "$(colours)" -gt 1 ] || e2e_fail "the typed text went after Escape"
e2e_focus "$second"
e2e_quit_discarding_and_pass
