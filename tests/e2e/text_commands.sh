#!/usr/bin/env bash
# The text commands by their shortcuts, read back by LibreOffice from the
# saved files: Title Case, UPPER CASE, Reverse (the bold of the first
# letters moves with them), Center and Date Stamp; Write Letter opens a
# second window holding the letter. Then the pictures of the top strip: full
# screen and back, centre on the screen, maximize, full screen and back to
# maximized, restore by Ctrl+Shift+M, minimize.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@" soffice

has_state() { xprop -id "$first" _NET_WM_STATE | grep -q "$1"; }
geometry() { xdotool getwindowgeometry --shell "$first" | tr '\n' ' '; }
absolute() { xwininfo -id "$1" | sed -n "s/.*Absolute upper-left $2: *//p"; }

# Gives the selection the keys $1..., saves the document again with Ctrl+S and keeps a copy named $2.
doc=$E2E_DOCS/doc.rtf
written() { [ "$(stat -c %Y.%s "$doc")" != "$1" ]; }
save_copy() {
  local before
  before=$(stat -c %Y.%s "$doc")
  sleep 1.1  # a new modification time, to the second
  e2e_key ctrl+a "${@:2}" ctrl+s
  e2e_until written "$before" || e2e_fail "Ctrl+S did not write the document"
  cp "$doc" "$E2E_DOCS/$1.rtf"
}

e2e_launch
first=$E2E_WID
e2e_type "don't stop me now"
e2e_key ctrl+a ctrl+4
e2e_save_as doc
cp "$doc" "$E2E_DOCS/title.rtf"
e2e_focus "$first"
save_copy upper ctrl+1
# "DON" bold (B on the toolbar), then back into the text: Reverse carries the bold with it.
e2e_key ctrl+Home shift+Right shift+Right shift+Right
e2e_click "$first" 594 374
e2e_click "$first" 300 100
save_copy reversed ctrl+3
# Centring changes no text; the stamp that follows makes the document one to save.
save_copy stamped ctrl+shift+2 ctrl+d
e2e_raise ctrl+shift+l '^ Plumora$'
letter=$E2E_WID
e2e_save_as letter

e2e_convert txt:Text "$E2E_DOCS"/{title,upper,reversed,stamped,letter}.rtf
e2e_convert fodt "$E2E_DOCS/stamped.rtf"
e2e_convert html "$E2E_DOCS/reversed.rtf"
for expected in "title:Don't Stop Me Now" "upper:DON'T STOP ME NOW" "reversed:WON EM POTS T'NOD" \
  "letter:Dear <Chose Name>," "stamped:WON EM POTS T'NOD *$(date +%Y)*"; do
  # shellcheck disable=SC2053 # the stamp's line is a pattern
  [[ "$(e2e_text_of "${expected%%:*}")" == ${expected#*:} ]] ||
    e2e_fail "LibreOffice reads '$(e2e_text_of "${expected%%:*}")' in ${expected%%:*}.rtf"
done
grep -q 'fo:text-align="center"' "$E2E_TMP/lo/stamped.fodt" || e2e_fail "LibreOffice does not read the paragraph as centred"
bold=$(grep -o '<b>[^<]*</b>' "$E2E_TMP/lo/reversed.html" | tr -d '\n')
[ "$bold" = "<b>NOD</b>" ] || e2e_fail "LibreOffice reads '$bold' as the bold of reversed.rtf"

# The letter's window goes out of the way of the first one's pictures.
xdotool windowmove "$letter" 600 600
e2e_until eval '[ "$(absolute "$letter" X)" -ge 590 ]' || e2e_fail "the letter's window did not move"

# Full screen: the window covers the screen and the strip sits at its very
# top, with no menu bar above it; the second press brings both back.
e2e_focus "$first"
before=$(geometry)
e2e_click "$first" 113 13
e2e_until has_state _NET_WM_STATE_FULLSCREEN || e2e_fail "full screen is not set"
e2e_until eval '[ "$(absolute "$first" Y)" = 0 ] && geometry | grep -q HEIGHT=1024' ||
  e2e_fail "the full-screen window is $(geometry)"
shot=$E2E_ARTIFACTS/text-commands-full-screen.png
e2e_shot "$first" "$shot"
# The close picture lies at 5,3 of the content, here of the window itself.
[ "$(e2e_colours_in "$shot" 21x21+5+3)" -gt 1 ] || e2e_fail "a menu bar is still shown above the full-screen strip"
E2E_TOP=0 e2e_click "$first" 113 13
e2e_until eval '! has_state _NET_WM_STATE_FULLSCREEN' || e2e_fail "full screen is still set"
e2e_until eval '[ "$(geometry)" = "$before" ]' || e2e_fail "back from full screen as $(geometry)"

# Centre: the content area's centre within 2 pixels of the screen's.
off_centre() {
  dx=$(($(absolute "$first" X) + 336 - 640)) dy=$(($(absolute "$first" Y) + E2E_TOP + 192 - 512))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}
e2e_click "$first" 90 13
e2e_until off_centre || e2e_fail "centred content is off the screen's centre by $dx,$dy"

# Maximized by its picture, to full screen and back: maximized again; Ctrl+Shift+M
# then gives back the place and size from before Maximize.
centred=$(geometry)
e2e_click "$first" 61 13
e2e_until eval 'has_state _NET_WM_STATE_MAXIMIZED_VERT && has_state _NET_WM_STATE_MAXIMIZED_HORZ' ||
  e2e_fail "the maximize picture did not maximize the window"
e2e_click "$first" 113 13
e2e_until eval 'has_state _NET_WM_STATE_FULLSCREEN' || e2e_fail "the maximized window did not go full screen"
E2E_TOP=0 e2e_click "$first" 113 13
e2e_until eval '! has_state _NET_WM_STATE_FULLSCREEN && has_state _NET_WM_STATE_MAXIMIZED_HORZ' ||
  e2e_fail "back from full screen as $(geometry) $(xprop -id "$first" _NET_WM_STATE)"
e2e_key ctrl+shift+m
e2e_until eval '[ "$(geometry)" = "$centred" ] && ! has_state _NET_WM_STATE_MAXIMIZED_' ||
  e2e_fail "restored after full screen as $(geometry), not $centred"
e2e_click "$first" 38 13
e2e_until eval 'has_state _NET_WM_STATE_HIDDEN || ! xwininfo -id "$first" | grep -q IsViewable' ||
  e2e_fail "the minimize picture left the window shown"

e2e_focus "$letter"
e2e_quit_and_pass
