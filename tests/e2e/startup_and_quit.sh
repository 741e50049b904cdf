#!/usr/bin/env bash
# The binary starts, shows its one document window titled " Plumora" (with
# the leading blank), and Ctrl+Q ends the process with status 0.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_display
e2e_start_app

e2e_wait_window '^ Plumora$'
wid=$E2E_WID
title=$(e2e_window_title "$wid")
[ "$title" = " Plumora" ] || e2e_fail "window title is '$title', expected ' Plumora'"
count=$(e2e_count_windows '^ Plumora$')
[ "$count" = 1 ] || e2e_fail "$count document windows at start-up, expected 1"

e2e_screenshot_root "$E2E_ARTIFACTS/plumora-window.png"
e2e_screenshot_window "$wid" "$E2E_ARTIFACTS/plumora-window-only.png"

e2e_focus "$wid"
e2e_key ctrl+q
e2e_expect_exit 0
e2e_pass
