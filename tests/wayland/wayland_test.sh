#!/usr/bin/env bash
# glintora as a native Wayland client under a headless sway (run as nobody, each group of checks
# on a fresh compositor) and under weston, which offers windows only: the window, the screen
# saver on outputs of two sizes and scales, the wallpaper, the idle watcher, and the modes weston
# cannot carry. Keys come from wtype, pointer events from the rig client's virtual pointer; what
# is drawn is read from grim screenshots. Needs root.
#   wayland_test.sh GLINTORA RIG_CLIENT
set -uo pipefail
source "$(dirname "$0")/../install/checks.sh"

glintora=$(realpath "$1")
rig=$(realpath "$2")
[ "$(id -u)" -eq 0 ] || { echo "wayland_test: needs root (sway runs as nobody)" >&2; exit 2; }
work=$(mktemp -d)
chmod 755 "$work"
cat >"$work/sway.conf" <<'CONF'
xwayland disable
default_border none
default_floating_border none
for_window [app_id="glintora-rig"] floating enable
CONF
unset DISPLAY
export XDG_CONFIG_HOME="$work/config"  # no settings file: the defaults
started=()
stop_all() {
  local p
  for p in "${started[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${started[@]}"; do wait "$p" 2>/dev/null; done
  started=()
}
trap 'stop_all; rm -rf "$work"' EXIT

# start_sway: a fresh compositor with one 1280x720 output, HEADLESS-1.
start_sway() {
  stop_all
  export XDG_RUNTIME_DIR=$(mktemp -d "$work/run.XXXX") WAYLAND_DISPLAY=wayland-1
  export SWAYSOCK=$XDG_RUNTIME_DIR/sway.sock
  chown 65534:65534 "$XDG_RUNTIME_DIR"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    setpriv --reuid=65534 --regid=65534 --clear-groups sway -c "$work/sway.conf" \
    >>"$work/sway.log" 2>&1 &
  started+=($!)
  wait_for 60 test -S "$XDG_RUNTIME_DIR/wayland-1" -a -S "$SWAYSOCK" &&
    wait_for 30 swaymsg -q output HEADLESS-1 mode 1280x720 position 0 0
}

# run NAME ARGS...: starts a client in the background; its pid in $NAME, its output in $work/NAME.
run() {
  local name=$1; shift
  "$@" >"$work/$name" 2>&1 &
  started+=($!)
  printf -v "$name" %s $!
}
gone() { ! kill -0 "$1" 2>/dev/null; }
# ended PID: waits for the client to end; its exit status.
ended() { wait_for 30 gone "$1" && wait "$1"; }

# shot WHERE: a screenshot of an output (by name) or of a part of the layout ("X,Y WxH").
shot() {
  local where=(-o "$1")
  [[ "$1" == *,* ]] && where=(-g "$1")
  grim -t ppm "${where[@]}" "$work/shot.ppm" 2>/dev/null
}
# stats WHERE [X Y]: "WIDTH HEIGHT LIT HUES SINGLES [RRGGBB]" of a fresh screenshot.
stats() { shot "$1" && "$rig" stats "$work/shot.ppm" "${@:2}"; }
field() { cut -d' ' -f"$1" <<<"$2"; }
# A show lights hundreds of pixels (fireworks: of at least 4 hues); the cursor alone, under 100.
lit() {
  local s
  s=$(stats "$1") && [ "$(field 3 "$s")" -ge 300 ] && [ "$(field 4 "$s")" -ge "${2:-0}" ]
}
dark() { local s; s=$(stats "$1") && [ "$(field 3 "$s")" -lt 150 ]; }
# changed WHERE: a later screenshot differs from the present one.
changed() {
  local before
  before=$(shot "$1" && md5sum <"$work/shot.ppm") || return 1
  wait_for 30 eval '[ "$(shot "$1" && md5sum <"$work/shot.ppm")" != "$before" ]'
}
# geometry APP_ID: "X,Y WxH" of the window's surface in the layout.
geometry() {
  swaymsg -t get_tree | jq -r --arg id "$1" '.. | objects | select(.app_id? == $id)
    | "\(.rect.x),\(.rect.y) \(.rect.width)x\(.rect.height)"' | head -n1
}
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# The virtual pointer: "move DX DY" or "click", answered once the compositor has taken it.
start_pointer() {
  coproc POINTER { "$rig" pointer; }
  started+=($POINTER_PID)
  read -r -t 30 -u "${POINTER[0]}" _
}
pointer() { echo "$*" >&"${POINTER[1]}" && read -r -t 30 -u "${POINTER[0]}" _; }

# -- The window: fireworks of many hues, Esc ends it, a resize restarts the show at the new size.
start_sway
# Started as the desktop entry starts it.
entry="$(dirname "$0")/../../packaging/glintora.desktop.in"
run show "$glintora" $(sed -n 's/^Exec=@HACK@//p' "$entry")
expect_true "window: fireworks of many hues" \
  wait_for 60 eval 'g=$(geometry glintora) && [ -n "$g" ] && lit "$g" 4'
swaymsg -q '[app_id=glintora] floating enable, resize set 400 300, move position 0 0'
# Shrunk: nothing of the show beside it.
expect_true "window: drawn at 400x300" wait_for 30 eval \
  '[ "$(geometry glintora)" = "0,0 400x300" ] && lit "0,0 400x300" && dark "450,0 800x680"'
swaymsg -q '[app_id=glintora] resize set 1200 680, move position 0 0'
expect_true "window: the show restarted at 1200x680 reaches its new part" \
  wait_for 60 eval '[ "$(geometry glintora)" = "0,0 1200x680" ] && lit "450,0 750x680"'
wtype -s 300 -k Escape
ended "$show"
expect "window: Esc ends it, status 0" 0 $?

# -- The saver on a 1280x720 output and a 1024x768 one at scale 2.
start_sway
swaymsg -q create_output
swaymsg -q output HEADLESS-2 mode 1024x768 position 1280 0 scale 2
start_pointer
# The protocol log shows what the saver releases as it ends.
WAYLAND_DEBUG=1 run saver "$glintora" -saver
for output in HEADLESS-1 HEADLESS-2; do
  expect_true "saver: $output lit" wait_for 60 lit $output
done
# A buffer drawn at 512x384 and scaled up never shows single-pixel sparks (rocket trails alone
# have none either: hence the poll).
sharp() {
  local s
  s=$(stats HEADLESS-2) && [ "$(field 1-2 "$s")" = "1024 768" ] && [ "$(field 3 "$s")" -ge 300 ] &&
    [ "$(field 5 "$s")" -ge $(($(field 3 "$s") / 10)) ]
}
expect_true "saver: the scale-2 output at 1024x768 pixels" wait_for 60 sharp
wtype -s 300 -k space
ended "$saver"
expect "saver: a key ends it, status 0" 0 $?
expect "saver: releases both outputs and the seat" "2 1" \
  "$(grep -c 'wl_output@[0-9]*\.release()' "$work/saver") $(grep -c 'wl_seat@[0-9]*\.release()' "$work/saver")"
kill "$saver" 2>/dev/null

run saver "$glintora" -saver
wait_for 60 lit HEADLESS-1
pointer click
ended "$saver"
expect "saver: a click ends it, status 0" 0 $?
kill "$saver" 2>/dev/null

# The message, centred at the top above the show's sparks, in its hue: at 120 green is at its
# peak (255), red and blue at the floor (55). The pixel is in the first H's left stem at 24 points.
mkdir -p "$XDG_CONFIG_HOME/glintora"
printf '[Advanced]\nLockMessage=HHHH\nAdv_FontHueV=120\nAdv_FontSize=24\n' \
  >"$XDG_CONFIG_HOME/glintora/settings.ini"
run saver "$glintora" -saver
expect_true "saver: the message at the top, in its colour" \
  wait_for 60 eval '[ "$(field 6 "$(stats HEADLESS-1 606 10)")" = 37ff37 ]'
kill "$saver"
rm -r "$XDG_CONFIG_HOME/glintora"

run saver "$glintora" -saver
wait_for 60 lit HEADLESS-1
pointer move 40 0 && pointer move 40 0 && pointer move 40 0
# Moves reach the client before the frames drawn after them: two new frames, still running.
changed HEADLESS-1 && changed HEADLESS-1
expect_true "saver: the third move of a burst leaves it running" kill -0 "$saver"
pointer move 40 0
expect_true "saver: the fourth move ends it" wait_for 30 gone "$saver"

# -- The wallpaper: under windows, through input, on a new output, idle while covered.
start_sway
start_pointer
run wallpaper "$glintora" -wallpaper
run window "$rig" window
expect_true "wallpaper: lit" wait_for 60 lit HEADLESS-1
swaymsg -q '[app_id=glintora-rig] move position 600 300'
expect_true "wallpaper: a window stays above it" \
  wait_for 30 eval '[ "$(field 6 "$(stats HEADLESS-1 700 400)")" = 203040 ]'
pointer move -300 -200 && pointer click && wtype -s 300 -k space
expect_true "wallpaper: keeps drawing through input" \
  eval 'changed HEADLESS-1 && changed HEADLESS-1 && kill -0 "$wallpaper"'

run cover "$rig" window -fullscreen -frames
wait_for 30 grep -qx 1 "$work/cover"
frames() { tail -n1 "$work/cover"; }
# Still: no CPU spent while the compositor shows 300 frames (5 s) of the window over it; a show
# computed unseen costs a few ms a second, tens of ms over that span.
still() {
  local before=$(ticks "$wallpaper") until=$(($(frames) + 300))
  wait_for 60 eval '[ "$(frames)" -ge '"$until"' ]' && [ -n "$before" ] &&
    [ "$(ticks "$wallpaper")" = "$before" ]
}
expect_true "wallpaper: covered, it spends no CPU" wait_for 120 still
kill "$cover"
expect_true "wallpaper: uncovered, it draws again" \
  eval 'wait_for 30 lit HEADLESS-1 && changed HEADLESS-1 && kill -0 "$wallpaper"'

swaymsg -q create_output
start=$(date +%s.%N)
# covered: a pixel of the new output is no longer the bare desktop's grey; $seen: when it was
# asked. A 4x4 screenshot takes a few milliseconds where a whole output's takes a second.
covered() {
  local at s
  seen=$(date +%s.%N)
  at=$(swaymsg -t get_outputs | jq -r '.[] | select(.name == "HEADLESS-2")
    | "\(.rect.x + 20),\(.rect.y + 20) 4x4"')
  [ -n "$at" ] && s=$(stats "$at" 0 0) && [ -n "$(field 6 "$s")" ] &&
    [ "$(field 6 "$s")" != 3f3f3f ]
}
deadline=$((SECONDS + 30))
until covered; do [ "$SECONDS" -lt "$deadline" ] || { seen=never; break; }; done
expect "wallpaper: a new output covered within a second" yes "$(awk -v a="$start" -v b="$seen" \
  'BEGIN { print (b == "never" ? "never" : b - a <= 1 ? "yes" : "after " b - a " s") }')"
expect_true "wallpaper: the new output lit" wait_for 60 lit HEADLESS-2

# -- The idle watcher: the saver after 3 s without input, gone on a key, back after the next 3 s.
start_sway
run idle "$glintora" -idle 3
expect_true "idle: the saver appears" wait_for 60 lit HEADLESS-1
wtype -s 300 -k space
expect_true "idle: a key ends the saver" wait_for 30 dark HEADLESS-1
expect_true "idle: the watcher keeps running" kill -0 "$idle"
expect_true "idle: the saver comes back" wait_for 60 lit HEADLESS-1

start_sway
run inhibitor "$rig" window -inhibit
wait_for 30 grep -qx 1 "$work/inhibitor"
run idle "$glintora" -idle 3
expect_true "idle: an inhibitor keeps it from starting" eval '! wait_for 10 lit HEADLESS-1'
kill "$inhibitor"
expect_true "idle: the inhibitor gone, it starts" wait_for 60 lit HEADLESS-1
kill "${started[0]}"
ended "$idle"
expect "idle: the compositor gone, it ends with status 1" 1 $?

# -- Weston offers no layer shell, no idle protocol and no seat: windows only.
stop_all
export XDG_RUNTIME_DIR=$(mktemp -d "$work/run.XXXX") WAYLAND_DISPLAY=glintora-weston
weston --backend=headless-backend.so --use-pixman --width=1280 --height=800 \
  --socket="$WAYLAND_DISPLAY" --debug >"$work/weston.log" 2>&1 &
started+=($!)
wait_for 60 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
for mode in -wallpaper "-idle 3"; do
  message=$(timeout 60 "$glintora" $mode 2>&1 >/dev/null)
  expect "weston: $mode exits 2 saying in one line what works instead" "2 1 yes" \
    "$? $(grep -c . <<<"$message") $(grep -q -- -fullscreen <<<"$message" && echo yes)"
done
run show "$glintora"
weston_lit() {
  rm -f "$work"/wayland-screenshot-*.png
  (cd "$work" && weston-screenshooter >/dev/null 2>&1) &&
    convert "$work"/wayland-screenshot-*.png -depth 8 "$work/shot.ppm" &&
    [ "$(field 3 "$("$rig" stats "$work/shot.ppm")")" -ge 300 ]
}
expect_true "weston: the window draws" wait_for 60 weston_lit
kill "$show"
# Its screenshots lose our pixels (their unused byte reads as alpha 0): the protocol log tells.
WAYLAND_DEBUG=1 run saver "$glintora" -saver
expect_true "weston: -saver draws full screen without a layer shell" wait_for 60 eval \
  'grep -q "xdg_toplevel@[0-9]*\.configure(1280, 800" "$work/saver" && grep -q "attach(wl_buffer" "$work/saver"'

finish
