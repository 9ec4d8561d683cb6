#!/usr/bin/env bash
# Encoding cost of glintora-render --video: seconds per second of video, by size and container.
# Each size is rendered once with --hash alone (the show's drawing, no output) and once into each
# container; the difference is the encoding (colour conversion, encoder, muxing). Wall time and
# CPU time (user+sys) are both given: on a loaded machine the CPU time is the steadier figure.
# Without sound, so the video is exactly the seconds asked.
#
# Usage: bench/video_encode.sh [seconds]   SIZES ("1920x1080 3840x2160"), GLINTORA_RENDER
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-4}
render=${GLINTORA_RENDER:-build/release/tools/render/glintora-render}
sizes=(${SIZES:-1920x1080 3840x2160})
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "wall cpu" seconds of one run.
measure() {
  local TIMEFORMAT='%R %U %S'
  { time "$render" "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }'
}

printf '%-10s %-5s %12s %12s   (per second of video; %s s rendered, %s cores, load %s)\n' \
  size file wall cpu "$seconds" "$(nproc)" "$(cut -d' ' -f1 /proc/loadavg)"
for size in "${sizes[@]}"; do
  w=${size%x*}; h=${size#*x}
  read -r base_wall base_cpu < <(measure --width "$w" --height "$h" --seconds "$seconds" --hash)
  for ext in webm mp4; do
    read -r wall cpu < <(measure --width "$w" --height "$h" --seconds "$seconds" --video "$work/v.$ext")
    awk -v s="$size" -v e="$ext" -v w="$wall" -v c="$cpu" -v bw="$base_wall" -v bc="$base_cpu" -v n="$seconds" \
      'BEGIN { printf "%-10s %-5s %12.2f %12.2f\n", s, e, (w - bw) / n, (c - bc) / n }'
  done
done
