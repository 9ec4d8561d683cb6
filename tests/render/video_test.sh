#!/usr/bin/env bash
# glintora-render --video, decoded by FFmpeg's own tools: the streams, size, rate and length asked
# for; with sound, the picture runs on to the end of the sound track (the same track as --wav) and
# the two streams end within one frame; a decoded frame matches the PNG of the same frame; the
# sound is heard.
#   video_test.sh build/release/tools/render/glintora-render
set -uo pipefail
source "$(dirname "$0")/../install/checks.sh"

render=$(realpath "$1")
[ -x "$render" ] || { echo "video_test: no renderer '$render'"; finish; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

probe() { ffprobe -v error -select_streams "$2" -show_entries "$3" -of csv=p=0 "$1" | paste -sd, -; }
codecs() { ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$1" | paste -sd, -; }
packets() { ffprobe -v error -select_streams "$2" -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$1"; }
# The end of a stream: its last packet's time plus duration, in milliseconds.
end_ms() {
  ffprobe -v error -select_streams "$2" -show_entries packet=pts_time,duration_time -of csv=p=0 "$1" |
    awk -F, '{ e = ($1 + $2) * 1000; if (e > m) m = e } END { printf "%d\n", m + 0.5 }'
}
# Sample frames of a WAV (44-byte header, 4 bytes a frame).
wav_frames() { echo $(( ($(stat -c %s "$1") - 44) / 4 )); }
# yes when two ends are less than one frame (ms) apart.
together() { local d=$(( $1 - $2 )); [ "${d#-}" -lt "$3" ] && echo yes || echo "no: $1 ms and $2 ms"; }
# PSNR in RGB of decoded frame N against a PNG carried through 4:2:0 (a one-pixel spark's colour
# is spread over its 2x2 block by 4:2:0 itself, whatever the encoder); the even part of an odd
# size is compared.
psnr() {
  ffmpeg -nostdin -v info -nostats -i "$1" -i "$2" -lavfi \
    "[0:v]trim=start_frame=$3:end_frame=$(($3 + 1)),setpts=PTS-STARTPTS,settb=AVTB,crop=$4:0:0,format=gbrp[a];[1:v]settb=AVTB,crop=$4:0:0,format=yuv420p,format=gbrp[b];[a][b]psnr" \
    -f null - 2>&1 | sed -nE 's/.*PSNR .* average:([0-9.]+|inf).*/\1/p'
}
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "inf" || a + 0 >= b) ? "yes" : "no: " a }'; }
# yes when the sound stream peaks above -30 dB.
heard() {
  ffmpeg -nostdin -v info -nostats -i "$1" -map 0:a -af volumedetect -f null - 2>&1 |
    sed -nE 's/.*max_volume: (-?[0-9.]+) dB/\1/p' | awk '{ print ($1 > -30) ? "yes" : "no: " $1 " dB" }'
}

# .webm with sound at the factory rate (40 ms, 25 fps): 2 seconds asked, 50 frames.
"$render" --width 320 --height 180 --seconds 2 --sound --seed 1 \
  --video "$out/a.webm" --wav "$out/a.wav" --png-dir "$out/a" 2>"$out/a.err"
wav=$(wav_frames "$out/a.wav")
# The picture runs on to the frame that holds the WAV's last sample: 1920 samples a frame.
webm_frames=$(( (wav + 1919) / 1920 ))
# .mp4 with sound at --fps 30, an odd size padded to even: 1.5 seconds asked, 45 frames.
"$render" --width 161 --height 101 --fps 30 --seconds 1.5 --sound --seed 1 \
  --video "$out/b.mp4" --wav "$out/b.wav" --png-dir "$out/b" 2>"$out/b.err"
mp4_frames=$(( ($(wav_frames "$out/b.wav") + 1599) / 1600 ))
# .webm without sound: one stream, exactly the frames asked.
"$render" --width 160 --height 100 --frames 30 --seed 1 --video "$out/c.webm" 2>"$out/c.err"

# A run in a folder holding an earlier keep.gif and keep.wav, with a file-size limit in KiB (and
# SIGXFSZ ignored, so a write past it fails as on a full disk): its exit status, then every file
# the folder holds afterwards, "=old" for those that kept their bytes.
run() {
  rm -rf "$out/f" && mkdir "$out/f" && echo old | tee "$out/f/keep.gif" >"$out/f/keep.wav"
  local limit=$1; shift
  (cd "$out/f" && trap '' XFSZ && ulimit -f "$limit" && "$render" --width 16 --height 16 --frames 2 "$@" >/dev/null 2>&1)
  local rc=$?
  echo "$rc" $(cd "$out/f" && for f in $(find . -type f | sort); do echo "${f#./}$(echo old | cmp -s - "$f" && echo =old)"; done)
}
printf '[Advanced]\r\nAdv_TimeDelay=2000000000\r\n' >"$out/slow.glx"

expect_table <<TABLE
webm: VP9 and Opus|vp9,opus|codecs $out/a.webm
webm: the size asked|320,180|probe $out/a.webm v:0 stream=width,height
webm: one frame per frame delay|25/1|probe $out/a.webm v:0 stream=r_frame_rate
webm: the sound rings out past the 2 s asked|yes|[ $wav -gt 96000 ] && echo yes
webm: frames to the sound track's end|$webm_frames|packets $out/a.webm v:0
webm: the streams end together|yes|together \$(end_ms $out/a.webm v:0) \$(end_ms $out/a.webm a:0) 40
webm: frame 25 matches its PNG (35 dB)|yes|at_least \$(psnr $out/a.webm $out/a/frame00025.png 25 320:180) 35
webm: the sound is heard|yes|heard $out/a.webm
mp4: H.264 and AAC|h264,aac|codecs $out/b.mp4
mp4: an odd size padded to even|162,102|probe $out/b.mp4 v:0 stream=width,height
mp4: the rate --fps asked|30/1|probe $out/b.mp4 v:0 stream=r_frame_rate
mp4: frames to the sound track's end|$mp4_frames|packets $out/b.mp4 v:0
mp4: at least the 45 frames asked|yes|[ $mp4_frames -ge 45 ] && echo yes
mp4: the streams end together|yes|together \$(end_ms $out/b.mp4 v:0) \$(end_ms $out/b.mp4 a:0) 33
mp4: frame 30 matches its PNG (35 dB)|yes|at_least \$(psnr $out/b.mp4 $out/b/frame00030.png 30 160:100) 35
mp4: the sound is heard|yes|heard $out/b.mp4
without sound: no sound stream|vp9|codecs $out/c.webm
without sound: the frames asked|30|packets $out/c.webm v:0
without sound: the length asked|1200|end_ms $out/c.webm v:0
nothing on stderr when it is no terminal|0|cat $out/a.err $out/b.err $out/c.err | wc -c
another container is refused|glintora-render: --video: the file name must end in .webm or .mp4|$render --frames 1 --video $out/d.avi 2>&1 >/dev/null
a refused video touches no other output|2 keep.gif=old keep.wav=old|run unlimited --gif keep.gif --wav keep.wav --video out.avi
a template's frame delay is held to the dialog's|glintora-render: --template: Adv_TimeDelay: 2000000000 is outside 0..999|$render --template $out/slow.glx --hash 2>&1 >/dev/null
a run replaces its outputs whole|0 keep.gif keep.wav|run unlimited --gif keep.gif --wav keep.wav
full disk: PNG frames|1 keep.gif=old keep.wav=old|run 0 --png-dir png
full disk: GIF|1 keep.gif=old keep.wav=old|run 0 --gif keep.gif
full disk: WAV|1 keep.gif=old keep.wav=old|run 0 --wav keep.wav --sound
full disk: video|1 keep.gif=old keep.wav=old|run 0 --video keep.webm
full output: the hash|1|$render --width 16 --height 16 --frames 1 --hash >/dev/full 2>/dev/null; echo \$?
TABLE
finish
