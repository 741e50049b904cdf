#!/usr/bin/env bash
# Typed text shows on the page and the word count follows it; Ctrl+S saves
# through the Save dialog to an RTF file whose name becomes the window's
# title; the close picture of a window that holds text shows the
# save-changes bar, whose "no" closes the window without saving while the
# other window, opened by Ctrl+W, stays. Ctrl+Q with unsaved text there
# asks first: Escape keeps everything, Quit quits with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@" tesseract

# Waits until the word-count label (light grey on dark grey in the strip y
# 2..22, ending at x 663) shows "N Words" with no other digit before it. The
# crop is greyed, scaled up and negated so that the engine sees dark type on
# a light ground, and read as one line.
label_reads() {
  e2e_shot "$first" "$E2E_TMP/label-window.png"
  convert "$E2E_TMP/label-window.png" -crop "273x20+395+$((2 + E2E_TOP))" +repage -colorspace Gray -resize 400% \
    -negate "$E2E_TMP/label.png" && label=$(tesseract "$E2E_TMP/label.png" - --psm 7 2>/dev/null | tr -s ' \n' ' ')
  [ -n "$label" ] && printf '%s\n' "$label" | grep -Eq "(^|[^0-9])$1 Words"
}
expect_word_count() { label=''; e2e_until label_reads "$1" || e2e_fail "the word count label reads '$label', not $1 Words"; }

e2e_launch
first=$E2E_WID
# The typed words land in the first line of the page, just right of where the
# insertion point starts; that stretch is blank before typing and must show
# text after. It leaves out the blinking insertion point at both ends.
colours() { e2e_shot "$1" "$E2E_TMP/page.png"; e2e_colours_in "$E2E_TMP/page.png" 50x14+10+48; }
[ "$(colours "$first")" = 1 ] || e2e_fail "the page is not blank before typing"
expect_word_count 0
words="Seven plain words typed into the page"
e2e_type "$words"
e2e_until eval '[ "$(colours "$first")" -gt 1 ]' || e2e_fail "no text appeared on the page after typing"
expect_word_count 7

# A typed name without an extension is given ".rtf".
e2e_save_as notes
[ "$E2E_WID" = "$first" ] || e2e_fail "the saved document's title is on another window than the first"
saved=$E2E_DOCS/notes.rtf
[ "$(head -c 5 "$saved")" = '{\rtf' ] || e2e_fail "$saved does not start with {\\rtf: $(head -c 40 "$saved")"
for word in $words; do
  grep -qF -- "$word" "$saved" || e2e_fail "the saved file does not hold the typed word '$word'"
done
saved_sum=$(cksum <"$saved")

# A change after the save, which "no" must not write.
e2e_focus "$first"
e2e_type " unsaved"
expect_word_count 8

# A second window keeps the program running when the first one closes.
e2e_key ctrl+w
e2e_wait_window '^ Plumora$'
second=$E2E_WID
[ "$second" != "$first" ] || e2e_fail "Ctrl+W did not open a new window"

# The close picture of the first window: its text is not empty, so the bar
# asks whether to save instead of closing.
e2e_focus "$first"
e2e_shot "$first" "$E2E_TMP/before-close.png"
[ "$(e2e_pixel "$E2E_TMP/before-close.png" 450 14)" != FFF3C1 ] || e2e_fail "the save-changes bar shows too early"
e2e_click "$first" 15 13
e2e_wait_bar "$first" "$E2E_ARTIFACTS/save-and-close-bar.png"
[ "$(e2e_count_windows '^notes\.rtf$')" = 1 ] || e2e_fail "the window closed instead of asking"

# "No" closes the window without saving; the other window stays.
e2e_click "$first" 596 13
e2e_wait_count '^notes\.rtf$' 0 "the window is still shown after 'no'"
e2e_running "when one of its two windows closed"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "the second window did not stay open"
[ "$(cksum <"$saved")" = "$saved_sum" ] || e2e_fail "'no' wrote the unsaved change to $saved"

# Unsaved text in the window left: Quit asks first, and Escape, like Cancel,
# keeps the program and the text.
e2e_focus "$second"
e2e_type "kept"
e2e_raise ctrl+q '^Plumora$'
e2e_shot "$E2E_WID" "$E2E_ARTIFACTS/save-and-close-quit-question.png"
e2e_key Escape
e2e_wait_count '^Plumora$' 0 "the question is still shown after Escape"
e2e_running "after Escape at the question"
[ "$(colours "$second")" -gt 1 ] || e2e_fail "the typed text went after Escape"
e2e_focus "$second"
e2e_quit_discarding_and_pass
