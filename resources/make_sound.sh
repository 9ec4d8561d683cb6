#!/bin/sh
# Makes Glinto10.wav, the preview's start sound: a soft rising whoosh and a muffled pop, 0.8 s,
# 22050 Hz mono 16-bit. Needs sox.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -n -r 22050 -c 1 -b 16 "$work/whoosh.wav" synth 0.55 pinknoise \
  band -n 1200 900 fade q 0.35 0.55 0.15 gain -14
sox -n -r 22050 -c 1 -b 16 "$work/pop.wav" synth 0.25 brownnoise lowpass 900 \
  fade p 0.005 0.25 0.22 gain -4
sox "$work/whoosh.wav" "$work/pop.wav" "$here/Glinto10.wav" splice -q 0.55,0.02
