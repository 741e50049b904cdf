#!/usr/bin/env bash
# Printing through the desktop's CUPS: a private scheduler with a cups-pdf
# queue as the default printer. Ctrl+Shift+P then Escape and Ctrl+P then
# Escape print nothing; Ctrl+P then Return in the print dialog prints the two
# typed paragraphs to a PDF through the queue.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
command -v pdftotext >/dev/null || e2e_fail "missing tool: pdftotext (scripts/install-deps --test)"

# Beside the scenario's own folder, which is closed to the scheduler's filters.
cups=$(mktemp -d "${TMPDIR:-/tmp}/plumora-cups.XXXXXX")
cups_script=$(dirname "$0")/cups.sh
trap 'bash "$cups_script" stop "$cups"; rm -rf "$cups"; e2e_cleanup' EXIT
setting=$(bash "$cups_script" start "$cups") || e2e_fail "the CUPS scheduler did not start: $setting"
export "${setting?}"
out=$cups/out
e2e_start_display

# No PDF may appear within a few seconds.
expect_no_pdf() {
  sleep 3
  [ -z "$(ls -A "$out")" ] || e2e_fail "$1 printed: $(ls "$out")"
}

e2e_start_app
e2e_wait_window '^ Plumora$'
window=$E2E_WID
e2e_focus "$window"
e2e_type "First paragraph about plums."
e2e_key Return
e2e_type "Second paragraph about pears."

e2e_key ctrl+shift+p
e2e_wait_window '^Page Setup$'
e2e_focus "$E2E_WID"
e2e_key Escape
for _ in $(seq $((E2E_TIMEOUT * 10))); do [ "$(e2e_count_windows '^Page Setup$')" = 0 ] && break; sleep 0.1; done
[ "$(e2e_count_windows '^Page Setup$')" = 0 ] || e2e_fail "Escape did not close the page set-up dialog"
[ "$(e2e_window_title "$window")" = " Plumora" ] || e2e_fail "the cancelled page set-up changed the window"

e2e_focus "$window"
e2e_key ctrl+p
e2e_wait_window '^Print$'
e2e_screenshot_window "$E2E_WID" "$E2E_ARTIFACTS/print-dialog.png"
e2e_focus "$E2E_WID"
e2e_key Escape
expect_no_pdf "the cancelled print dialog"
expect_no_pdf "the cancelled page set-up"

e2e_focus "$window"
e2e_key ctrl+p
e2e_wait_window '^Print$'
e2e_focus "$E2E_WID"
e2e_key Return
pdf=
for _ in $(seq 60); do
  pdf=$(find "$out" -name '*.pdf' -size +0 | head -n1)
  [ -n "$pdf" ] && break
  sleep 0.5
done
[ -n "$pdf" ] || e2e_fail "no PDF from the CUPS queue within 30s (jobs: $(lpstat -o 2>&1))"
sleep 1
cp "$pdf" "$E2E_ARTIFACTS/print.pdf"
text=$(pdftotext "$pdf" - 2>/dev/null | tr -s ' \n' ' ')
for paragraph in "First paragraph about plums." "Second paragraph about pears."; do
  printf '%s' "$text" | grep -qF "$paragraph" || e2e_fail "the printed PDF lacks '$paragraph'; it reads: $text"
done

e2e_focus "$window"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
