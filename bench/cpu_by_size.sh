#!/usr/bin/env bash
# CPU per second of show by screen size, side by side in one run: `glintora -root`, the Windows
# saver (`GlintoraFireworks.scr /s` under Wine) and fireworkx (a peer screen saver, at its
# defaults), each alone on its own Xvfb screen (24-bit); and on Wayland, each alone on one output
# of its own headless sway (run as nobody, so this needs root): `glintora` in a window filling the
# output, `glintora -saver`, and `glintora -wallpaper` under a full-screen window, which should
# cost nothing; and at 1920x1080 on each of sway, KWin and Mutter, one output each: `glintora
# -saver` beside fireworkx in a 1920x1080 window through XWayland, with the compositor (and its
# XWayland) beside each. KWin and Mutter composite with llvmpipe, so what they upload and draw is
# CPU too. The compositors are started by the Wayland tests' helper. Default settings, each of our
# shows from the same seed, so every run draws the same bursts; after a
# warm-up, user+sys CPU of the program and of its display server is read from /proc over a
# steady stretch, and the program's resident memory (VmRSS: a shared image's pages included) at
# its end. Process CPU rather than wall time: the figures hold
# on a loaded machine.
#
# Usage: bench/cpu_by_size.sh [seconds]
#   GLINTORA_BIN (build/release/platform/x11/glintora), GLINTORA_SCR
#   (build-win/GlintoraFireworks.scr), GLINTORA_RIG (build/release/tests/wayland/
#   glintora_wayland_rig, the covering window), SIZES ("1920x1080 3840x2160 7680x2160"),
#   PROGRAMS ("x11 wine peer wl-window wl-saver wl-wallpaper desktops"): which rows to measure,
#   GLINTORA_SEED (1): the seed of our shows.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
bin=${GLINTORA_BIN:-build/release/platform/x11/glintora}
scr=${GLINTORA_SCR:-build-win/GlintoraFireworks.scr}
sizes=(${SIZES:-1920x1080 3840x2160 7680x2160})
rig=${GLINTORA_RIG:-build/release/tests/wayland/glintora_wayland_rig}
programs=(${PROGRAMS:-x11 wine peer wl-window wl-saver wl-wallpaper desktops})
seed=(-seed "${GLINTORA_SEED:-1}")
peer=/usr/libexec/xscreensaver/fireworkx

if [ ! -x "$peer" ] && [[ " ${programs[*]} " == *" peer "* ]]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo -n"
  $sudo apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends \
    xscreensaver-data-extra >/dev/null 2>&1 || echo "cpu_by_size: cannot install xscreensaver-data-extra" >&2
fi

work=$(mktemp -d)
chmod 755 "$work"  # sway, run as nobody, reads its configuration here
printf 'xwayland disable\ndefault_border none\n' >"$work/sway.conf"
printf 'xwayland force\ndefault_border none\n' >"$work/sway-x.conf"
source tests/install/checks.sh
source tests/wayland/desktops.sh
server="" client="" prefix="" cover=""
stop_run() {
  if [ -n "$cover" ]; then kill "$cover" 2>/dev/null || true; wait "$cover" 2>/dev/null || true; fi
  if [ -n "$client" ]; then kill "$client" 2>/dev/null || true; wait "$client" 2>/dev/null || true; fi
  if [ -n "$prefix" ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  stop_all
  client="" server="" cover=""
}
cleanup() { stop_run; rm -rf "$work"; }
trap cleanup EXIT

hz=$(getconf CLK_TCK)
resident_mb() { awk '/^VmRSS:/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }
now() { date +%s.%N; }

# start_server WxH: an Xvfb of our own, so its pid is known; it writes its display to a pipe.
start_server() {
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  server=$!
  local number
  read -r -t 30 -u "$fd" number
  exec {fd}<&-
  unset WAYLAND_DISPLAY
  export DISPLAY=":$number"
}

# start_sway WxH: a headless sway of our own with one output of that size; false without root.
start_sway() {
  [ "$(id -u)" -eq 0 ] && desk_start sway "$1" || return 1
  server=$desk_pid
  unset DISPLAY
}

# wait_for_pid PATTERN SECONDS: the pid of the process of our Wine prefix whose command line holds
# PATTERN (the program Wine started), once it exists.
wait_for_pid() {
  local deadline=$(( $(date +%s) + $2 )) p
  while [ "$(date +%s)" -lt "$deadline" ]; do
    for p in /proc/[0-9]*; do
      { tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null | grep -qi -- "$1" || continue
      { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" || continue
      echo "${p#/proc/}"
      return 0
    done
    sleep 0.5
  done
  return 1
}

# measure KIND SIZE: prints "client-ms-per-s server-ms-per-s resident-MB", or "- - -".
measure() {
  local kind=$1 size=$2 pid warm
  export XDG_CONFIG_HOME="$work/config-$kind-$size"  # no settings file: the defaults
  case "$kind" in
    wl-*)
      [ -x "$bin" ] && [ -x "$rig" ] && start_sway "$size" || { echo "- - -"; stop_run; return; } ;;
    *) start_server "$size" ;;
  esac
  case "$kind" in
    x11)
      [ -x "$bin" ] || { echo "- - -"; stop_run; return; }
      "$bin" -root "${seed[@]}" >/dev/null 2>&1 &
      client=$! pid=$client warm=3 ;;
    wl-window)
      "$bin" "${seed[@]}" >/dev/null 2>&1 &
      client=$! pid=$client warm=3 ;;
    wl-saver)
      "$bin" -saver "${seed[@]}" >/dev/null 2>&1 &
      client=$! pid=$client warm=3 ;;
    wl-wallpaper)
      "$bin" -wallpaper "${seed[@]}" >/dev/null 2>&1 &
      client=$! pid=$client warm=3
      "$rig" window -fullscreen >/dev/null 2>&1 &
      cover=$! ;;
    peer)
      [ -x "$peer" ] || { echo "- - -"; stop_run; return; }
      "$peer" -root >/dev/null 2>&1 &
      client=$! pid=$client warm=3 ;;
    wine)
      [ -f "$scr" ] || { echo "- - -"; stop_run; return; }
      wine "$scr" /s >/dev/null 2>&1 &
      client=$!
      # The splash shows for three seconds before the show starts.
      pid=$(wait_for_pid GlintoraFireworks 120) || { echo "- - -"; stop_run; return; }
      warm=8 ;;
  esac
  sleep "$warm"
  local a_c a_s t0 b_c b_s t1 rss
  a_c=$(ticks "$pid"); a_s=$(ticks "$server"); t0=$(now)
  sleep "$seconds"
  b_c=$(ticks "$pid"); b_s=$(ticks "$server"); t1=$(now); rss=$(resident_mb "$pid")
  awk -v ac="$a_c" -v bc="$b_c" -v as="$a_s" -v bs="$b_s" -v t0="$t0" -v t1="$t1" -v hz="$hz" \
      -v rss="$rss" 'BEGIN { w = t1 - t0; printf "%.1f %.1f %s\n", (bc-ac)/hz/w*1000, (bs-as)/hz/w*1000, rss }'
  stop_run
}

if [[ " ${programs[*]} " == *" wine "* ]]; then
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  prefix="$work/wine"
  mkdir -p "$prefix"
  export WINEPREFIX="$prefix"
  start_server 1024x768
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  stop_run
fi

declare -A result
rows=()
for kind in "${programs[@]}"; do [ "$kind" = desktops ] || rows+=("$kind"); done
for kind in "${rows[@]}"; do
  for size in "${sizes[@]}"; do
    result[$kind,$size]=$(measure "$kind" "$size")
    echo "cpu_by_size: $kind $size: ${result[$kind,$size]}" >&2
  done
done

label() {
  case "$1" in
    x11) echo "glintora -root" ;;
    wine) echo "GlintoraFireworks.scr /s (Wine)" ;;
    peer) echo "fireworkx -root" ;;
    wl-window) echo "Wayland: glintora (window)" ;;
    wl-saver) echo "Wayland: glintora -saver" ;;
    wl-wallpaper) echo "Wayland: -wallpaper, covered" ;;
  esac
}
field() { local v=(${result[$1,$2]}); echo "${v[$(( $3 - 1 ))]}"; }

if [ ${#rows[@]} -gt 0 ]; then
echo "CPU ms per second of show, default settings, ${seconds} s after a warm-up (client + display server)"
printf "| %-34s |" "program"
for size in "${sizes[@]}"; do printf " %-26s |" "$size"; done
echo
printf "|%s|" "------------------------------------"
for size in "${sizes[@]}"; do printf "%s|" "----------------------------"; done
echo
for kind in "${rows[@]}"; do
  printf "| %-34s |" "$(label "$kind")"
  for size in "${sizes[@]}"; do
    c=$(field "$kind" "$size" 1); s=$(field "$kind" "$size" 2); m=$(field "$kind" "$size" 3)
    if [ "$c" = "-" ]; then printf " %-26s |" "-"; continue; fi
    if [ "$kind" = wine ]; then
      cell=$(awk -v c="$c" -v s="$s" 'BEGIN { printf "%.1f+%.1f=%.1f", c, s, c + s }')
    elif [[ "$kind" == wl-* ]]; then
      cell="$c (+$s sway)"
    else
      cell="$c (+$s X)"
    fi
    printf " %-26s |" "$cell, ${m} MB"
  done
  echo
done
# Ratios the targets are stated in: each size against 1920x1080, and the peer against us (each
# program with its display server: what the machine spends on the show).
first=${sizes[0]}
for kind in x11 wine wl-window wl-saver; do
  [[ " ${programs[*]} " == *" $kind "* ]] || continue
  base=$(field "$kind" "$first" 1); base_s=$(field "$kind" "$first" 2)
  [ "$base" = "-" ] && continue
  printf "%s, against %s:" "$(label "$kind")" "$first"
  for size in "${sizes[@]}"; do
    c=$(field "$kind" "$size" 1); s=$(field "$kind" "$size" 2)
    [ "$c" = "-" ] && continue
    if [ "$kind" = wine ]; then
      awk -v c="$c" -v s="$s" -v b="$base" -v bs="$base_s" -v n="$size" 'BEGIN { printf " %s %.2fx", n, (c+s)/(b+bs) }'
    else
      awk -v c="$c" -v b="$base" -v n="$size" 'BEGIN { printf " %s %.2fx", n, c/b }'
    fi
  done
  echo
done
if [[ " ${programs[*]} " == *" peer "* && " ${programs[*]} " == *" x11 "* ]]; then
  printf "fireworkx / glintora -root (client + X server CPU):"
  for size in "${sizes[@]}"; do
    c=$(field x11 "$size" 1); s=$(field x11 "$size" 2); p=$(field peer "$size" 1); ps=$(field peer "$size" 2)
    [ "$c" = "-" ] || [ "$p" = "-" ] && continue
    awk -v c="$c" -v s="$s" -v p="$p" -v ps="$ps" -v n="$size" \
      'BEGIN { if (c + s > 0) printf " %s %.0fx", n, (p + ps) / (c + s); else printf " %s -", n }'
  done
  echo
fi
fi

# -- The desktops. xwayland PID: the pid of the XWayland of the compositor PID started last
# (found by its runtime folder), with its display and authority file in DISPLAY and XAUTHORITY.
# fireworkx in a window of the output's size is what a user of that desktop would run.
xwayland() {
  local p args
  for p in /proc/[0-9]*; do
    [ "$(cat "$p/comm" 2>/dev/null)" = Xwayland ] || continue
    { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qx "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" || continue
    args=$(tr '\0' ' ' <"$p/cmdline")
    export DISPLAY=$(grep -oE ' :[0-9]+' <<<"$args" | tr -d ' ')
    export XAUTHORITY=$(grep -oE -- '-auth [^ ]+' <<<"$args" | cut -d' ' -f2)
    [ -n "$XAUTHORITY" ] || unset XAUTHORITY
    echo "${p#/proc/}"
    return 0
  done
  return 1
}
# sample PID SERVER...: "client-ms-per-s server-ms-per-s" over $seconds after a warm-up, the
# servers' CPU summed.
sample() {
  local pid=$1 a b t0 t1 p
  sleep 3
  kill -0 "$pid" 2>/dev/null || { echo "- -"; return; }
  a=$(ticks "$pid"); b=0; for p in "${@:2}"; do b=$((b + $(ticks "$p"))); done; t0=$(now)
  sleep "$seconds"
  kill -0 "$pid" 2>/dev/null || { echo "- -"; return; }
  a=$(($(ticks "$pid") - a)); for p in "${@:2}"; do b=$((b - $(ticks "$p"))); done; t1=$(now)
  awk -v a="$a" -v b="$b" -v t0="$t0" -v t1="$t1" -v hz="$hz" \
    'BEGIN { w = t1 - t0; printf "%.1f %.1f\n", a/hz/w*1000, -b/hz/w*1000 }'
}
if [[ " ${programs[*]} " == *" desktops "* ]] && [ "$(id -u)" -eq 0 ] && [ -x "$bin" ]; then
  echo
  echo "-saver and fireworkx (XWayland) at 1920x1080, CPU ms per second: program + compositor"
  echo "| compositor | glintora -saver | fireworkx, XWayland | fireworkx / glintora |"
  echo "|---|---|---|---|"
  for d in sway kwin mutter; do
    export XDG_CONFIG_HOME="$work/config-$d"
    SWAY_CONF=$work/sway.conf desk_start "$d" 1920x1080 || { echo "| $d | cannot start | | |"; continue; }
    "$bin" -saver "${seed[@]}" >/dev/null 2>&1 &
    started+=($!)
    ours=$(sample $! "$desk_pid")
    SWAY_CONF=$work/sway-x.conf DESK_X11=1 desk_start "$d" 1920x1080
    peer_cpu="- -"
    if [ -x "$peer" ] && wait_for 30 xwayland >/dev/null; then
      x=$(xwayland)
      # sway's XWayland runs as sway's user and lets in that user alone.
      as=()
      [ "$d" != sway ] || as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
      "${as[@]}" "$peer" -geometry 1920x1080 >/dev/null 2>&1 &
      started+=($!)
      peer_cpu=$(sample $! "$desk_pid" "$x")
    fi
    stop_all
    read -r oc os <<<"$ours"; read -r pc ps <<<"$peer_cpu"
    ratio=$(awk -v oc="$oc" -v os="$os" -v pc="$pc" -v ps="$ps" 'BEGIN {
      if (oc == "-" || pc == "-" || oc + os <= 0) print "-"; else printf "%.1fx", (pc + ps) / (oc + os) }')
    echo "| $d | $oc + $os | $pc + $ps | $ratio |"
  done
fi
