#!/usr/bin/env bash
# The window under a desktop window manager: Alt+V types nothing while Alt+E
# still opens the Edit menu; the top strip runs unbroken across a wide
# window (screenshots at 672x384 and 1400x600); the window manager's close (Alt+F4)
# shows the save-changes bar on a window with text and closes an empty one
# at once.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
E2E_SCREEN=1600x1024
e2e_init "$@"
e2e_launch
main=$E2E_WID

# Alt with a letter that is no menu's mnemonic types nothing; one that is opens its menu.
e2e_key alt+v alt+i alt+o
e2e_shot "$main" "$E2E_TMP/alt.png"
[ "$(e2e_colours_in "$E2E_TMP/alt.png" 50x14+10+$((29 + E2E_TOP)))" = 1 ] || e2e_fail "Alt+V, Alt+I or Alt+O typed"
shown() { xdotool search --onlyvisible --class plumora 2>/dev/null | grep -c .; }
popups=$(shown)
e2e_key alt+e
e2e_until eval '[ "$(shown)" -gt "$popups" ]' || e2e_fail "Alt+E did not open the Edit menu"
e2e_key Escape Escape

# The top strip's shading runs across the whole width: below the label, the
# rows have at x 700, 1000 and (below the word count) 1399 the colour they
# have at x 200.
e2e_shot "$main" "$E2E_ARTIFACTS/window-672x384.png"
xdotool windowsize "$main" 1400 $((600 + E2E_TOP)) || e2e_fail "cannot resize the window"
e2e_until eval 'xdotool getwindowgeometry --shell "$main" | grep -qx WIDTH=1400' || e2e_fail "the window is not 1400 wide"
sleep 0.5
shot=$E2E_ARTIFACTS/window-1400x600.png
e2e_shot "$main" "$shot"
for point in 700,0 1000,0 700,12 1000,12 700,24 1000,24 1399,24; do
  x=${point%,*} y=${point#*,}
  [ "$(e2e_pixel "$shot" "$x" "$y")" = "$(e2e_pixel "$shot" 200 "$y")" ] ||
    e2e_fail "the top strip changes colour at x $x, row $y"
done

# Alt+F4 on a window with text: the save-changes bar, and the window stays.
e2e_type "Hello"
e2e_key alt+F4
e2e_wait_bar "$main" "$E2E_ARTIFACTS/window-manager-close-bar.png"
[ "$(e2e_count_windows '^ Plumora$')" = 1 ] || e2e_fail "Alt+F4 closed a window with text"

# Alt+F4 on an empty window closes it.
e2e_raise ctrl+w '^ Plumora$' 2
e2e_key alt+F4
e2e_wait_count '^ Plumora$' 1 "Alt+F4 did not close the empty window"
e2e_running "with a window still open"
e2e_pass
