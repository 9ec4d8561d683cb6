#!/usr/bin/env bash
# CPU time per second of show for the X11 program at the default settings on a 1920x1080 screen
# under Xvfb: user+sys of glintora (and of the X server, which receives the pixels) over a
# steady stretch, after a warm-up. Usage: bench/x11_cpu.sh [seconds] [extra glintora options...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
shift || true
bin=${GLINTORA_BIN:-build/release/platform/x11/glintora}
[ -x "$bin" ] || { echo "x11_cpu: $bin not built (scripts/build native)" >&2; exit 1; }

work=$(mktemp -d)
cleanup() {
  if [ -n "${show:-}" ]; then kill "$show" 2>/dev/null || true; wait "$show" 2>/dev/null || true; fi
  if [ -n "${server:-}" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Our own server, so its pid is known; it writes its display number to a pipe.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
read -r -t 10 -u "$fd" number
export DISPLAY=":$number"
export XDG_CONFIG_HOME="$work"  # an empty settings file: the defaults

"$bin" -root "$@" >/dev/null &
show=$!

ticks=$(getconf CLK_TCK)
cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

sleep 2  # warm-up: start-up and the first shells
a_show=$(cpu "$show"); a_server=$(cpu "$server"); t0=$(date +%s.%N)
sleep "$seconds"
b_show=$(cpu "$show"); b_server=$(cpu "$server"); t1=$(date +%s.%N)

awk -v as="$a_show" -v bs="$b_show" -v ax="$a_server" -v bx="$b_server" -v t0="$t0" -v t1="$t1" \
    -v hz="$ticks" 'BEGIN {
  wall = t1 - t0
  printf "glintora: %.1f ms CPU per second of show (%.1f%% of one core) over %.1f s\n", \
         (bs - as) / hz / wall * 1000, (bs - as) / hz / wall * 100, wall
  printf "Xvfb:     %.1f ms CPU per second of show\n", (bx - ax) / hz / wall * 1000
}'
