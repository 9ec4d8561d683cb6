#!/bin/sh
# Makes the splash (420 x 225), logo (342 x 230) and setup program's side (164 x 314) pictures
# from the show itself: a few frames of a theme laid over one another, then the title. Needs glintora-render and ImageMagick.
# usage: resources/make_pictures.sh path/to/glintora-render
set -eu
render=${1:?path to glintora-render}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
serif=DejaVu-Serif-Bold
sans=DejaVu-Sans

picture() {  # name width height theme seed first-frame-glob
  mkdir -p "$work/$1"
  "$render" --width "$2" --height "$3" --theme "$4" --seed "$5" --frames 260 --png-dir "$work/$1" >/dev/null
  convert "$work/$1"/frame002[3-5]*.png -evaluate-sequence max "$work/$1.png"
}

picture splash 420 225 1 7
convert "$work/splash.png" \
  \( -size 420x70 gradient:'rgba(0,0,0,0)-rgba(0,0,0,0.85)' \) -gravity south -composite \
  -font $serif -pointsize 30 -fill '#ffd76a' -stroke '#7a3c00' -strokewidth 1 \
  -annotate +0+26 'Glintora Fireworks' \
  -font $sans -pointsize 12 -fill '#d0d0d0' -stroke none -annotate +0+8 'Screen Saver 1.0' \
  -type TrueColor -alpha off "BMP3:$here/splash.bmp"

picture logo 342 230 13 7
convert "$work/logo.png" \
  \( -size 342x80 gradient:'rgba(0,0,0,0)-rgba(0,0,0,0.85)' \) -gravity south -composite \
  -font $serif -pointsize 26 -fill '#ffd76a' -stroke '#7a3c00' -strokewidth 1 \
  -annotate +0+30 'Glintora Fireworks' \
  -font $sans -pointsize 12 -fill '#d0d0d0' -stroke none -annotate +0+10 'Version 1.0' \
  -type TrueColor -alpha off "BMP3:$here/logo.bmp"

picture setup 164 314 6 7
convert "$work/setup.png" \
  \( -size 164x90 gradient:'rgba(0,0,0,0)-rgba(0,0,0,0.85)' \) -gravity south -composite \
  -font $serif -pointsize 20 -fill '#ffd76a' -stroke '#7a3c00' -strokewidth 1 \
  -annotate +0+36 'Glintora' -annotate +0+12 'Fireworks' \
  -type TrueColor -alpha off "BMP3:$here/setup.bmp"
