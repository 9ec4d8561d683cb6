#!/usr/bin/env bash
# glintora as a native Wayland client under headless compositors. sway (run as nobody), Mutter and
# KWin run the same cases from one table: the saver on two outputs, the idle watcher, the
# wallpaper. sway then carries the rest: the window, the saver's input rules and message, the
# wallpaper under windows, on a new output, paused when covered or on battery, an idle inhibitor,
# and another idle watcher still blanking the screens; Mutter the full screen and the session's
# inhibit; weston offers windows only. What was shown is read from the client's protocol log
# everywhere and from grim screenshots on sway. Needs root.
#   wayland_test.sh GLINTORA RIG_CLIENT
set -uo pipefail
here=$(dirname "$0")
source "$here/../install/checks.sh"
source "$here/desktops.sh"

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
trap 'stop_all; rm -rf "$work"' EXIT

# shot WHERE: a sway screenshot of an output (by name) or of a part of the layout ("X,Y WxH").
shot() {
  local where=(-o "$1")
  [[ "$1" == *,* ]] && where=(-g "$1")
  grim -t ppm "${where[@]}" "$work/shot.ppm" 2>/dev/null
}
# stats WHERE [X Y]: WIDTH HEIGHT LIT HUES SINGLES [PIXEL (RRGGBB)] of a fresh screenshot.
stats() { shot "$1" && read -r WIDTH HEIGHT LIT HUES SINGLES PIXEL < <("$rig" stats "$work/shot.ppm" "${@:2}"); }
# A show lights hundreds of pixels (fireworks: of at least 4 hues); the cursor alone, under 100.
lit() { stats "$1" && [ "$LIT" -ge 300 ] && [ "$HUES" -ge "${2:-0}" ]; }
dark() { stats "$1" && [ "$LIT" -lt 150 ]; }
# pixel WHERE X Y: the colour of a pixel of a fresh screenshot.
pixel() { stats "$@" && echo "$PIXEL"; }
# changed WHERE: a later screenshot differs from the present one.
digest() { shot "$1" && md5sum <"$work/shot.ppm"; }
changed() { local before; before=$(digest "$1") && wait_for 30 eval '[ "$(digest "$1")" != "$before" ]'; }
# geometry APP_ID: "X,Y WxH" of the window's surface in the layout.
geometry() {
  swaymsg -t get_tree | jq -r --arg id "$1" '.. | objects | select(.app_id? == $id)
    | "\(.rect.x),\(.rect.y) \(.rect.width)x\(.rect.height)"' | head -n1
}
# refuses MODE...: exits 2 saying in one line what works instead.
refuses() {
  local message
  message=$(timeout 60 "$glintora" "$@" 2>&1 >/dev/null)
  expect "$desk: $* exits 2 saying in one line what works instead" "2 1 yes" \
    "$? $(grep -c . <<<"$message") $(grep -q -- -fullscreen <<<"$message" && echo yes)"
}
# spends_nothing PID: no CPU time over three seconds.
spends_nothing() { local t=$(ticks "$1"); sleep 3; [ "$(ticks "$1")" = "$t" ]; }

# -- The same cases on each desktop: the saver on both outputs, at the sizes of their buffers
# (KWin's at scale 1.25: 1600x900 for 1280x720), ended by a key; the idle watcher's saver, ended
# by a key, back two idle seconds later; the wallpaper until SIGTERM, or refused.
desktop_cases() {
  local sizes=($1)
  run saver "$glintora" -saver
  expect_true "$desk: -saver covers both outputs" shows saver 2
  expect_true "$desk: -saver draws at ${sizes[*]}" covers saver 2 "${sizes[@]}"
  [ "$desk" != sway ] || expect_true "sway: -saver lights both outputs" \
    wait_for 60 eval 'lit HEADLESS-1 && lit HEADLESS-2'
  key space
  ends 0 "$saver" "$desk: -saver: a key ends it, status 0"
  expect "$desk: -saver releases both outputs and the seat" "2 1" "$(grep -c 'wl_output@[0-9]*\.release(' \
    "$work/saver.wl") $(grep -c 'wl_seat@[0-9]*\.release(' "$work/saver.wl")"

  run idle "$glintora" -idle 2
  expect_true "$desk: -idle 2: the saver appears" shows idle 2
  key space
  expect_true "$desk: -idle 2: a key ends the saver, not the watcher" \
    eval 'wait_for 30 bare idle && kill -0 "$idle"'
  expect_true "$desk: -idle 2: the saver comes back, after two idle seconds" \
    eval 'shows idle 2 && [ "$(idled idle)" -ge 1500 ]'
  kill "$idle"

  if [ "$2" = draws ]; then
    run wallpaper "$glintora" -wallpaper
    expect_true "$desk: -wallpaper covers both outputs" shows wallpaper 2
    kill "$wallpaper"
    ends 0 "$wallpaper" "$desk: -wallpaper: SIGTERM ends it, status 0"
  else
    refuses -wallpaper
  fi
}

# -- sway: the table, then the saver's scale, input rules and message, an inhibitor, blanking.
desk_start sway
desktop_cases "1280x720 1024x768" draws
swaymsg -q output HEADLESS-2 scale 2
run saver "$glintora" -saver
# A buffer drawn at 512x384 and scaled up never shows single-pixel sparks (rocket trails alone
# have none either: hence the poll).
sharp() { stats HEADLESS-2 && [ "$WIDTH $HEIGHT" = "1024 768" ] && [ "$LIT" -ge 300 ] && [ "$SINGLES" -ge $((LIT / 10)) ]; }
expect_true "saver: the scale-2 output at 1024x768 pixels" wait_for 60 sharp
# Another idle watcher (one that blanks the screens) still counts the time under the saver.
run blanker swayidle -w timeout 4 "touch $work/blanked"
expect_true "saver: another idle watcher still fires under it" wait_for 30 test -e "$work/blanked"
input click
ends 0 "$saver" "saver: a click ends it, status 0"
kill "$blanker"

# The message, centred at the top above the show's sparks, in its hue: at 120 green is at its
# peak (255), red and blue at the floor (55). The pixel is in the first H's left stem at 24 points.
mkdir -p "$XDG_CONFIG_HOME/glintora"
printf '[Advanced]\nLockMessage=HHHH\nAdv_FontHueV=120\nAdv_FontSize=24\n' \
  >"$XDG_CONFIG_HOME/glintora/settings.ini"
run saver "$glintora" -saver
expect_true "saver: the message at the top, in its colour" \
  wait_for 60 eval '[ "$(pixel HEADLESS-1 606 10)" = 37ff37 ]'
rm -r "$XDG_CONFIG_HOME/glintora"
input move 40 0 && input move 40 0 && input move 40 0
# Moves reach the client before the frames drawn after them: two new frames, still running.
changed HEADLESS-1 && changed HEADLESS-1
expect_true "saver: the third move of a burst leaves it running" kill -0 "$saver"
input move 40 0
expect_true "saver: the fourth move ends it" wait_for 30 gone "$saver"

run inhibitor "$rig" window
wait_for 30 grep -sqx 1 "$work/inhibitor" && swaymsg -q '[app_id=glintora-rig] inhibit_idle open'
run idle "$glintora" -idle 2
expect_true "idle: an inhibitor keeps it from starting" eval '! wait_for 8 up idle'
kill "$inhibitor"
expect_true "idle: the inhibitor gone, it starts" shows idle 2
kill "$desk_pid"
ends 1 "$idle" "idle: the compositor gone, it ends with status 1"

# -- sway with one output. The window: fireworks of many hues, Esc ends it, a resize restarts
# the show at the new size.
desk_start sway 1280x720
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
key Escape
ends 0 "$show" "window: Esc ends it, status 0"

# -- The wallpaper (on the same sway): under windows, through input, idle while covered or on
# battery, on a new output. UPower on a system bus of our own says when the machine runs on
# battery.
new_bus DBUS_SYSTEM_BUS_ADDRESS
mock --system --template upower
on_battery() {
  gdbus call --system -d org.freedesktop.UPower -o /org/freedesktop/UPower -m \
    org.freedesktop.DBus.Properties.Set org.freedesktop.UPower OnBattery "<$1>" >/dev/null 2>&1
}
wait_for 30 on_battery false
run wallpaper "$glintora" -wallpaper
run window "$rig" window
expect_true "wallpaper: lit" wait_for 60 lit HEADLESS-1
swaymsg -q '[app_id=glintora-rig] move position 600 300'
expect_true "wallpaper: a window stays above it" \
  wait_for 30 eval '[ "$(pixel HEADLESS-1 700 400)" = 203040 ]'
input move -300 -200 && input click && wtype -s 300 -k space
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

on_battery true
expect_true "wallpaper: on battery it pauses" wait_for 30 spends_nothing "$wallpaper"
on_battery false
expect_true "wallpaper: back on mains it draws again" \
  eval 'changed HEADLESS-1 && ! spends_nothing "$wallpaper"'
unset DBUS_SYSTEM_BUS_ADDRESS

swaymsg -q create_output
start=$(date +%s.%N) seen=never
# covered: a pixel of the new output is no longer the bare desktop's grey; $seen: when that was
# asked. A 4x4 screenshot takes a few milliseconds where a whole output's takes a second.
covered() {
  local at asked=$(date +%s.%N)
  at=$(swaymsg -t get_outputs | jq -r '.[] | select(.name == "HEADLESS-2") | "\(.rect.x + 20),\(.rect.y + 20) 4x4"')
  [ -n "$at" ] && ! [[ "$(pixel "$at" 0 0)" =~ ^(3f3f3f)?$ ]] && seen=$asked
}
deadline=$((SECONDS + 30))
until covered || [ "$SECONDS" -ge "$deadline" ]; do :; done
expect "wallpaper: a new output covered within a second" yes "$(awk -v a="$start" -v b="$seen" \
  'BEGIN { print (b == "never" ? "never" : b - a <= 1 ? "yes" : "after " b - a " s") }')"
expect_true "wallpaper: the new output lit" wait_for 60 lit HEADLESS-2

# -- KWin at scale 1.25, and Mutter: the table; on Mutter the full screen and the session's
# inhibit too.
KWIN_SCALE=1.25 desk_start kwin
desktop_cases 1600x900 draws

desk_start mutter
desktop_cases "1280x720 1024x768" refused
run show "$glintora" -fullscreen
expect_true "mutter: -fullscreen draws" shows show 1
key Escape
ends 0 "$show" "mutter: -fullscreen: a key ends it, status 0"
# The session manager says idling is inhibited (flag 8) as long as a video plays.
mock org.gnome.SessionManager /org/gnome/SessionManager org.gnome.SessionManager
wait_for 30 gdbus call --session -d org.gnome.SessionManager -o /org/gnome/SessionManager \
  -m org.freedesktop.DBus.Mock.AddMethod '' IsInhibited u b 'ret = (args[0] & 8) != 0' >/dev/null 2>&1
run idle "$glintora" -idle 2
expect_true "mutter: -idle 2: an idle inhibit keeps the saver from starting" \
  eval '! wait_for 8 up idle && kill -0 "$idle"'

# -- Weston offers no layer shell, no idle protocol and no seat: windows only, the saver full
# screen.
desk_start weston 1280x800
for mode in -wallpaper "-idle 3"; do refuses $mode; done
run saver "$glintora" -saver
expect_true "weston: -saver draws full screen without a layer shell" shows saver 1 1280x800
kill "$saver"
run show "$glintora"
expect_true "weston: the window draws" shows show 1

finish
