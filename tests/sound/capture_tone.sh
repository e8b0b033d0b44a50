#!/usr/bin/env bash
# Listens to the null sink's monitor while the first sound test plays its
# 1 kHz tone, then checks that the tone reached the output.
#   capture_tone.sh <python> <wine-run [--i686]> <test program>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
python=$1
shift
# The rest runs the test program: the build's wine-run and the program.
run_program=("$@")

environment=$("$root/scripts/wine-env" start)
eval "$environment"
work=$(mktemp -d)
recorder=""
cleanup() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A low latency: otherwise the null sink renders (and its monitor delivers)
# in blocks of up to two seconds, and a short tone is still in the sink when
# the recorder stops.
parec --latency-msec=20 -d zured16_out.monitor --file-format=wav --format=s16le --rate=44100 --channels=1 "$work/capture.wav" &
recorder=$!
# The recorder can take a while to connect: play only once samples arrive.
for _ in $(seq 100); do
  [ "$(stat -c %s "$work/capture.wav" 2>/dev/null || echo 0)" -gt 8192 ] && break
  sleep 0.05
done
"${run_program[@]}" --gtest_color=no --gtest_filter='SoundPlay.FirstCueOfTheProcessPlaysToItsEndAndClosesItself'
sleep 1
kill -INT "$recorder"
wait "$recorder" || true
recorder=""
"$python" "$here/tone_check.py" "$work/capture.wav" 1000
