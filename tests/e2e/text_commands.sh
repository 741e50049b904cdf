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

# The content area lies below the menu bar: the rest of the window's height
# above the 384 pixels of content.
E2E_TOP=0
content_top() {
  local height
  height=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
  [ -n "$height" ] || e2e_fail "no geometry for window $1"
  E2E_TOP=$((height - 384))
  [ "$E2E_TOP" -ge 0 ] && [ "$E2E_TOP" -lt 100 ] || e2e_fail "unexpected window height $height"
}

# Presses the mouse on a picture of the top strip, at a point of the content area.
click_content() {
  xdotool mousemove --window "$1" --sync "$2" $(($3 + E2E_TOP)) click 1 || e2e_fail "click at $2,$3 failed"
}

wm_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }

# Waits until the window's _NET_WM_STATE does ($2 = yes) or does not ($2 = no) hold $3.
expect_state() {
  local wid=$1 want=$2 atom=$3 has
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    has=no
    wm_state "$wid" | grep -q "$atom" && has=yes
    [ "$has" = "$want" ] && return 0
    sleep 0.1
  done
  e2e_fail "$atom on window $wid: expected $want; state is '$(wm_state "$wid")'"
}

# Saves with Ctrl+S and keeps a copy of the file as it was written.
save_copy() {
  local file=$docs/doc.rtf copy=$docs/$1.rtf before
  before=$(stat -c %Y.%s "$file" 2>/dev/null)
  sleep 1.1  # a new modification time, to the second
  e2e_key ctrl+s
  for _ in $(seq $((E2E_TIMEOUT * 10))); do
    [ -f "$file" ] && [ "$(stat -c %Y.%s "$file")" != "$before" ] && break
    sleep 0.1
  done
  [ "$(stat -c %Y.%s "$file" 2>/dev/null)" != "$before" ] || e2e_fail "Ctrl+S did not write $file"
  cp "$file" "$copy"
}

e2e_start_app
e2e_wait_window '^ Plumora$'
first=$E2E_WID
content_top "$first"
e2e_focus "$first"

e2e_type "don't stop me now"
e2e_key ctrl+a ctrl+4
e2e_key ctrl+s
e2e_wait_window '^Save$'
e2e_focus "$E2E_WID"
e2e_key ctrl+a
e2e_type "$docs/doc"
e2e_key Return
e2e_wait_window '^doc\.rtf$'
cp "$docs/doc.rtf" "$docs/title.rtf"
e2e_focus "$first"
e2e_key ctrl+a ctrl+1
save_copy upper
e2e_key ctrl+a ctrl+3
save_copy reversed
# Centring changes no text; the stamp that follows makes the document one to save.
e2e_key ctrl+a ctrl+shift+2 ctrl+d
save_copy stamped

# Write Letter: a second window, in front, holding the letter; saved through the dialog.
e2e_key ctrl+shift+l
e2e_wait_window '^ Plumora$'
letter=$E2E_WID
[ "$letter" != "$first" ] || e2e_fail "Ctrl+Shift+L opened no second window"
e2e_focus "$letter"
e2e_key ctrl+s
e2e_wait_window '^Save$'
e2e_focus "$E2E_WID"
e2e_key ctrl+a
e2e_type "$docs/letter"
e2e_key Return
e2e_wait_window '^letter\.rtf$'

out=$E2E_TMP/lo
soffice -env:UserInstallation="file://$E2E_TMP/profile" --headless --norestore --convert-to txt:Text \
  --outdir "$out" "$docs"/title.rtf "$docs"/upper.rtf "$docs"/reversed.rtf "$docs"/stamped.rtf "$docs"/letter.rtf \
  >"$E2E_TMP/soffice.log" 2>&1 || e2e_fail "LibreOffice could not convert the saved files"
soffice -env:UserInstallation="file://$E2E_TMP/profile" --headless --norestore --convert-to fodt \
  --outdir "$out" "$docs"/stamped.rtf >>"$E2E_TMP/soffice.log" 2>&1 || e2e_fail "LibreOffice could not convert to fodt"
text_of() { tr -d '\r\357\273\277' <"$out/$1.txt"; }
[ "$(text_of title)" = "Don't Stop Me Now" ] || e2e_fail "Title Case: LibreOffice reads '$(text_of title)'"
[ "$(text_of upper)" = "DON'T STOP ME NOW" ] || e2e_fail "UPPER CASE: LibreOffice reads '$(text_of upper)'"
[ "$(text_of reversed)" = "WON EM POTS T'NOD" ] || e2e_fail "Reverse: LibreOffice reads '$(text_of reversed)'"
case "$(text_of stamped)" in
  "WON EM POTS T'NOD "*"$(date +%Y)"*) ;;
  *) e2e_fail "Date Stamp: LibreOffice reads '$(text_of stamped)'" ;;
esac
grep -q 'fo:text-align="center"' "$out/stamped.fodt" || e2e_fail "LibreOffice does not read the paragraph as centred"
[ "$(head -n1 "$out/letter.txt" | tr -d '\r\357\273\277')" = "Dear <Chose Name>," ] ||
  e2e_fail "the letter window's document begins '$(head -n1 "$out/letter.txt")'"

# The letter's window goes out of the way of the first one's pictures.
xdotool windowmove "$letter" 600 600
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  [ "$(xwininfo -id "$letter" | sed -n 's/.*Absolute upper-left X: *//p')" -ge 590 ] && break
  sleep 0.1
done

# Full screen: the window covers the screen and the strip sits at its very
# top, with no menu bar above it; the second press brings both back.
e2e_focus "$first"
read_geometry() { xdotool getwindowgeometry --shell "$1" | tr '\n' ' '; }
before=$(read_geometry "$first")
click_content "$first" 113 13
expect_state "$first" yes _NET_WM_STATE_FULLSCREEN
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  [ "$(xdotool getwindowgeometry --shell "$first" | sed -n 's/^HEIGHT=//p')" = 1024 ] && break
  sleep 0.1
done
e2e_screenshot_window "$first" "$E2E_ARTIFACTS/text-commands-full-screen.png"
# The close picture's top-left corner lies at 5,3 of the content: at 5,3 of the window without a menu bar.
strip=$(convert "$E2E_ARTIFACTS/text-commands-full-screen.png" -crop 21x21+5+3 +repage -format '%k' info:)
[ "$strip" -gt 1 ] || e2e_fail "the full-screen window does not begin with the strip: a menu bar is still shown"
E2E_TOP=0
click_content "$first" 113 13
expect_state "$first" no _NET_WM_STATE_FULLSCREEN
after=
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  after=$(read_geometry "$first")
  [ "$after" = "$before" ] && break
  sleep 0.1
done
[ "$after" = "$before" ] || e2e_fail "after full screen the window is '$after', was '$before'"
content_top "$first"

# Centre: the content area's centre within 2 pixels of the screen's. The
# window's place on the screen is its absolute one, inside the desktop's frame.
absolute() { xwininfo -id "$1" | sed -n "s/.*Absolute upper-left $2: *//p"; }
click_content "$first" 90 13
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  dx=$(($(absolute "$first" X) + 336 - 640)) dy=$(($(absolute "$first" Y) + E2E_TOP + 192 - 512))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] && break
  sleep 0.1
done
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || e2e_fail "centred content is off the screen's centre by $dx,$dy"

# Maximize, and a second press restores.
click_content "$first" 61 13
expect_state "$first" yes _NET_WM_STATE_MAXIMIZED_VERT
expect_state "$first" yes _NET_WM_STATE_MAXIMIZED_HORZ
click_content "$first" 61 13
expect_state "$first" no _NET_WM_STATE_MAXIMIZED_VERT
expect_state "$first" no _NET_WM_STATE_MAXIMIZED_HORZ

# Minimize: the window is no longer viewable.
click_content "$first" 38 13
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  wm_state "$first" | grep -q _NET_WM_STATE_HIDDEN && break
  xwininfo -id "$first" | grep -q 'IsViewable' || break
  sleep 0.1
done
wm_state "$first" | grep -q _NET_WM_STATE_HIDDEN || ! xwininfo -id "$first" | grep -q IsViewable ||
  e2e_fail "the minimize picture left the window shown"

e2e_focus "$letter"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
