#!/usr/bin/env bash
# The window under a desktop window manager: Alt+V types nothing while Alt+E
# still opens the Edit menu; the top strip runs unbroken across a wide
# window (screenshots at 672x384 and 1400x600); the window manager's close
# (Alt+F4) shows the save-changes bar on a window with text and closes an
# empty one at once.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
E2E_SCREEN=1600x1024
e2e_start_display

# The colour (RRGGBB) of the point x, y of the content area, below the menu bar.
E2E_TOP=0
pixel_at() {
  convert "$1" -format "%[hex:p{$2,$(($3 + E2E_TOP))}]" info: 2>/dev/null | cut -c1-6
}

e2e_start_app
e2e_wait_window '^ Plumora$'
main=$E2E_WID
height=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p')
E2E_TOP=$((height - 384))
e2e_focus "$main"

# Alt with a letter that is no menu's mnemonic types nothing; one that is opens its menu.
text_area=50x14+10+$((29 + E2E_TOP))
e2e_key alt+v alt+i alt+o
e2e_screenshot_window "$main" "$E2E_TMP/alt.png"
[ "$(e2e_colours_in "$E2E_TMP/alt.png" "$text_area")" = 1 ] || e2e_fail "Alt+V, Alt+I or Alt+O typed into the page"
popups=$(xdotool search --onlyvisible --class plumora 2>/dev/null | grep -c .)
e2e_key alt+e
menu_open=0
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  [ "$(xdotool search --onlyvisible --class plumora 2>/dev/null | grep -c .)" -gt "$popups" ] && menu_open=1 && break
  sleep 0.1
done
[ "$menu_open" = 1 ] || e2e_fail "Alt+E did not open the Edit menu"
e2e_key Escape Escape

# The top strip's shading runs across the whole width: below the label, the
# rows have at x 700, 1000 and (below the word count) 1399 the colour they
# have at x 200.
e2e_screenshot_window "$main" "$E2E_ARTIFACTS/window-672x384.png"
xdotool windowsize "$main" 1400 $((600 + E2E_TOP)) || e2e_fail "cannot resize the window"
for _ in $(seq $((E2E_TIMEOUT * 10))); do
  [ "$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^WIDTH=//p')" = 1400 ] && break
  sleep 0.1
done
[ "$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^WIDTH=//p')" = 1400 ] || e2e_fail "the window did not widen to 1400"
sleep 0.5
shot=$E2E_ARTIFACTS/window-1400x600.png
e2e_screenshot_window "$main" "$shot"
for point in 700,0 1000,0 700,12 1000,12 700,24 1000,24 1399,24; do
  x=${point%,*} y=${point#*,}
  [ "$(pixel_at "$shot" "$x" "$y")" = "$(pixel_at "$shot" 200 "$y")" ] ||
    e2e_fail "the top strip changes colour at x $x, row $y"
done
xdotool windowsize "$main" 672 "$height"

# Alt+F4 on a window with text: the save-changes bar, and the window stays.
e2e_type "Hello"
e2e_key alt+F4
colour=
for _ in $(seq $((E2E_TIMEOUT * 5))); do
  e2e_screenshot_window "$main" "$E2E_ARTIFACTS/window-manager-close-bar.png"
  colour=$(pixel_at "$E2E_ARTIFACTS/window-manager-close-bar.png" 450 14)
  [ "$colour" = FFF3C1 ] && break
  sleep 0.2
done
[ "$colour" = FFF3C1 ] || e2e_fail "no save-changes bar after Alt+F4 (pixel $colour)"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "Alt+F4 closed a window with text"

# Alt+F4 on an empty window closes it.
e2e_key ctrl+w
e2e_wait_window '^ Plumora$' 2
empty=$E2E_WID
e2e_focus "$empty"
e2e_key alt+F4
e2e_wait_count '^ Plumora$' 1 "Alt+F4 did not close the empty window"
kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program ended with a window still open"
e2e_pass
