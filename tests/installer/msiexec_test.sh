#!/usr/bin/env bash
# The package under Wine's 64-bit msiexec in the run's prefix. Wine cannot
# register the logon task (it has no logon triggers), so a registration that
# is attempted fails the installation.
#   lifecycle: install with LOGON_HELP=0, an upgrade with LOGON_HELP=1 that
#              fails and keeps the earlier version, a repair and an upgrade
#              that remember the choice, a refused older package, removal
#              (REMOVE naming every feature) of a task registered
#              beforehand with taskregctl.exe gone
#   rollback:  a default install fails at the task and leaves nothing
set -u -o pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/wine-env"
# Shortcuts make no menu entries outside the prefix.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
tmp=$(mktemp -d "$root/build/msiexec.XXXXXX")
passed=no
cleanup() {
  # Whatever a failed check left installed goes, to spare later tests.
  if [ $passed != yes ]; then
    for p in "$tmp"/*.msi; do msiexec /x "$p"; done
    wine64 reg delete 'HKLM\Software\Tavrinex\Portica Dock' /f >/dev/null 2>&1
    find "$WINEPREFIX/drive_c" \( -iname tavrinex -o -iname 'Portica Dock*' -o -iname tavrinex_task \) -prune \
      -exec rm -rf {} +
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; grep -a -i 'error\|logon task\|return value [03]' "$tmp/log" | tail -15; exit 1; }
package() { PORTICA_PACKAGE_DIR=$tmp "$root/tools/make-msi" "$@" | sed 's/^package: \(.*\) (.*/\1/'; }
win() { echo "Z:${1//\//\\}"; }
# msiexec /i|/x PACKAGE [PROPERTY=VALUE]: its status is cut to 8 bits.
msiexec() { wine64 msiexec "$1" "$(win "$2")" "${@:3}" /qn /l*v "$(win "$tmp/log")" </dev/null >/dev/null 2>&1; }
# The versions in the installed-programs list, and our files, folders,
# shortcut, product registration, remembered choice and task folder.
versions() {
  wine64 reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ {ours = 0} /DisplayName +REG_SZ +Portica Dock$/ {ours = 1} ours && /DisplayVersion/ {print $NF}' | xargs
}
ours() {
  find "$WINEPREFIX/drive_c" -iname tavrinex -o -iname 'Portica Dock*' -o -iname tavrinex_task
  wine64 reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | grep -a 'Portica Dock'
  wine64 reg query 'HKLM\Software\Tavrinex' 2>/dev/null | grep -a Tavrinex
  versions
}
saved() { wine64 reg query 'HKLM\Software\Tavrinex\Portica Dock' /v LOGON_HELP 2>/dev/null | tr -d '\r' | awk '/LOGON_HELP/ {print $NF}'; }
product_version() { msiinfo export "$1" Property | tr -d '\r' | awk '$1 == "ProductVersion" {print $2}'; }
task_folder=windows/system32/tasks/Tavrinex_TASK
# The tree's bytes in place, and VERSION in the installed-programs list.
installed() {
  (cd "$root/build/dist" && find . -type f ! -name devtoggle.exe) | while read -r f; do
    cmp -s "$root/build/dist/$f" "Program Files (x86)/Tavrinex/Portica Dock/$f" || fail "$1: $f"
  done || exit 1
  cmp -s "$root/build/dist/devtoggle.exe" "Program Files/Tavrinex/Portica Dock/devtoggle.exe" || fail "$1: devtoggle.exe"
  [ "$(versions)" = "$2" ] || fail "$1: installed-programs list: $(versions)"
}
[ -z "$(ours)" ] || fail "the prefix already holds: $(ours)"
current=$(package) || exit 1
cd "$WINEPREFIX/drive_c"

if [ "${1:-}" = rollback ]; then
  msiexec /i "$current"
  [ $? = $((1603 % 256)) ] || fail "the install did not fail at the logon task"
  grep -aq 'logon task: register .* Cannot create the trigger: .*(result 11)' "$tmp/log" ||
    fail "the log does not say why"
  [ -z "$(ours)" ] || fail "the rollback left: $(ours)"
  passed=yes
  echo "rollback: the logon task failed with code 11 (in the log) and nothing was left"
  exit 0
fi

# (Wine 8 found 1.0.3 newer than 200.0.0.)
newer=$(package 99.0.0) && older=$(package 0.0.1) || exit 1
msiexec /i "$current" LOGON_HELP=0 || fail "install: $?"
installed install "$(product_version "$current")"
[ -n "$(find users -name 'Portica Dock Help.lnk')" ] || fail "no shortcut"
[ "$(saved)" = 0 ] || fail "LOGON_HELP kept as '$(saved)'"

msiexec /i "$newer" LOGON_HELP=1
[ $? = $((1603 % 256)) ] && grep -aq 'logon task: register .*(result 11)' "$tmp/log" ||
  fail "the upgrade did not fail at the logon task"
installed "failed upgrade" "$(product_version "$current")"

# Without LOGON_HELP the choice of 0 holds: a registration would fail here.
rm "Program Files (x86)/Tavrinex/Portica Dock/taskregctl.exe"
msiexec /i "$current" REINSTALL=ALL REINSTALLMODE=amus || fail "repair: $?"
installed repair "$(product_version "$current")"
msiexec /i "$newer" || fail "upgrade: $?"
[ "$(versions)" = 99.0.0 ] && [ "$(saved)" = 0 ] || fail "after the upgrade: $(versions), LOGON_HELP '$(saved)'"
[ ! -e "$task_folder" ] || fail "a task folder after the upgrade"
msiexec /i "$older" && fail "an older package was installed"
grep -aq 'NEWERVERSIONFOUND = ' "$tmp/log" && [ "$(versions)" = 99.0.0 ] || fail "after the older package: $(versions)"

# Removal deletes a task registered beforehand, without taskregctl.exe,
# when REMOVE names every feature instead of ALL.
printf '%s\n' '<?xml version="1.0"?>' \
  '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task"><Actions><Exec>' \
  '<Command>"C:\Program Files (x86)\Tavrinex\Portica Dock\dockhint.exe"</Command></Exec></Actions></Task>' \
  > "$tmp/task.xml"
wine64 schtasks /create /tn 'Tavrinex_TASK\Portica Dock Help' /xml "$(win "$tmp/task.xml")" </dev/null >/dev/null 2>&1
[ -e "$task_folder/Portica Dock Help" ] || fail "cannot register a task beforehand"
rm "Program Files (x86)/Tavrinex/Portica Dock/taskregctl.exe"
features=$(msiinfo export "$newer" Feature | tr -d '\r' | tail -n +4 | cut -f1 | paste -sd,) || exit 1
msiexec /i "$newer" REMOVE="$features" || fail "removal: $?"
[ -z "$(ours)" ] || fail "the removal left: $(ours)"
passed=yes
echo "lifecycle: installed, failed upgrade kept it, choice remembered, older refused, removed without a trace"
