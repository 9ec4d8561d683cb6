#!/usr/bin/env bash
# The setup program under Wine, as users meet it: a silent install for all users and one for the
# current user, each checked for its files and keys; a template opened through the shell from a
# folder with a blank in its name; an upgrade over an install; a silent uninstall that leaves
# nothing of ours but the settings and gives each account back its own screen saver; a user
# without administrator rights refused. Run under an X server (xvfb-run); makes its own prefix.
#   windows_setup_test.sh build-win/GlintoraFireworks-1.0-setup.exe build-win
set -uo pipefail
source "$(dirname "$0")/checks.sh"

[ -f "$1" ] || { echo "windows_setup_test: no setup program '$1'"; finish; exit 1; }
setup=$(realpath "$1")
built=$(realpath "$2")   # the .scr and its two companions, as the setup program packs them
as_user="$built/tests/install/glintora_standard_user.exe"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

wineboot -i >/dev/null 2>&1
wineserver -k; wineserver -w
# Wine has one account; another is its user hive swapped in while no Wine program runs.
hives=$(mktemp -d)
cp "$WINEPREFIX/user.reg" "$hives/other.reg"
wineserver -p 60
trap 'wineserver -k; rm -rf "$WINEPREFIX" "$hives"' EXIT
switch_account() {
  wineserver -k; wineserver -w
  cp "$WINEPREFIX/user.reg" "$hives/$1.reg"
  cp "$hives/$2.reg" "$WINEPREFIX/user.reg"
  wineserver -p 60
}

scr=GlintoraFireworks.scr
classes='Software\Classes'
uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall\GlintoraFireworks'
desktop='HKCU\Control Panel\Desktop'
settings='Software\GlintoraFireworks'
caption='KRYX:Glintora Fireworks 1.0'
user_dir=$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')
unix() { winepath -u "$1" 2>/dev/null; }

# A registry value's text ("(default)" for the key's own value); "<absent>" when there is none.
reg_value() {
  local out
  if [ "$2" == "(default)" ]; then
    out=$(wine reg query "$1" /ve 2>/dev/null)
  else
    out=$(wine reg query "$1" /v "$2" 2>/dev/null)
  fi
  out=$(printf '%s\n' "$out" | tr -d '\r' | grep -m1 -E '^ +[^ ].*  REG_')
  [ -n "$out" ] || { echo "<absent>"; return; }
  printf '%s\n' "$out" | sed -E 's/^ +.*  REG_[A-Z_]+ *//'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1 && echo yes || echo no; }
# A setting where the program reads it: the per-user copy first, then the machine key.
setting() {
  local v
  v=$(reg_value "HKCU\\$settings\\$1" "$2")
  [ "$v" != "<absent>" ] || v=$(reg_value "HKLM\\$settings\\$1" "$2")
  echo "$v"
}
file_state() { [ -f "$(unix "$1")" ] && echo present || echo absent; }
window_named() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
saver_window() { window_named "$caption"; }
no_saver_window() { ! saver_window; }
no_window_named() { ! window_named "$1"; }

# The Start-menu shortcut, opened as the Start menu opens it, shows the properties dialog.
open_shortcut() {
  local mode=$1 shortcut=$2
  wine cmd /c start "" "$shortcut" >/dev/null 2>&1 &
  expect_true "$mode: the shortcut opens the properties" wait_for 90 window_named "Glintora Fireworks"
  wine taskkill /im "$scr" >/dev/null 2>&1
  wait_for 30 no_window_named "Glintora Fireworks" || wine taskkill /f /im "$scr" >/dev/null 2>&1
  wait_for 30 no_window_named "Glintora Fireworks"
  wait
}
setting_is() { [ "$(setting "$1" "$2")" == "$3" ]; }

# A template opened from a folder with a blank in its name; the show must import it and start.
# "shell": the way Explorer opens it. ROOT: the registered open command run as the shell would
# run it; Wine's shell looks at the machine's classes only, where Windows merges the user's in.
open_template() {
  local mode=$1 count=$2 how=$3 folder="$user_dir\\my looks" command exe
  mkdir -p "$(unix "$folder")"
  printf '[Admin]\r\nProduct=Glintora Fireworks\r\n[Fireworks]\r\nFireWorks=%s\r\n' "$count" \
    >"$(unix "$folder")/party.glx"
  if [ "$how" == shell ]; then
    wine cmd /c start "" "$folder\\party.glx" >/dev/null 2>&1 &
  else
    command=$(reg_value "$how\\$classes\\GlintoraFireworks.Template\\shell\\open\\command" '(default)')
    exe=${command#\"}; exe=${exe%%\"*}
    wine "$exe" "$folder\\party.glx" >/dev/null 2>&1 &
  fi
  expect_true "$mode: the template's setting is imported" wait_for 90 setting_is Fireworks FireWorks "$count"
  expect_true "$mode: the show starts" wait_for 90 saver_window
  wine taskkill /im "$scr" >/dev/null 2>&1
  wait_for 30 no_saver_window || wine taskkill /f /im "$scr" >/dev/null 2>&1
  wait_for 30 no_saver_window
  wait
}

# Runs the uninstaller exactly as Apps & Features runs it silently, and waits until it is done
# (it copies itself away and returns at once).
quiet_uninstall() {
  local root=$1 extra=${2:-} command exe
  command=$(reg_value "$root\\$uninstall" QuietUninstallString)
  exe=${command#\"}; exe=${exe%%\"*}
  expect "$root: the quiet uninstall string" "\"$exe\" /S" "$command"
  wine "$exe" /S $extra >/dev/null 2>&1
  key_gone() { [ "$(key_exists "$root\\$uninstall")" == no ] && [ ! -e "$(unix "$exe")" ]; }
  expect_true "$root: the uninstaller finishes" wait_for 90 key_gone
}

# install_checks MODE ROOT FOLDER UNINSTALL_FOLDER SHORTCUT: every file and key an install makes.
install_checks() {
  local mode=$1 root=$2 folder=$3 uninst=$4 shortcut=$5 program="$3\\$scr"
  expect_table <<TABLE
$mode: the program|present|file_state '$folder\\$scr'
$mode: the help page|present|file_state '$folder\\glintora-help.html'
$mode: the start sound|present|file_state '$folder\\Glinto10.wav'
$mode: the uninstaller|present|file_state '$uninst\\uninstall.exe'
$mode: the Start-menu shortcut|present|file_state '$shortcut'
$mode: the program is the one built|same|cmp -s '$built/$scr' "\$(unix '$folder\\$scr')" && echo same
$mode: .glx names the type|GlintoraFireworks.Template|reg_value '$root\\$classes\\.glx' '(default)'
$mode: the type's name|Glintora Fireworks Template|reg_value '$root\\$classes\\GlintoraFireworks.Template' '(default)'
$mode: the type's icon|"$program",0|reg_value '$root\\$classes\\GlintoraFireworks.Template\\DefaultIcon' '(default)'
$mode: open imports the quoted file|"$program" "%1"|reg_value '$root\\$classes\\GlintoraFireworks.Template\\shell\\open\\command' '(default)'
$mode: Edit settings is a verb|Edit settings|reg_value '$root\\$classes\\GlintoraFireworks.Template\\shell\\settings' '(default)'
$mode: Edit settings opens the properties|"$program" /c|reg_value '$root\\$classes\\GlintoraFireworks.Template\\shell\\settings\\command' '(default)'
$mode: the entry's name|Glintora Fireworks|reg_value '$root\\$uninstall' DisplayName
$mode: the entry's version|1.0|reg_value '$root\\$uninstall' DisplayVersion
$mode: the entry's publisher|Glintora|reg_value '$root\\$uninstall' Publisher
$mode: the entry's icon|$program,0|reg_value '$root\\$uninstall' DisplayIcon
$mode: the entry's folder|$uninst|reg_value '$root\\$uninstall' InstallLocation
$mode: the entry's uninstaller|"$uninst\\uninstall.exe"|reg_value '$root\\$uninstall' UninstallString
$mode: the entry's size is counted|yes|v=\$(reg_value '$root\\$uninstall' EstimatedSize); [ "\$((v))" -gt 100 ] && echo yes
$mode: the chosen screen saver|$program|reg_value '$desktop' SCRNSAVE.EXE
$mode: the screen saver is on|1|reg_value '$desktop' ScreenSaveActive
TABLE
}

# uninstall_checks MODE ROOT FOLDER UNINSTALL_FOLDER SHORTCUT ACTIVE: none of it is left, and the
# screen saver's on/off state is back as ACTIVE.
uninstall_checks() {
  local mode=$1 root=$2 folder=$3 uninst=$4 shortcut=$5 active=$6
  expect_table <<TABLE
$mode uninstalled: the program|absent|file_state '$folder\\$scr'
$mode uninstalled: the help page|absent|file_state '$folder\\glintora-help.html'
$mode uninstalled: the start sound|absent|file_state '$folder\\Glinto10.wav'
$mode uninstalled: the uninstaller's folder|absent|[ -e "\$(unix '$uninst')" ] && echo present || echo absent
$mode uninstalled: the shortcut|absent|file_state '$shortcut'
$mode uninstalled: .glx|no|key_exists '$root\\$classes\\.glx'
$mode uninstalled: the type|no|key_exists '$root\\$classes\\GlintoraFireworks.Template'
$mode uninstalled: the entry|no|key_exists '$root\\$uninstall'
$mode uninstalled: the previous screen saver is back|C:\\windows\\system32\\other.scr|reg_value '$desktop' SCRNSAVE.EXE
$mode uninstalled: with its on/off state|$active|reg_value '$desktop' ScreenSaveActive
TABLE
}

# The user had another screen saver, switched off; uninstalling must bring both back.
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
wine reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1

# ---- for all users
sys='C:\windows\system32'
pf='C:\Program Files\Glintora Fireworks'
all_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Glintora Fireworks Settings.lnk'
# Without administrator rights the setup program refuses to install for all users.
expect "standard user: the all-users install refused" 740 \
  "$(wine "$as_user" "$(winepath -w "$setup")" /S /AllUsers 2>/dev/null | tr -d '\r')"
expect "standard user: nothing installed" absent "$(file_state "$sys\\$scr")"
wine "$setup" /S /AllUsers >/dev/null 2>&1
expect "all users: setup exit status" 0 "$?"
install_checks "all users" HKLM "$sys" "$pf" "$all_menu"
expect "all users: nothing in the user's classes" no "$(key_exists "HKCU\\$classes\\.glx")"
open_template "all users" 37 shell
open_shortcut "all users" "$all_menu"

# An upgrade: over a damaged install, with a setting of the user's and our saver chosen.
echo damaged >"$(unix "$sys\\glintora-help.html")"
wine "$setup" /S /AllUsers >/dev/null 2>&1
expect "upgrade: setup exit status" 0 "$?"
expect "upgrade: the files are replaced" same \
  "$(cmp -s "$built/glintora-help.html" "$(unix "$sys\\glintora-help.html")" && echo same)"
expect "upgrade: the settings are kept" 37 "$(setting Fireworks FireWorks)"
expect "upgrade: one entry" 1 \
  "$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null | grep -c 'GlintoraFireworks')"
install_checks "upgraded" HKLM "$sys" "$pf" "$all_menu"

# Without administrator rights the uninstaller refuses before it changes anything (_?= runs it
# where it lives, so its exit status is seen).
expect "standard user: the all-users uninstall refused" 740 \
  "$(wine "$as_user" "$pf\\uninstall.exe" /S "_?=$pf" 2>/dev/null | tr -d '\r')"
expect_table <<TABLE
standard user: the program stays|present|file_state '$sys\\$scr'
standard user: the entry stays|yes|key_exists 'HKLM\\$uninstall'
standard user: the screen saver stays ours|$sys\\$scr|reg_value '$desktop' SCRNSAVE.EXE
TABLE

quiet_uninstall HKLM
uninstall_checks "all users" HKLM "$sys" "$pf" "$all_menu" 0
expect "all users uninstalled: the settings are kept" 37 "$(setting Fireworks FireWorks)"

# ---- for the current user
mine="$user_dir\\AppData\\Local\\Programs\\Glintora Fireworks"
my_menu="$user_dir\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Glintora Fireworks Settings.lnk"
# A user who never switched the screen saver on or off has no on/off value; none comes back.
wine reg delete "$desktop" /v ScreenSaveActive /f >/dev/null 2>&1
wine "$setup" /S /CurrentUser >/dev/null 2>&1
expect "current user: setup exit status" 0 "$?"
install_checks "current user" HKCU "$mine" "$mine" "$my_menu"
expect "current user: nothing in the machine's classes" no "$(key_exists "HKLM\\$classes\\.glx")"
expect "current user: nothing in the system folder" absent "$(file_state "$sys\\$scr")"
open_template "current user" 41 HKCU

# Where a user may not write the machine's key, the settings live in the user's.
wine reg add "HKCU\\$settings\\Fireworks" /v FireWorks /d 41 /f >/dev/null 2>&1
quiet_uninstall HKCU
uninstall_checks "current user" HKCU "$mine" "$mine" "$my_menu" "<absent>"
expect "current user uninstalled: the settings are kept" 41 \
  "$(reg_value "HKCU\\$settings\\Fireworks" FireWorks)"

# Asked to, the uninstaller removes the user's settings too, and only the user's.
wine "$setup" /S /CurrentUser >/dev/null 2>&1
quiet_uninstall HKCU /RemoveSettings
expect "settings removed: the user's" no "$(key_exists "HKCU\\$settings")"
expect "settings removed: not the machine's" yes "$(key_exists "HKLM\\$settings")"

# Deployed with /KeepSaver, the setup leaves the user's screen saver alone.
wine "$setup" /S /AllUsers /KeepSaver >/dev/null 2>&1
expect "keep saver: setup exit status" 0 "$?"
expect "keep saver: the screen saver stays" 'C:\windows\system32\other.scr' \
  "$(reg_value "$desktop" SCRNSAVE.EXE)"
# Another account, which chose ours itself, uninstalls after this one made ours its saver: it
# gets no saver and the saver off, never the one this account had before.
wine "$setup" /S /AllUsers >/dev/null 2>&1
switch_account mine other
wine reg add "$desktop" /v SCRNSAVE.EXE /d "$sys\\$scr" /f >/dev/null 2>&1
wine reg add "$desktop" /v ScreenSaveActive /d 1 /f >/dev/null 2>&1
quiet_uninstall HKLM
expect "another account: no screen saver" "<absent>" "$(reg_value "$desktop" SCRNSAVE.EXE)"
expect "another account: the saver off" 0 "$(reg_value "$desktop" ScreenSaveActive)"
switch_account other mine

finish
