#!/usr/bin/env bash
# Formatting from the bottom toolbar: three typed words, the middle one
# selected with the keyboard, then B, I, 24 from the size menu and the first
# font of the font menu; LibreOffice reads the saved file with that word
# bold, italic, 24 pt in that font and the others as typed. The swatch shows
# the selection's colour. Formatting alone is a change to save: after U,
# Ctrl+S saves over the file. "Black" from "Colors" blackens the page once
# the pointer leaves the button, and typing then goes into the text, saved by
# Ctrl+S. After Align Center alone, Ctrl+Q asks; Quit quits with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@" soffice
e2e_launch
window=$E2E_WID

# Opens the pop-up menu of the button at x, y and chooses its n-th row by
# the keyboard, separators not counted.
choose_row() {
  e2e_click "$window" "$1" "$2"
  sleep 0.5
  xdotool key --delay 15 $(printf 'Down %.0s' $(seq "$3")) Return || e2e_fail "choosing row $3 failed"
  sleep 0.3
}

e2e_type "Plumora formats text"
e2e_key ctrl+Left Left ctrl+shift+Left
e2e_click "$window" 594 374  # B
e2e_click "$window" 611 374  # I
choose_row 559 374 25            # "24": after 12, 13, 14 and 3 to 23
choose_row 432 374 1             # the first font
e2e_shot "$window" "$E2E_ARTIFACTS/toolbar-window.png"

# The swatch: the outline's left edge black, the inside in the field's text colour.
shot=$E2E_ARTIFACTS/toolbar-window.png
[ "$(e2e_pixel "$shot" 191 374)" = 000000 ] || e2e_fail "the swatch's outline is not black"
[ "$(e2e_pixel "$shot" 220 374)" = 242424 ] || e2e_fail "the swatch does not show the selection's colour"

e2e_save_as formatted
# LibreOffice's HTML opens each run's formatting anew: one line per word, up to its first </font>.
e2e_convert html "$E2E_DOCS/formatted.rtf"
runs=$(tr '\n' ' ' <"$E2E_TMP/lo/formatted.html" | sed 's#</font>#&\n#g' | grep -E '> *(Plumora|formats|text) *<')
formatted=$(grep '>formats' <<<"$runs")
font=$(sed -n 's/.*<font face="\([^,"]*\).*/\1/p' <<<"$formatted")
fc-list : family | tr ',' '\n' | grep -qxF "$font" || e2e_fail "the middle word's font '$font' is not installed"
[ "$(grep -c . <<<"$runs")" = 3 ] || e2e_fail "LibreOffice reads other words than the typed ones: $runs"
for mark in '<b>' '<i>' 'font-size: 24pt' "face=\"$font"; do
  grep -qF "$mark" <<<"$formatted" || e2e_fail "the middle word lacks $mark: $formatted"
  ! grep -v '>formats' <<<"$runs" | grep -qF "$mark" || e2e_fail "another word has $mark too: $runs"
done

# The caret inside the formatted word, for the README's picture of the window.
e2e_click "$window" 120 75
sleep 0.5
import -frame -window "$window" "$E2E_ARTIFACTS/toolbar-readme.png" 2>>"$E2E_TMP/import.log" ||
  e2e_fail "screenshot of the framed window failed"

# Underlining the word is saved over the file by Ctrl+S, without a dialog.
saved=$E2E_DOCS/formatted.rtf
e2e_key ctrl+Left ctrl+shift+Right
e2e_click "$window" 628 374  # U
e2e_key ctrl+s
underlined() { grep -qE '\\ul($|[^n])' "$saved"; }
e2e_until underlined || e2e_fail "Ctrl+S after underlining did not save over $saved"

# "Black" (the eleventh row) applies only when the pointer leaves "Colors".
choose_row 39 374 11
e2e_shot "$window" "$E2E_TMP/chosen.png"
[ "$(e2e_pixel "$E2E_TMP/chosen.png" 600 300)" = B6B3FF ] || e2e_fail "the page changed before the pointer left"
xdotool mousemove --window "$window" 400 200
page_black() { e2e_shot "$window" "$E2E_ARTIFACTS/toolbar-black.png" && [ "$(e2e_pixel "$1" 600 300)" = 000000 ]; }
e2e_until page_black "$E2E_ARTIFACTS/toolbar-black.png" ||
  e2e_fail "the page is $(e2e_pixel "$E2E_ARTIFACTS/toolbar-black.png" 600 300) after choosing Black and leaving the button"

# The keyboard is still the document's.
e2e_type "jkl"
e2e_key ctrl+s
typed() { grep -q 'jkl' "$saved"; }
e2e_until typed || e2e_fail "the keys typed after Colors did not reach the text"
# Centring alone is unsaved work that Quit asks about.
e2e_key ctrl+shift+2
e2e_quit_discarding_and_pass
