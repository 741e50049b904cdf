#!/usr/bin/env bash
# Start-up time of Plumora against a bare Qt window of the same make: each
# program is run N times under Xvfb and openbox, and each run is timed from
# just before exec until its first top-level window is mapped (startup_probe,
# event-driven, no polling). The probe's own stand-in, a bare Xlib window,
# gives the floor of the method: process start, connecting to the server and
# the window manager's map round trip.
#
#   bench/startup/measure-startup.sh [build dir] [runs]   (defaults: build 20)
#
# The build dir must hold bin/plumora, bin/bare_window
# and bin/startup_probe (cmake --build <dir> --target plumora resources
# bare_window startup_probe).
set -u

BUILD=${1:-build}
RUNS=${2:-20}
PLUMORA=$BUILD/bin/plumora
BARE=$BUILD/bin/bare_window
PROBE=$BUILD/bin/startup_probe

for f in "$PLUMORA" "$BARE" "$PROBE"; do
  [ -x "$f" ] || { echo "missing $f (build the targets plumora resources bare_window startup_probe)" >&2; exit 2; }
done
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 2; }
done

TMP=$(mktemp -d "${TMPDIR:-/tmp}/plumora-startup.XXXXXX")
XVFB_PID=
WM_PID=
cleanup() {
  local pid
  for pid in $WM_PID $XVFB_PID; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$TMP"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$TMP/displayfd" >"$TMP/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 150); do
  grep -q '^[0-9]' "$TMP/displayfd" 2>/dev/null && break
  sleep 0.1
done
grep -q '^[0-9]' "$TMP/displayfd" || { echo "Xvfb did not start" >&2; cat "$TMP/xvfb.log" >&2; exit 1; }
DISPLAY=:$(head -n1 "$TMP/displayfd")
export DISPLAY
export HOME=$TMP/home XDG_CONFIG_HOME=$TMP/home/.config XDG_RUNTIME_DIR=$TMP/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
export QT_QPA_PLATFORM=xcb

openbox --sm-disable >"$TMP/wm.log" 2>&1 &
WM_PID=$!
for _ in $(seq 150); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || { echo "openbox did not start" >&2; exit 1; }

names=(plumora bare_window xlib_floor)
# Each entry is a whole probe command line (paths must hold no blanks).
commands=("$PROBE $PLUMORA" "$PROBE $BARE" "$PROBE $PROBE --map-window")

# One unrecorded run each fills the page cache and the font caches.
for c in "${commands[@]}"; do
  $c >/dev/null 2>"$TMP/probe.log" || { echo "probe failed for $c:" >&2; cat "$TMP/probe.log" >&2; exit 1; }
done

# The programs take turns, so that a burst of load elsewhere on the machine
# falls on all of them alike.
for _ in $(seq "$RUNS"); do
  for k in "${!names[@]}"; do
    t=$(${commands[$k]} 2>"$TMP/probe.log") || { echo "probe failed for ${names[$k]}:" >&2; cat "$TMP/probe.log" >&2; exit 1; }
    echo "$t" >>"$TMP/${names[$k]}.times"
  done
done

summary() {  # prints "median min max" in seconds
  sort -g "$1" | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.4f %.4f %.4f\n", m, v[1], v[NR] }'
}

printf 'exec-to-first-mapped-window, %d runs each, on %s (openbox)\n' "$RUNS" "$DISPLAY"
printf '%-12s %10s %10s %10s\n' program median_s min_s max_s
declare -A median minimum
for n in "${names[@]}"; do
  read -r med min max < <(summary "$TMP/$n.times")
  printf '%-12s %10s %10s %10s\n' "$n" "$med" "$min" "$max"
  median[$n]=$med
  minimum[$n]=$min
done
awk -v pm="${median[plumora]}" -v bm="${median[bare_window]}" \
    -v pn="${minimum[plumora]}" -v bn="${minimum[bare_window]}" 'BEGIN {
  printf "plumora / bare_window: median %.2fx, min %.2fx\n", pm / bm, pn / bn
  printf "target: plumora median under 0.100 s: %s; within 2x of bare_window: %s\n",
    (pm < 0.1 ? "met" : "NOT met"), (pm / bm <= 2 ? "met" : "NOT met") }'
