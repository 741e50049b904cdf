#!/usr/bin/env bash
# Files that are not the program's own: a plain-text file opens, and Ctrl+S
# after a change asks for a new file instead of writing RTF over it (the
# file is byte for byte the same after Escape); a copy of a program is
# refused with a message that names it, and no window is left for it.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display

docs=$E2E_TMP/docs
mkdir -p "$docs"
printf 'Plain notes\nsecond line\n' >"$docs/notes.txt"
cp /bin/ls "$docs/tool"
notes_sum=$(cksum <"$docs/notes.txt")

open_file() {
  e2e_focus "$1"
  e2e_key ctrl+o
  e2e_wait_window '^Open$'
  e2e_focus "$E2E_WID"
  e2e_key ctrl+a
  e2e_type "$2"
  e2e_key Return
}

e2e_start_app
e2e_wait_window '^ Plumora$'
main=$E2E_WID

open_file "$main" "$docs/notes.txt"
e2e_wait_window '^notes\.txt$'
notes=$E2E_WID
e2e_focus "$notes"
e2e_key ctrl+End
e2e_type " more"
e2e_key ctrl+s
e2e_wait_window '^Save$'
e2e_screenshot_window "$E2E_WID" "$E2E_ARTIFACTS/foreign-files-save-dialog.png"
e2e_focus "$E2E_WID"
e2e_key Escape
e2e_wait_count '^Save$' 0 "the Save dialog is still shown after Escape"
[ "$(cksum <"$docs/notes.txt")" = "$notes_sum" ] || e2e_fail "Ctrl+S changed notes.txt: $(head -c 40 "$docs/notes.txt")"
[ "$(ls "$docs")" = "$(printf 'notes.txt\ntool')" ] || e2e_fail "files appeared: $(ls "$docs")"

open_file "$main" "$docs/tool"
e2e_wait_window '^Plumora$'
message=$E2E_WID
e2e_screenshot_window "$message" "$E2E_ARTIFACTS/foreign-files-refused.png"
[ "$(e2e_count_windows '^tool$')" = 0 ] || e2e_fail "a window was left for the program file"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "a new untitled window was left"
e2e_focus "$message"
e2e_key Return
e2e_wait_count '^Plumora$' 0 "the message stayed after Return"
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program ended after refusing the file"
e2e_pass
