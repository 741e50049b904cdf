#!/usr/bin/env bash
# The binary starts, shows its one document window titled " Plumora" (with
# the leading blank), and Ctrl+Q ends the process with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_launch
[ "$(xdotool getwindowname "$E2E_WID")" = " Plumora" ] || e2e_fail "the window is titled '$(xdotool getwindowname "$E2E_WID")'"
count=$(e2e_count_windows '^ Plumora$')
[ "$count" = 1 ] || e2e_fail "$count document windows at start-up, expected 1"
e2e_shot root "$E2E_ARTIFACTS/plumora-window.png"
e2e_quit_and_pass
