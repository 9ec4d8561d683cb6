#!/usr/bin/env bash
# Draws the program icon: a firework burst over a night sky, as rays of coloured sparks from one
# centre, rendered at 256 px and scaled down to the sizes Windows asks for (16, 32, 48, 256).
# Run from anywhere; writes resources/glintora.ico and the PNGs of the Linux icon theme.
# Needs ImageMagick's convert.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

size=256
c=128
draw=()
colours=("#ffd040" "#ff5030" "#40c0ff" "#ff60d0" "#80ff60" "#ffffff")
rays=16
for ((i = 0; i < rays; i++)); do
  colour=${colours[$((i % ${#colours[@]}))]}
  # Alternate long and short rays; each ray is a line with a bright spark at its tip.
  len=$(( i % 2 == 0 ? 104 : 78 ))
  read -r x1 y1 x2 y2 tx ty < <(awk -v a="$i" -v n="$rays" -v c="$c" -v l="$len" 'BEGIN {
    t = 2 * 3.14159265 * a / n + 0.2
    printf "%d %d %d %d %d %d\n", c + 22 * cos(t), c + 22 * sin(t), c + (l - 10) * cos(t),
      c + (l - 10) * sin(t), c + l * cos(t), c + l * sin(t) }')
  draw+=(-stroke "$colour" -strokewidth 9 -draw "line $x1,$y1 $x2,$y2")
  draw+=(-stroke none -fill "$colour" -draw "circle $tx,$ty $((tx + 11)),$ty")
done

convert -size ${size}x${size} "radial-gradient:#1a2050-#02030a" \
  "${draw[@]}" \
  -stroke none -fill "#fff8d0" -draw "circle $c,$c $((c + 18)),$c" \
  -fill none -stroke "#20284a" -strokewidth 6 -draw "roundrectangle 3,3 252,252 28,28" \
  -depth 8 "$work/icon256.png"

for s in 16 32 48; do
  convert "$work/icon256.png" -resize ${s}x${s} -unsharp 0x0.75 "$work/icon$s.png"
done
convert -depth 8 "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$work/icon256.png" glintora.ico
# The same pictures for the hicolor icon theme of the Debian package.
convert "$work/icon48.png" -strip glintora-48.png
convert "$work/icon256.png" -strip glintora-256.png
echo "wrote resources/glintora.ico, glintora-48.png and glintora-256.png"
