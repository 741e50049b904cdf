#!/usr/bin/env bash
# Find and replace through the shared find window: Ctrl+F and Return select
# the first occurrence, ignoring case, and the window closes, so that typing
# replaces the selection; Ctrl+H, the two texts and Return replace the first
# occurrence; a text that does not occur is told in a message box that Return
# dismisses; Escape closes the window with nothing changed. LibreOffice reads
# the saved file.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@" soffice
FINDER='^Plumora: Find and Replace\.$'
e2e_launch
document=$E2E_WID
e2e_type "alpha beta gamma beta"

# Opens the find window with the shortcut $1 from the document window, types $2 into its search field, then the keys $3...
search() {
  e2e_focus "$document"
  e2e_raise "$1" "$FINDER"
  [ "$(e2e_count_windows "$FINDER")" = 1 ] || e2e_fail "more than one find window"
  e2e_type "$2"
  e2e_key "${@:3}"
}
search ctrl+f BETA Return
e2e_wait_count "$FINDER" 0 "the find window stays after Return"
# The document is in front again with the first "beta" selected.
e2e_type "X"
search ctrl+h gamma Tab
e2e_type "delta"
e2e_key Return
e2e_wait_count "$FINDER" 0 "the find window stays after replacing"
search ctrl+f zzz Return
e2e_front '^Plumora$'
e2e_shot root "$E2E_ARTIFACTS/find-and-replace-not-found.png"
e2e_key Return
e2e_wait_count '^Plumora$' 0 "the not-found message stays after Return"
e2e_wait_count "$FINDER" 0 "the find window stays after a text not found"
search ctrl+f alpha Escape
e2e_wait_count "$FINDER" 0 "the find window stays after Escape"

e2e_focus "$document"
e2e_save_as found
e2e_convert txt:Text "$E2E_DOCS/found.rtf"
[ "$(e2e_text_of found)" = "alpha X delta beta" ] || e2e_fail "LibreOffice reads '$(e2e_text_of found)'"
e2e_focus "$document"
e2e_quit_and_pass
