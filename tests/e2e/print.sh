#!/usr/bin/env bash
# Printing through the desktop's CUPS, a private scheduler whose default
# printer is a cups-pdf queue: Ctrl+Shift+P then Escape and Ctrl+P then
# Escape print nothing and change nothing; Ctrl+P then Return in the print
# dialog prints the two typed paragraphs through the queue to a PDF.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@" pdftotext
# Not inside the scenario's own folder, which is closed to the scheduler's filters.
cups=$(mktemp -d "${TMPDIR:-/tmp}/plumora-cups.XXXXXX")
cups_script=$(dirname "$0")/cups.sh
trap 'bash "$cups_script" stop "$cups"; rm -rf "$cups"; e2e_cleanup' EXIT
setting=$(bash "$cups_script" start "$cups") || e2e_fail "the CUPS scheduler did not start: $setting"
export "${setting?}"
e2e_launch
window=$E2E_WID
e2e_type "First paragraph about plums."
e2e_key Return
e2e_type "Second paragraph about pears."

# Opens a dialog with the keys $1, waits for its title $2 and leaves it with the key $3.
answer_dialog() {
  e2e_focus "$window"
  e2e_raise "$1" "$2"
  e2e_shot "$E2E_WID" "$E2E_ARTIFACTS/print-${1//+/-}-$3.png"
  e2e_key "$3"
  e2e_wait_count "$2" 0 "$3 did not close the dialog titled /$2/"
}
answer_dialog ctrl+shift+p '^Page Setup$' Escape
answer_dialog ctrl+p '^Print$' Escape
sleep 3
[ -z "$(ls -A "$cups/out")" ] || e2e_fail "a cancelled dialog printed: $(ls "$cups/out")"
[ "$(xdotool getwindowname "$window")" = " Plumora" ] || e2e_fail "a cancelled dialog changed the window's title"

answer_dialog ctrl+p '^Print$' Return
pdf() { find "$cups/out" -name '*.pdf' -size +0 | grep -m1 .; }
E2E_TIMEOUT=30 e2e_until pdf >/dev/null || e2e_fail "no PDF from the CUPS queue within 30s (jobs: $(lpstat -o 2>&1))"
sleep 1
text=$(pdftotext "$(pdf)" - | tr -s ' \n' ' ')
for paragraph in "First paragraph about plums." "Second paragraph about pears."; do
  printf '%s' "$text" | grep -qF "$paragraph" || e2e_fail "the printed PDF lacks '$paragraph'; it reads: $text"
done
e2e_focus "$window"
e2e_quit_discarding_and_pass
