# What the compositor suites share: a headless compositor of each kind (sway, Mutter, KWin,
# weston) on its own session bus with two outputs, keys and clicks sent the way each one takes
# them, and what a client was shown, read from its Wayland protocol log (Mutter and KWin let no
# outside program take a screenshot). Sourced after checks.sh; needs root, $work (a scratch
# folder sway's user can read, holding sway.conf) and $rig (the rig client).

started=()
stop_all() {
  local p
  for p in "${started[@]}"; do kill "$p" 2>/dev/null || :; done
  for p in "${started[@]}"; do wait "$p" 2>/dev/null || :; done
  started=()
}

# new_bus VARIABLE: a message bus of our own; its address in VARIABLE.
new_bus() {
  local b
  b=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null) &&
    export "$1=${b%%$'\n'*}" && started+=("${b##*$'\n'}")
}

# mock ARGS...: a python-dbusmock service standing in for a system or desktop one.
mock() { /usr/bin/python3 -m dbusmock "$@" >/dev/null 2>&1 & started+=($!); }

# desk_start NAME [SIZE...]: a fresh sway, mutter, kwin or weston as $desk, with one output of
# each size (1280x720 and 1024x768 unless given; KWin's virtual outputs share the first size, at
# scale $KWIN_SCALE; weston has one). sway reads $SWAY_CONF ($work/sway.conf); DESK_X11=1 lets
# Mutter and KWin run XWayland. Holds an input device where there is a way to make one.
desk_start() {
  stop_all
  desk=$1
  local sizes=(${@:2})
  [ ${#sizes[@]} -gt 0 ] || sizes=(1280x720 1024x768)
  export XDG_RUNTIME_DIR=$(mktemp -d "$work/run.XXXX") WAYLAND_DISPLAY=glintora-$1
  new_bus DBUS_SESSION_BUS_ADDRESS || return 1
  case $desk in
    sway)
      export WAYLAND_DISPLAY=wayland-1 SWAYSOCK=$XDG_RUNTIME_DIR/sway.sock
      chown 65534:65534 "$XDG_RUNTIME_DIR"
      WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 setpriv --reuid=65534 \
        --regid=65534 --clear-groups sway -c "${SWAY_CONF:-$work/sway.conf}" >>"$work/sway.log" 2>&1 & ;;
    mutter)
      mutter --headless --wayland $([ "${DESK_X11:-}" = 1 ] || echo --no-x11) \
        $(printf -- '--virtual-monitor %s ' "${sizes[@]}") --wayland-display "$WAYLAND_DISPLAY" \
        >>"$work/mutter.log" 2>&1 & ;;
    kwin)
      # A plain copy: the installed binary's file capability is refused in a container.
      [ -x "$work/kwin_wayland" ] || cp /usr/bin/kwin_wayland "$work/"
      KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 "$work/kwin_wayland" --virtual --width "${sizes%x*}" \
        --height "${sizes#*x}" --output-count ${#sizes[@]} --scale "${KWIN_SCALE:-1}" \
        $([ "${DESK_X11:-}" = 1 ] && echo --xwayland) --socket "$WAYLAND_DISPLAY" >>"$work/kwin.log" 2>&1 & ;;
    weston)
      weston --backend=headless-backend.so --use-pixman --width="${sizes%x*}" \
        --height="${sizes#*x}" --socket="$WAYLAND_DISPLAY" --debug >>"$work/weston.log" 2>&1 & ;;
  esac
  desk_pid=$!
  started+=($!)
  wait_for 60 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || return 1
  case $desk in
    sway)
      wait_for 30 test -S "$SWAYSOCK" &&
        wait_for 30 swaymsg -q output HEADLESS-1 mode "$sizes" position 0 0 || return 1
      local i x=${sizes%x*}
      for ((i = 1; i < ${#sizes[@]}; i++)); do
        swaymsg -q "create_output; output HEADLESS-$((i + 1)) mode ${sizes[i]} position $x 0"
        x=$((x + ${sizes[i]%x*}))
      done
      coproc INPUT { "$rig" input; } ;;
    kwin) coproc INPUT { "$rig" input; } ;;
    mutter) coproc INPUT { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/mutter_input.py"; } ;;
    *) return 0 ;;
  esac
  started+=($INPUT_PID)
  read -r -t 30 -u "${INPUT[0]}" _
}

# input LINE: "click" or "move DX DY" through sway's seat (felt while the rig holds a pointer
# device), or "key CODE" to the input device, once taken.
input() {
  case $1 in
    click) swaymsg -q 'seat - cursor press button1; seat - cursor release button1' ;;
    move) swaymsg -q -- seat - cursor move "$2" "$3" ;;
    *) echo "$*" >&"${INPUT[1]}" && read -r -t 30 -u "${INPUT[0]}" _ ;;
  esac
}
# key NAME: space or Escape, pressed and released: from wtype on sway, as an X keysym to
# Mutter, as an evdev code to KWin.
declare -A code=([mutter,space]=20 [mutter,Escape]=ff1b [kwin,space]=57 [kwin,Escape]=1)
key() { if [ "$desk" = sway ]; then wtype -s 300 -k "$1"; else input key "${code[$desk,$1]}"; fi; }

# run NAME ARGS...: starts a client in the background; its pid in $NAME, its output in $work/NAME,
# and the lines of its protocol log (and its own "glintora:" lines) that say what it was shown
# in $work/NAME.wl.
run() {
  local name=$1; shift
  : >"$work/$name.wl"
  WAYLAND_DEBUG=1 "$@" >"$work/$name" 2> >(grep --line-buffered -E \
    'get_toplevel|get_layer_surface|wl_keyboard@[0-9]+\.key\(|\.destroy\(|create_buffer|wl_callback@[0-9]+\.done|configure|set_fullscreen|\.release\(|preferred_scale|^glintora' \
    >"$work/$name.wl") &
  started+=($!)
  printf -v "$name" %s $!
}
gone() { ! kill -0 "$1" 2>/dev/null; }
# ended PID: waits for the client to end; its exit status.
ended() { wait_for 30 gone "$1" && wait "$1"; }
# ends STATUS PID NAME: a named check that the client ends with that exit status.
ends() { ended "$2"; expect "$3" "$1" $?; }

# shown NAME: "LIVE FRAMES SIZE..." from client NAME's protocol log: how many show surfaces
# (toplevels or layer surfaces) it holds, how many frames the compositor has sent back since the
# first of them appeared, and the sizes of the buffers made since then.
shown() {
  awk '/get_toplevel\(|get_layer_surface\(/ { if (!live++) { frames = 0; split("", sizes) } }
    /-> (xdg_toplevel|zwlr_layer_surface_v1)@[0-9]+\.destroy\(/ { live-- }
    /wl_callback@[0-9]+\.done\(/ { frames++ }
    /create_buffer\(/ { sub(/.*create_buffer\(new id wl_buffer@[0-9]+, [0-9]+, /, "")
      split($0, f, ", "); sizes[f[1] "x" f[2]] = 1 }
    END { printf "%d %d", live, frames; for (s in sizes) printf " %s", s; print "" }' "$work/$1.wl"
}
# idled NAME: milliseconds from the last key the client was sent to the show it made after it
# (both as the client saw them: a loaded machine delays each by up to a few hundred ms).
idled() {
  awk -F'[][]' '/wl_keyboard@[0-9]+\.key\(/ { key = $2 }
    key != "" && /get_toplevel\(|get_layer_surface\(/ { gap = $2 - key; key = "" }
    END { if (gap != "") printf "%.0f\n", gap < 0 ? gap + 4294967.296 : gap }' "$work/$1.wl"
}
# covers NAME COUNT SIZE...: the client holds COUNT show surfaces, has buffers of each SIZE
# and has been sent 10 frames: the compositor shows them.
covers() {
  local live frames sizes size
  read -r live frames sizes <<<"$(shown "$1")"
  [ "$live" = "$2" ] && [ "$frames" -ge 10 ] || return 1
  for size in "${@:3}"; do [[ " $sizes " == *" $size "* ]] || return 1; done
}
# shows NAME COUNT SIZE...: waits for covers, giving up early when the client has ended.
covers_or_gone() { covers "$@" || gone "${!1}"; }
shows() { wait_for 60 covers_or_gone "$@" && covers "$@"; }
bare() { [ "$(shown "$1" | cut -d' ' -f1)" = 0 ]; }
up() { ! bare "$1"; }
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
