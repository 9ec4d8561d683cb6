#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds no error; installed, it puts each file
# where Debian's xscreensaver and the desktop look, its program hardened and every file under the
# project's licence; xscreensaver's daemon, run by an ordinary user on its own Xvfb, starts the
# hack, which draws into the daemon's window and ends when the daemon deactivates; purged,
# nothing of it is left. Needs root (dpkg) and a free X display.
#   debian_package_test.sh build/release/glintora_1.0-1_amd64.deb
set -uo pipefail
source "$(dirname "$0")/checks.sh"

need_file "$1" debian_package_test package
deb=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || { echo "debian_package_test: needs root to install the package" >&2; exit 2; }
apt_get() { apt-get -o DPkg::Lock::Timeout=600 -y -q "$@" >/dev/null 2>&1; }

expect "package name" glintora "$(dpkg-deb -f "$deb" Package)"
needed="libc6 libdecor-0-0 libwayland-client0 libx11-6 libxkbcommon0"
depends=" $(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }' | xargs) "
expect "dependencies from the libraries (C, X11, Wayland)" "$needed" \
  "$(for p in $needed; do [[ "$depends" == *" $p "* ]] && echo "$p"; done | xargs)"
expect_true "lintian reports no error" lintian --fail-on error "$deb"

apt_get install "$deb"
expect "installed" "install ok installed" "$(dpkg-query -W -f='${Status}' glintora 2>/dev/null)"
hack=/usr/libexec/xscreensaver/glintora
unit=/usr/lib/systemd/user/glintora-idle.service
mode_of() { [ -e "$1" ] && stat -c '%a' "$1" || echo absent; }
expect_table <<TABLE
the hack|755|mode_of $hack
the program on the path|$hack|readlink -f /usr/bin/glintora
its xscreensaver page|644|mode_of /usr/share/xscreensaver/config/glintora.xml
the manual page|644|mode_of /usr/share/man/man6/glintora.6.gz
the desktop entry|644|mode_of /usr/share/applications/glintora.desktop
the small icon|644|mode_of /usr/share/icons/hicolor/48x48/apps/glintora.png
the large icon|644|mode_of /usr/share/icons/hicolor/256x256/apps/glintora.png
the manual page tells of the idle service|1|zcat /usr/share/man/man6/glintora.6.gz | grep -c systemd/user/glintora
the idle service|644|mode_of $unit
the entry opens the windowed show|Exec=$hack -window|grep '^Exec=' /usr/share/applications/glintora.desktop
the entry's name|Name=Glintora Fireworks|grep '^Name=' /usr/share/applications/glintora.desktop
the hack answers|usage: glintora|$hack -help | cut -d' ' -f1-2
TABLE
# The idle service follows the graphical session, gives up after a few failures, and is off until
# the user enables it: no maintainer script links it into a target.
expect "the idle service's lines" "PartOf=graphical-session.target After=graphical-session.target \
StartLimitBurst=5 ExecStart=/usr/bin/glintora -idle 300 Restart=on-failure WantedBy=graphical-session.target" \
  "$(grep -E '^(PartOf|After|StartLimitBurst|ExecStart|Restart|WantedBy)=' "$unit" | xargs)"
expect "the idle service is off" "" "$(ls /etc/systemd/user/*/glintora-idle.service 2>/dev/null)"
files=$(dpkg -L glintora | while read -r f; do [ -f "$f" ] && echo "$f"; done)
# Every program carries Debian's hardening: stack protector, fortified calls, RELRO, BIND_NOW.
for f in $files; do
  file -b "$f" | grep -q '^ELF' || continue
  expect_true "hardened: $f" hardening-check --quiet --nocfprotection "$f"
done
# The copyright file, in Debian's machine-readable form, gives every installed file the MIT
# (Expat) licence of the Glintora Fireworks developers, in the words of the repository's LICENSE.
licences=$(/usr/bin/python3 - /usr/share/doc/glintora/copyright "$(dirname "$0")/../../LICENSE" \
  $files <<'PY' 2>&1 | sort -u
import sys
from debian.copyright import Copyright
with open(sys.argv[1]) as f:
    dep5 = Copyright(f, strict=True)
words = lambda text: ' '.join(text.replace('\n.\n', '\n').split())
mit = words(open(sys.argv[2]).read().split('\n\n', 2)[2])
for path in sys.argv[3:]:
    files = dep5.find_files_paragraph(path.lstrip('/'))
    name = files.license.synopsis
    text = files.license.text or next(p.license.text for p in dep5.all_license_paragraphs()
                                      if p.license.synopsis == name)
    print(f"{name}|{files.copyright}|{'LICENSE' if words(text) == mit else 'another text'}")
PY
)
expect "every file's licence" "Expat|2026 Glintora Fireworks developers|LICENSE" "$licences"

# xscreensaver refuses to run hacks for root: an ordinary user runs the daemon.
user=glintora-test
if ! id "$user" >/dev/null 2>&1; then
  # A group of that name left behind by an interrupted run would make useradd refuse.
  group=(); getent group "$user" >/dev/null && group=(-g "$user")
  useradd --create-home --shell /bin/bash "${group[@]}" "$user"
  trap 'userdel --remove "$user" >/dev/null 2>&1' EXIT
fi
home=$(getent passwd "$user" | cut -d: -f6)
cat >"$home/.xscreensaver" <<'PREFS'
mode:		one
selected:	0
lock:		False
fade:		False
unfade:		False
splash:		False
timeout:	0:30:00
programs:	glintora --root \n
PREFS
chown "$user:" "$home/.xscreensaver"

# Runs inside the user's Xvfb: activate, find the hack and read the window it draws into,
# deactivate, and see the hack go. Prints "name=value" lines for the checks below.
session=$(mktemp)
{ declare -f wait_for; cat; } >"$session" <<'SESSION'
# The server picks a display it can listen on itself: a socket left by a killed server of
# another user cannot make it fail. Without -noreset it resets as each poll below disconnects,
# and a daemon connecting meanwhile dies before it has said anything.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$number" >/dev/null 2>&1 &
server=$!
wait_for 60 test -s "$number" || { echo "no X server started" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$number")"
xscreensaver -no-splash >&2 &
daemon=$!
wait_for 60 xscreensaver-command -time >/dev/null 2>&1 && echo daemon=up
xscreensaver-command -activate >/dev/null 2>&1
hack_pid() { pgrep -u "$(id -u)" -x glintora; }
if wait_for 60 hack_pid >/dev/null; then
  pid=$(hack_pid | head -n1)
  echo hack=running
  window=$(tr '\0' '\n' </proc/"$pid"/environ | sed -n 's/^XSCREENSAVER_WINDOW=//p')
  [ -n "$window" ] && echo window=given
  lit() { [ "$(import -window "$window" -format '%[fx:maxima>0?1:0]' info: 2>/dev/null)" = 1 ]; }
  wait_for 60 lit && echo drawn=yes
  xscreensaver-command -deactivate >/dev/null 2>&1
  gone() { ! kill -0 "$pid" 2>/dev/null; }
  wait_for 30 gone && echo ended=yes
fi
kill "$daemon" "$server" 2>/dev/null
wait
rm -f "$number"
SESSION
chmod 644 "$session"
errors=$(mktemp)
report=$(cd "$home" && timeout 300 runuser -u "$user" -- env HOME="$home" bash "$session" 2>"$errors")
rm -f "$session"
for item in daemon=up hack=running window=given drawn=yes ended=yes; do
  expect "under the daemon: ${item%=*}" "$item" "$(grep -x "$item" <<<"$report")"
done
grep -qx ended=yes <<<"$report" || { echo "the daemon's session said:"; tail -n 20 "$errors"; }
rm -f "$errors"

apt_get purge glintora
expect "purged" "" "$(dpkg-query -W -f='${Status}' glintora 2>/dev/null | grep installed)"
left=$(for f in $files; do [ -e "$f" ] && echo "$f"; done)
expect "no file left" "" "$left"
expect "no folder of ours left" "" \
  "$(ls -d /usr/share/doc/glintora /usr/share/xscreensaver/config/glintora.xml 2>/dev/null)"

finish
