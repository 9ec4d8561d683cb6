#!/usr/bin/env bash
# The setup program under Wine, as users meet it: a silent install for all users and one for the
# current user, each checked for its files and keys; a template opened through the shell from a
# folder with a blank in its name; an upgrade over an install; a silent uninstall that leaves
# nothing of ours but the settings and gives each account back its own screen saver, also when
# both kinds of install were made on it; a user without administrator rights refused. Run under
# an X server (xvfb-run); makes its own prefix.
#   windows_setup_test.sh build-win/GlintoraFireworks-1.0-setup.exe build-win
set -uo pipefail
source "$(dirname "$0")/checks.sh"

need_file "$1" windows_setup_test "setup program"
setup=$(realpath "$1")
built=$(realpath "$2")   # the .scr and its two companions, as the setup program packs them
as_user="$built/tests/install/glintora_standard_user.exe"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Wine has one account; another is its user hive swapped in while no Wine program runs.
hives=$(mktemp -d)
trap 'wineserver -k; rm -rf "$WINEPREFIX" "$hives"' EXIT
switch_account() {
  wineserver -k; wineserver -w
  cp "$WINEPREFIX/user.reg" "$hives/$1.reg"
  cp "$hives/$2.reg" "$WINEPREFIX/user.reg"
  wineserver -p 60
}
wineboot -i >/dev/null 2>&1
switch_account other other  # the other account begins as a copy of the fresh one

scr=GlintoraFireworks.scr classes='Software\Classes'
uninstall='Software\Microsoft\Windows\CurrentVersion\Uninstall\GlintoraFireworks'
desktop='HKCU\Control Panel\Desktop' settings='Software\GlintoraFireworks'
other='C:\windows\system32\other.scr'
user_dir=$(wine cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')
unix() { winepath -u "$1" 2>/dev/null; }
quiet() { wine "$@" >/dev/null 2>&1; }

# A registry value's text ("(default)" for the key's own value); "<absent>" when there is none.
reg_value() {
  local which=(/v "$2") out; [ "$2" != "(default)" ] || which=(/ve)
  out=$(wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r')
  out=$(grep -m1 -E '^ +[^ ].*  REG_' <<<"$out") || { echo "<absent>"; return; }
  sed -E 's/^ +.*  REG_[A-Z_]+ *//' <<<"$out"
}
key_exists() { wine reg query "$1" >/dev/null 2>&1 && echo yes || echo no; }
# A setting where the program reads it: the per-user copy first, then the machine key.
setting() { local v; v=$(reg_value "HKCU\\$settings\\$1" "$2")
  [ "$v" != "<absent>" ] && echo "$v" || reg_value "HKLM\\$settings\\$1" "$2"; }
setting_is() { [ "$(setting "$1" "$2")" == "$3" ]; }
file_state() { [ -e "$(unix "$1")" ] && echo present || echo absent; }
window_named() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
# Asks the program to end, then ends it, until no window of that name is left.
end_program() {
  quiet taskkill /im "$scr"
  wait_for 30 not window_named "$1" || quiet taskkill /f /im "$scr"
  wait_for 30 not window_named "$1"
  wait
}

# A template opened from a folder with a blank in its name; the show must import it and start.
# "shell": the way Explorer opens it. ROOT: the registered open command run as the shell would
# run it; Wine's shell looks at the machine's classes only, where Windows merges the user's in.
open_template() {
  local mode=$1 count=$2 how=$3 folder="$user_dir\\my looks" exe
  mkdir -p "$(unix "$folder")"
  printf '[Admin]\r\nProduct=Glintora Fireworks\r\n[Fireworks]\r\nFireWorks=%s\r\n' "$count" >"$(unix "$folder")/party.glx"
  local open=(cmd /c start "")
  if [ "$how" != shell ]; then
    exe=$(reg_value "$how\\$classes\\GlintoraFireworks.Template\\shell\\open\\command" '(default)')
    exe=${exe#\"}; open=("${exe%%\"*}")
  fi
  quiet "${open[@]}" "$folder\\party.glx" &
  expect_true "$mode: the template's setting is imported" wait_for 90 setting_is Fireworks FireWorks "$count"
  expect_true "$mode: the show starts" wait_for 90 window_named 'KRYX:Glintora Fireworks 1.0'
  end_program 'KRYX:Glintora Fireworks 1.0'
}

# Runs the uninstaller exactly as Apps & Features runs it silently, and waits until it is done
# (it copies itself away and returns at once).
quiet_uninstall() {
  local root=$1 command exe; shift
  command=$(reg_value "$root\\$uninstall" QuietUninstallString)
  exe=${command#\"}; exe=${exe%%\"*}
  expect "$root: the quiet uninstall string" "\"$exe\" /S" "$command"
  quiet "$exe" /S "$@"
  key_gone() { [ "$(key_exists "$root\\$uninstall")" == no ] && [ ! -e "$(unix "$exe")" ]; }
  expect_true "$root: the uninstaller finishes" wait_for 90 key_gone
}

# install MODE ARGUMENTS...: runs the setup program silently; its exit status is checked.
install() {
  local mode=$1; shift
  quiet "$setup" /S "$@"
  expect "$mode: setup exit status" 0 "$?"
}

# install_checks MODE ROOT FOLDER UNINSTALL_FOLDER SHORTCUT: every file and key an install makes.
install_checks() {
  local mode=$1 root=$2 folder=$3 uninst=$4 shortcut=$5 program="$3\\$scr"
  local type="$root\\$classes\\GlintoraFireworks.Template"
  expect_table <<TABLE
$mode: the program, its help page and start sound, the uninstaller and shortcut|present present present present present|for f in '$program' '$folder\\glintora-help.html' '$folder\\Glinto10.wav' '$uninst\\uninstall.exe' '$shortcut'; do file_state "\$f"; done | xargs
$mode: the program is the one built|same|cmp -s '$built/$scr' "\$(unix '$program')" && echo same
$mode: .glx names the type|GlintoraFireworks.Template|reg_value '$root\\$classes\\.glx' '(default)'
$mode: the type's name, icon, open command, Edit settings verb and its command|Glintora Fireworks Template/"$program",0/"$program" "%1"/Edit settings/"$program" /c|for k in '' '\\DefaultIcon' '\\shell\\open\\command' '\\shell\\settings' '\\shell\\settings\\command'; do reg_value '$type'"\$k" '(default)'; done | paste -sd/
$mode: the entry's name, version and publisher|Glintora Fireworks/1.0/Glintora|for v in DisplayName DisplayVersion Publisher; do reg_value '$root\\$uninstall' \$v; done | paste -sd/
$mode: the entry's icon, folder and uninstaller|$program,0/$uninst/"$uninst\\uninstall.exe"|for v in DisplayIcon InstallLocation UninstallString; do reg_value '$root\\$uninstall' \$v; done | paste -sd/
$mode: the entry's size is counted|yes|v=\$(reg_value '$root\\$uninstall' EstimatedSize); [ "\$((v))" -gt 100 ] && echo yes
$mode: the chosen screen saver, on|$program 1|echo \$(reg_value '$desktop' SCRNSAVE.EXE) \$(reg_value '$desktop' ScreenSaveActive)
TABLE
}

# uninstall_checks MODE ROOT FOLDER UNINSTALL_FOLDER SHORTCUT ACTIVE: none of it is left, and the
# user's previous screen saver is back with its on/off state ACTIVE.
uninstall_checks() {
  local mode=$1 root=$2 folder=$3 uninst=$4 shortcut=$5 active=$6
  expect_table <<TABLE
$mode uninstalled: the program, its help page and start sound, the uninstaller's folder, the shortcut|absent absent absent absent absent|for f in '$folder\\$scr' '$folder\\glintora-help.html' '$folder\\Glinto10.wav' '$uninst' '$shortcut'; do file_state "\$f"; done | xargs
$mode uninstalled: .glx, the type, the entry|no no no|echo \$(for k in .glx GlintoraFireworks.Template; do key_exists '$root\\$classes\\'\$k; done) \$(key_exists '$root\\$uninstall')
$mode uninstalled: the previous screen saver is back with its on/off state|$other $active|echo \$(reg_value '$desktop' SCRNSAVE.EXE) \$(reg_value '$desktop' ScreenSaveActive)
TABLE
}

# The user had another screen saver, switched off; uninstalling must bring both back.
quiet reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f
quiet reg add "$desktop" /v ScreenSaveActive /d 0 /f

# ---- for all users
sys='C:\windows\system32' pf='C:\Program Files\Glintora Fireworks'
all_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Glintora Fireworks Settings.lnk'
# Without administrator rights the setup program refuses to install for all users.
expect "standard user: the all-users install refused" 740 \
  "$(wine "$as_user" "$(winepath -w "$setup")" /S /AllUsers 2>/dev/null | tr -d '\r')"
expect "standard user: nothing installed" absent "$(file_state "$sys\\$scr")"
install "all users" /AllUsers
install_checks "all users" HKLM "$sys" "$pf" "$all_menu"
expect "all users: nothing in the user's classes" no "$(key_exists "HKCU\\$classes\\.glx")"
open_template "all users" 37 shell
# The Start-menu shortcut, opened as the Start menu opens it, shows the properties dialog.
quiet cmd /c start "" "$all_menu" &
expect_true "all users: the shortcut opens the properties" wait_for 90 window_named "Glintora Fireworks"
end_program "Glintora Fireworks"

# An upgrade: over a damaged install, with a setting of the user's and our saver chosen.
echo damaged >"$(unix "$sys\\glintora-help.html")"
install upgrade /AllUsers
expect_table <<TABLE
upgrade: the files are replaced|same|cmp -s '$built/glintora-help.html' "\$(unix '$sys\\glintora-help.html')" && echo same
upgrade: the settings are kept|37|setting Fireworks FireWorks
TABLE
install_checks "upgraded" HKLM "$sys" "$pf" "$all_menu"

# Without administrator rights the uninstaller refuses before it changes anything (_?= runs it
# where it lives, so its exit status is seen).
expect "standard user: the all-users uninstall refused" 740 \
  "$(wine "$as_user" "$pf\\uninstall.exe" /S "_?=$pf" 2>/dev/null | tr -d '\r')"
expect "standard user: the program, the entry and our saver stay" "present yes $sys\\$scr" \
  "$(file_state "$sys\\$scr") $(key_exists "HKLM\\$uninstall") $(reg_value "$desktop" SCRNSAVE.EXE)"

quiet_uninstall HKLM
uninstall_checks "all users" HKLM "$sys" "$pf" "$all_menu" 0
expect "all users uninstalled: the settings are kept" 37 "$(setting Fireworks FireWorks)"

# ---- for the current user
mine="$user_dir\\AppData\\Local\\Programs\\Glintora Fireworks"
my_menu="$user_dir\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Glintora Fireworks Settings.lnk"
# A user who never switched the screen saver on or off has no on/off value; none comes back.
quiet reg delete "$desktop" /v ScreenSaveActive /f
install "current user" /CurrentUser
install_checks "current user" HKCU "$mine" "$mine" "$my_menu"
expect "current user: nothing in the machine's classes or the system folder" "no absent" \
  "$(key_exists "HKLM\\$classes\\.glx") $(file_state "$sys\\$scr")"
open_template "current user" 41 HKCU

# Both kinds on one account: the all-users install takes over our per-user saver, and whichever
# goes first, the user's own saver comes back when the last one goes.
install "both kinds" /AllUsers
# Where a user may not write the machine's key, the settings live in the user's.
quiet reg add "HKCU\\$settings\\Fireworks" /v FireWorks /d 41 /f
quiet_uninstall HKCU
expect "both kinds, the current user's uninstalled: the all-users saver stays" "$sys\\$scr" \
  "$(reg_value "$desktop" SCRNSAVE.EXE)"
quiet_uninstall HKLM
uninstall_checks "current user" HKCU "$mine" "$mine" "$my_menu" "<absent>"
expect "current user uninstalled: the settings are kept" 41 \
  "$(reg_value "HKCU\\$settings\\Fireworks" FireWorks)"

# Asked to, the uninstaller removes the user's settings too, and only the user's.
quiet "$setup" /S /CurrentUser
quiet_uninstall HKCU /RemoveSettings
expect "settings removed: the user's, not the machine's" "no yes" \
  "$(key_exists "HKCU\\$settings") $(key_exists "HKLM\\$settings")"

# Deployed with /KeepSaver, the setup leaves the user's screen saver alone.
install "keep saver" /AllUsers /KeepSaver
expect "keep saver: the screen saver stays" "$other" "$(reg_value "$desktop" SCRNSAVE.EXE)"
# Another account, which chose ours itself, uninstalls after this one made ours its saver: it
# gets no saver and the saver off, never the one this account had before.
quiet "$setup" /S /AllUsers
switch_account mine other
quiet reg add "$desktop" /v SCRNSAVE.EXE /d "$sys\\$scr" /f
quiet reg add "$desktop" /v ScreenSaveActive /d 1 /f
quiet_uninstall HKLM
expect "another account: no screen saver, and off" "<absent> 0" \
  "$(reg_value "$desktop" SCRNSAVE.EXE) $(reg_value "$desktop" ScreenSaveActive)"
switch_account other mine

finish
