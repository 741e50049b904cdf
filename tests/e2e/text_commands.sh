#!/usr/bin/env bash
# The text commands by their shortcuts, read back by LibreOffice from the
# saved files: Title Case, UPPER CASE, Reverse, Center and Date Stamp; Write
# Letter opens a second window holding the letter. Then the pictures of the
# top strip: full screen and back, centre on the screen, maximize and
# restore, minimize.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
command -v soffice >/dev/null || e2e_fail "missing tool: soffice (scripts/install-deps --test)"
e2e_start_display
docs=$E2E_TMP/docs
mkdir -p "$docs"

has_state() { xprop -id "$1" _NET_WM_STATE | grep -q "$2"; }
lacks_state() { ! has_state "$@"; }
geometry() { xdotool getwindowgeometry --shell "$1" | tr '\n' ' '; }
absolute() { xwininfo -id "$1" | sed -n "s/.*Absolute upper-left $2: *//p"; }

# Answers the Save dialog that Ctrl+S opens with the file name $1.
save_as() {
  e2e_key ctrl+s
  e2e_wait_window '^Save$'
  e2e_focus "$E2E_WID"
  e2e_key ctrl+a
  e2e_type "$docs/$1"
  e2e_key Return
  e2e_wait_window "^$1\\.rtf\$"
}

# Saves the document again with Ctrl+S and keeps a copy named $1.
written() { [ "$(stat -c %Y.%s "$docs/doc.rtf")" != "$1" ]; }
save_copy() {
  local before
  before=$(stat -c %Y.%s "$docs/doc.rtf")
  sleep 1.1  # a new modification time, to the second
  e2e_key ctrl+s
  e2e_until written "$before" || e2e_fail "Ctrl+S did not write the document"
  cp "$docs/doc.rtf" "$docs/$1.rtf"
}

e2e_start_app
e2e_wait_window '^ Plumora$'
first=$E2E_WID
content_top "$first"
e2e_focus "$first"
e2e_type "don't stop me now"
e2e_key ctrl+a ctrl+4
save_as doc
cp "$docs/doc.rtf" "$docs/title.rtf"
e2e_focus "$first"
e2e_key ctrl+a ctrl+1
save_copy upper
e2e_key ctrl+a ctrl+3
save_copy reversed
# Centring changes no text; the stamp that follows makes the document one to save.
e2e_key ctrl+a ctrl+shift+2 ctrl+d
save_copy stamped
e2e_key ctrl+shift+l
e2e_wait_window '^ Plumora$'
letter=$E2E_WID
e2e_focus "$letter"
save_as letter

out=$E2E_TMP/lo
convert_to() {
  soffice -env:UserInstallation="file://$E2E_TMP/profile" --headless --norestore --convert-to "$1" \
    --outdir "$out" "${@:2}" >>"$E2E_TMP/soffice.log" 2>&1 || e2e_fail "LibreOffice could not convert to $1"
}
convert_to txt:Text "$docs"/{title,upper,reversed,stamped,letter}.rtf
convert_to fodt "$docs/stamped.rtf"
text_of() { head -n1 "$out/$1.txt" | tr -d '\r\357\273\277'; }
for expected in "title:Don't Stop Me Now" "upper:DON'T STOP ME NOW" "reversed:WON EM POTS T'NOD" \
  "letter:Dear <Chose Name>,"; do
  [ "$(text_of "${expected%%:*}")" = "${expected#*:}" ] ||
    e2e_fail "LibreOffice reads '$(text_of "${expected%%:*}")' in ${expected%%:*}.rtf"
done
case "$(text_of stamped)" in
  "WON EM POTS T'NOD "*"$(date +%Y)"*) ;;
  *) e2e_fail "Date Stamp: LibreOffice reads '$(text_of stamped)'" ;;
esac
grep -q 'fo:text-align="center"' "$out/stamped.fodt" || e2e_fail "LibreOffice does not read the paragraph as centred"

# The letter's window goes out of the way of the first one's pictures.
xdotool windowmove "$letter" 600 600
e2e_until eval '[ "$(absolute "$letter" X)" -ge 590 ]' || e2e_fail "the letter's window did not move"

# Full screen: the window covers the screen and the strip sits at its very
# top, with no menu bar above it; the second press brings both back.
e2e_focus "$first"
before=$(geometry "$first")
click_content "$first" 113 13
e2e_until has_state "$first" _NET_WM_STATE_FULLSCREEN || e2e_fail "full screen is not set"
e2e_until eval '[ "$(absolute "$first" Y)" = 0 ] && geometry "$first" | grep -q HEIGHT=1024' ||
  e2e_fail "the full-screen window is $(geometry "$first")"
e2e_screenshot_window "$first" "$E2E_ARTIFACTS/text-commands-full-screen.png"
# The close picture lies at 5,3 of the content, here of the window itself.
[ "$(convert "$E2E_ARTIFACTS/text-commands-full-screen.png" -crop 21x21+5+3 +repage -format '%k' info:)" -gt 1 ] ||
  e2e_fail "the full-screen window does not begin with the strip: a menu bar is still shown"
E2E_TOP=0
click_content "$first" 113 13
e2e_until lacks_state "$first" _NET_WM_STATE_FULLSCREEN || e2e_fail "full screen is still set"
e2e_until eval '[ "$(geometry "$first")" = "$before" ]' || e2e_fail "back from full screen as $(geometry "$first")"
content_top "$first"

# Centre: the content area's centre within 2 pixels of the screen's.
off_centre() {
  dx=$(($(absolute "$first" X) + 336 - 640)) dy=$(($(absolute "$first" Y) + E2E_TOP + 192 - 512))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}
click_content "$first" 90 13
e2e_until off_centre || e2e_fail "centred content is off the screen's centre by $dx,$dy"

maximized() { has_state "$first" _NET_WM_STATE_MAXIMIZED_VERT && has_state "$first" _NET_WM_STATE_MAXIMIZED_HORZ; }
click_content "$first" 61 13
e2e_until maximized || e2e_fail "the maximize picture did not maximize the window"
click_content "$first" 61 13
e2e_until lacks_state "$first" _NET_WM_STATE_MAXIMIZED_ || e2e_fail "the second press on maximize did not restore"

hidden() { has_state "$first" _NET_WM_STATE_HIDDEN || ! xwininfo -id "$first" | grep -q IsViewable; }
click_content "$first" 38 13
e2e_until hidden || e2e_fail "the minimize picture left the window shown"

e2e_focus "$letter"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
