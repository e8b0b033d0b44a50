#!/usr/bin/env bash
# `make play` and vxaplay stop what they started: a run on a services record
# of its own (so that the tests' own PulseAudio server is not involved) must
# leave no PulseAudio server behind, whether it played headless or not.
#   runs_leave_nothing.sh ROOT [VXAPLAY-OPTIONS...]
# (--i686 for the i686 build's vxaplay under WoW64; make play is the x86_64's)
set -uo pipefail
root=$1
shift
vxaplay_options=("$@")
run=$(mktemp -d)
trap 'ZURED16_RUN_DIR=$run "$root/scripts/wine-env" stop >/dev/null 2>&1; rm -rf "$run"' EXIT
export ZURED16_RUN_DIR=$run
status=0

left_running() {
  PULSE_SERVER="unix:$run/pulse/native" pactl info >/dev/null 2>&1 && return 0
  [ -e "$run/pulse.pid" ] && kill -0 "$(cat "$run/pulse.pid")" 2>/dev/null
}

check() {
  local what=$1
  shift
  if ! "$@" >"$run/out.log" 2>&1; then
    echo "FAILED: $what did not run:"; tail -20 "$run/out.log"; status=1; return
  fi
  if left_running; then
    echo "FAILED: $what left a PulseAudio server running"; status=1
    ZURED16_RUN_DIR=$run "$root/scripts/wine-env" stop >/dev/null 2>&1
  else
    echo "passed: $what left nothing running"
  fi
}

check "scripts/vxaplay ${vxaplay_options[*]}" "$root/scripts/vxaplay" "${vxaplay_options[@]}" --batch --for 300 "$root/examples/narrow.vxa"
check "headless make play" env -u DISPLAY PLAY_OUT="$run/out" PLAY_SECONDS=1 "$root/scripts/play" \
  "$root/examples/narrow.vxa"
exit $status
