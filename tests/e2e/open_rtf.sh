#!/usr/bin/env bash
# Ctrl+O shows the Open dialog; a typed path and Return open the RTF file in
# a new window titled with the file's name, beside the first window.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display

docs=$E2E_TMP/docs
mkdir -p "$docs"
printf '%s\n' '{\rtf1\ansi{\fonttbl{\f0 Helvetica;}}\f0\fs24 Hello {\b bold} world\par}' >"$docs/letter.rtf"

e2e_start_app
e2e_wait_window '^ Plumora$'
main=$E2E_WID
e2e_focus "$main"
e2e_key ctrl+o

e2e_wait_window '^Open$'
dialog=$E2E_WID
e2e_focus "$dialog"
# The file-name field has the focus when the dialog opens; clear whatever
# it may hold before typing the full path.
e2e_key ctrl+a
e2e_type "$docs/letter.rtf"
e2e_key Return

e2e_wait_window '^letter\.rtf$'
doc=$E2E_WID
title=$(e2e_window_title "$doc")
[ "$title" = "letter.rtf" ] || e2e_fail "document window title is '$title', expected 'letter.rtf'"
[ "$(e2e_count_windows '^Open$')" = 0 ] || e2e_fail "the Open dialog is still shown"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "the first window did not stay open"
[ "$doc" != "$main" ] || e2e_fail "the file opened in the first window instead of a new one"

e2e_screenshot_window "$doc" "$E2E_ARTIFACTS/letter-rtf-window.png"
e2e_screenshot_root "$E2E_ARTIFACTS/letter-rtf-screen.png"

e2e_focus "$doc"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
