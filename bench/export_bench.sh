#!/usr/bin/env bash
# How fast `vxa export` turns the showcase (its first pass and three loops)
# into each format, in movie frames per second, from the optimized build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vxa="$root/build/bench/tools/vxa/vxa"
movie="$root/examples/showcase.vxa"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for format in gif png webm mp4; do
  start=$(date +%s.%N)
  "$vxa" export "$movie" -o "$out/showcase.$format" --sounds "$root/examples/sounds" 2>/dev/null
  end=$(date +%s.%N)
  frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 \
    "$out/showcase.gif")
  awk -v f="$format" -v n="$frames" -v s="$start" -v e="$end" -v b="$(stat -c %s "$out/showcase.$format")" \
    'BEGIN { printf "export showcase to %s: %.0f frames/s (%d frames in %.2f s, %d bytes)\n", f, n / (e - s), n, e - s, b }'
done
