#!/usr/bin/env bash
# Files opened through the Open dialog, each by its typed path: a plain-text
# file opens, and Ctrl+S after a change asks for a new file instead of
# writing RTF over it (the file is byte for byte the same after Escape); a
# copy of a program is refused with a message that names it, and no window is
# left for it; a UTF-16 file with its byte order mark opens and saves as its
# text; an RTF file opens in a window of its own titled with its name.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
printf 'Plain notes\nsecond line\n' >"$E2E_DOCS/notes.txt"
cp /bin/ls "$E2E_DOCS/tool"
{ printf '\xff\xfe' && printf 'Wide notes\n' | iconv -t UTF-16LE; } >"$E2E_DOCS/wide.txt"
printf '%s\n' '{\rtf1\ansi{\fonttbl{\f0 Helvetica;}}\f0\fs24 Hello {\b bold} world\par}' >"$E2E_DOCS/letter.rtf"
notes_sum=$(cksum <"$E2E_DOCS/notes.txt")
e2e_launch
main=$E2E_WID

e2e_file_dialog ctrl+o Open "$E2E_DOCS/notes.txt"
e2e_front '^notes\.txt$'
e2e_key ctrl+End
e2e_type " more"
e2e_raise ctrl+s '^Save$'
e2e_key Escape
e2e_wait_count '^Save$' 0 "the Save dialog is still shown after Escape"
[ "$(cksum <"$E2E_DOCS/notes.txt")" = "$notes_sum" ] || e2e_fail "Ctrl+S changed notes.txt"
[ "$(ls "$E2E_DOCS")" = "$(printf 'letter.rtf\nnotes.txt\ntool\nwide.txt')" ] || e2e_fail "files appeared: $(ls "$E2E_DOCS")"

e2e_focus "$main"
e2e_file_dialog ctrl+o Open "$E2E_DOCS/tool"
e2e_wait_window '^Plumora$'
e2e_shot "$E2E_WID" "$E2E_ARTIFACTS/foreign-files-refused.png"
[ "$(e2e_count_windows '^tool$')" = 0 ] || e2e_fail "a window was left for the program file"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "a new untitled window was left"
e2e_focus "$E2E_WID"
e2e_key Return
e2e_wait_count '^Plumora$' 0 "the message stayed after Return"
e2e_running "after refusing the file"

e2e_focus "$main"
e2e_file_dialog ctrl+o Open "$E2E_DOCS/wide.txt"
e2e_front '^wide\.txt$'
e2e_save_as wide
grep -q 'Wide notes' "$E2E_DOCS/wide.rtf" || e2e_fail "wide.rtf lacks the text of wide.txt"

e2e_focus "$main"
e2e_file_dialog ctrl+o Open "$E2E_DOCS/letter.rtf"
e2e_front '^letter\.rtf$'
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "the first window did not stay open"
e2e_shot root "$E2E_ARTIFACTS/letter-rtf-screen.png"
e2e_pass
