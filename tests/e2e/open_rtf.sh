#!/usr/bin/env bash
# The program starts with one document window titled " Plumora" (with the
# leading blank). Ctrl+O shows the Open dialog; a typed path and Return open
# the RTF file in a new window titled with the file's name, beside the first
# window; Ctrl+Q ends the process with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
printf '%s\n' '{\rtf1\ansi{\fonttbl{\f0 Helvetica;}}\f0\fs24 Hello {\b bold} world\par}' >"$E2E_DOCS/letter.rtf"
e2e_launch
main=$E2E_WID
e2e_file_dialog ctrl+o Open "$E2E_DOCS/letter.rtf"
e2e_front '^letter\.rtf$'
[ "$E2E_WID" != "$main" ] || e2e_fail "the file opened in the first window instead of a new one"
[ "$(e2e_count_windows '^Open$')" = 0 ] || e2e_fail "the Open dialog is still shown"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "the first window did not stay open"
e2e_shot root "$E2E_ARTIFACTS/letter-rtf-screen.png"
e2e_quit_and_pass
