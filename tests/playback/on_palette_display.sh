#!/usr/bin/env bash
# Runs a Windows program of the tests on an X display of its own at 8 bits
# per pixel, a palette display, which Wine then offers the program:
#   on_palette_display.sh WINE-RUN PROGRAM [ARGUMENTS...]
# The Xvfb is started here on a free display number and stopped afterwards.
set -euo pipefail
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 640x480x8 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$number_file"' EXIT
for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.1; done
display=":$(head -n1 "$number_file")"
if ! xdpyinfo -display "$display" 2>/dev/null | grep -q 'depth of root window: *8 planes'; then
  echo "on_palette_display: no 8-bit display came up at $display" >&2
  exit 1
fi
# ZURED16_DISPLAY makes the Wine environment use this display; the program
# checks with ZURED16_PALETTE_DISPLAY that it really got a palette display.
ZURED16_DISPLAY="$display" ZURED16_PALETTE_DISPLAY=1 "$@"
