#!/usr/bin/env bash
# The word count follows typing; Ctrl+S saves through the Save dialog to an
# RTF file whose name becomes the window's title; the close picture of a
# window that holds text shows the save-changes bar, whose "no" closes the
# window without saving while the other window stays; Ctrl+Q then quits
# with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
command -v tesseract >/dev/null || e2e_fail "missing tool: tesseract (scripts/install-deps --test)"
e2e_start_display

docs=$E2E_TMP/docs
mkdir -p "$docs"

# Reads the word-count label: light grey on dark grey in the strip y 2..22,
# ending at x 663. The crop is greyed, scaled up and negated so that the
# engine sees dark type on a light ground, and read as one line.
E2E_LABEL=
read_label() {
  local shot=$E2E_TMP/label-window.png
  import -window "$1" "$shot" 2>>"$E2E_TMP/import.log" || e2e_fail "screenshot of window $1 failed"
  convert "$shot" -crop "273x20+395+$((2 + E2E_TOP))" +repage -colorspace Gray -resize 400% -negate \
    "$E2E_TMP/label.png" || e2e_fail "cannot crop the word-count label"
  E2E_LABEL=$(tesseract "$E2E_TMP/label.png" - --psm 7 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
}

# Waits until the label shows the count $2: the whole sentence read exactly,
# or failing that at least "N Words" with no other digit before it.
expect_word_count() {
  local wid=$1 n=$2
  for _ in $(seq $((E2E_TIMEOUT * 2))); do
    read_label "$wid"
    [ "$E2E_LABEL" = "There are: $n Words." ] && return 0
    printf '%s\n' "$E2E_LABEL" | grep -Eq "(^|[^0-9])$n Words" && {
      e2e_log "label read as '$E2E_LABEL'; the count $n is in it"
      return 0
    }
    sleep 0.5
  done
  cp "$E2E_TMP/label.png" "$E2E_ARTIFACTS/save-and-close-label.png" 2>/dev/null
  e2e_fail "the word count label reads '$E2E_LABEL', expected 'There are: $n Words.'"
}

e2e_start_app
e2e_wait_window '^ Plumora$'
first=$E2E_WID
content_top "$first"
e2e_focus "$first"
expect_word_count "$first" 0

words="Seven plain words typed into the page"
e2e_type "$words"
expect_word_count "$first" 7

# Save: the dialog proposes a name; a typed name without an extension is
# given ".rtf".
e2e_key ctrl+s
e2e_wait_window '^Save$'
dialog=$E2E_WID
e2e_focus "$dialog"
e2e_key ctrl+a
e2e_type "$docs/notes"
e2e_key Return
e2e_wait_window '^notes\.rtf$'
[ "$E2E_WID" = "$first" ] || e2e_fail "the saved document's title is on another window than the first"
[ "$(e2e_count_windows '^Save$')" = 0 ] || e2e_fail "the Save dialog is still shown"
saved=$docs/notes.rtf
[ -f "$saved" ] || e2e_fail "no file $saved after saving"
[ "$(head -c 5 "$saved")" = '{\rtf' ] || e2e_fail "$saved does not start with {\\rtf: $(head -c 40 "$saved")"
for word in $words; do
  grep -qF -- "$word" "$saved" || e2e_fail "the saved file does not hold the typed word '$word'"
done
[ "$(e2e_count_windows '^ Plumora$')" = 0 ] || e2e_fail "a window is still titled ' Plumora' after the save"
saved_sum=$(cksum <"$saved")

# A change after the save, which "no" must not write.
e2e_focus "$first"
e2e_type " unsaved"
expect_word_count "$first" 8

# A second window keeps the program running when the first one closes.
e2e_key ctrl+w
e2e_wait_window '^ Plumora$'
second=$E2E_WID
[ "$second" != "$first" ] || e2e_fail "Ctrl+W did not open a new window"

# The close picture of the first window: its text is not empty, so the bar
# asks whether to save instead of closing.
e2e_focus "$first"
bar_x=450 bar_y=14
e2e_screenshot_window "$first" "$E2E_TMP/before-close.png"
before=$(pixel_at "$E2E_TMP/before-close.png" "$bar_x" "$bar_y")
[ "$before" != FFF3C1 ] || e2e_fail "the save-changes bar is shown before the close picture was clicked"
click_content "$first" 15 13
colour=
for _ in $(seq $((E2E_TIMEOUT * 5))); do
  e2e_screenshot_window "$first" "$E2E_ARTIFACTS/save-and-close-bar.png"
  colour=$(pixel_at "$E2E_ARTIFACTS/save-and-close-bar.png" "$bar_x" "$bar_y")
  [ "$colour" = FFF3C1 ] && break
  sleep 0.2
done
[ "$colour" = FFF3C1 ] || e2e_fail "no save-changes bar after clicking the close picture (pixel $colour)"
[ "$(e2e_count_windows '^notes\.rtf$')" = 1 ] || e2e_fail "the window closed instead of asking"

# "No" closes the window without saving; the other window stays.
click_content "$first" 596 13
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  [ "$(e2e_count_windows '^notes\.rtf$')" = 0 ] && break
  kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the application ended when one of its two windows closed"
  sleep 0.1
done
[ "$(e2e_count_windows '^notes\.rtf$')" = 0 ] || e2e_fail "the window is still shown after 'no'"
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the application ended when one of its two windows closed"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "the second window did not stay open"
[ "$(cksum <"$saved")" = "$saved_sum" ] || e2e_fail "'no' wrote the unsaved change to $saved"
grep -qF unsaved "$saved" && e2e_fail "the file holds the text typed after saving"
e2e_screenshot_root "$E2E_ARTIFACTS/save-and-close-after-no.png"

e2e_focus "$second"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
