#!/usr/bin/env bash
# The package under Wine's 64-bit msiexec in the run's prefix.
#   lifecycle: install with LOGON_HELP=0, upgrade, a refused older package,
#              removal
#   rollback:  a default install, whose logon task Wine cannot register
#              (no logon triggers), rolls back; needs 32-bit code to run
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
    find "$WINEPREFIX/drive_c" \( -iname tavrinex -o -iname 'Portica Dock*' -o -iname tavrinex_task \) -prune \
      -exec rm -rf {} +
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; grep -a -i 'error\|taskregctl\|return value [03]' "$tmp/log" | tail -15; exit 1; }
package() { PORTICA_PACKAGE_DIR=$tmp "$root/tools/make-msi" "$@" | sed 's/^package: \(.*\) (.*/\1/'; }
win() { echo "Z:${1//\//\\}"; }
# msiexec /i|/x PACKAGE [PROPERTY=VALUE]: its status is cut to 8 bits.
msiexec() { wine64 msiexec "$1" "$(win "$2")" "${@:3}" /qn /l*v "$(win "$tmp/log")" </dev/null >/dev/null 2>&1; }
# The versions in the installed-programs list, and our files, folders,
# shortcut, product registration and task folder.
versions() {
  wine64 reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    awk '/^HKEY/ {ours = 0} /DisplayName +REG_SZ +Portica Dock$/ {ours = 1} ours && /DisplayVersion/ {print $NF}' | xargs
}
ours() {
  find "$WINEPREFIX/drive_c" -iname tavrinex -o -iname 'Portica Dock*' -o -iname tavrinex_task
  wine64 reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | grep -a 'Portica Dock'
  versions
}
[ -z "$(ours)" ] || fail "the prefix already holds: $(ours)"
current=$(package) || exit 1
cd "$WINEPREFIX/drive_c"

if [ "${1:-}" = rollback ]; then
  msiexec /i "$current"
  [ $? = $((1603 % 256)) ] || fail "the install did not fail at the logon task"
  grep -aq 'register "Portica Dock Help" .*: Cannot create the trigger: .*(exit code 11)' "$tmp/log" ||
    fail "the log does not say why"
  [ -z "$(ours)" ] || fail "the rollback left: $(ours)"
  passed=yes
  echo "rollback: the logon task failed with code 11 (in the log) and nothing was left"
  exit 0
fi

# (Wine 8 found 1.0.3 newer than 200.0.0.)
newer=$(package 99.0.0) && older=$(package 0.0.1) || exit 1
msiexec /i "$current" LOGON_HELP=0 || fail "install: $?"
(cd "$root/build/dist" && find . -type f ! -name devtoggle.exe) | while read -r f; do
  cmp -s "$root/build/dist/$f" "Program Files (x86)/Tavrinex/Portica Dock/$f" || fail "$f"
done || exit 1
cmp -s "$root/build/dist/devtoggle.exe" "Program Files/Tavrinex/Portica Dock/devtoggle.exe" || fail devtoggle.exe
[ -n "$(find users -name 'Portica Dock Help.lnk')" ] || fail "no shortcut"
[ "$(versions)" = "$(msiinfo export "$current" Property | tr -d '\r' | awk '$1 == "ProductVersion" {print $2}')" ] ||
  fail "installed-programs list: $(versions)"
msiexec /i "$newer" LOGON_HELP=0 || fail "upgrade: $?"
[ "$(versions)" = 99.0.0 ] || fail "after the upgrade: $(versions)"
msiexec /i "$older" LOGON_HELP=0 && fail "an older package was installed"
grep -aq 'NEWERVERSIONFOUND = ' "$tmp/log" && [ "$(versions)" = 99.0.0 ] || fail "after the older package: $(versions)"
msiexec /x "$newer" || fail "removal: $?"
[ -z "$(ours)" ] || fail "the removal left: $(ours)"
passed=yes
echo "lifecycle: installed, upgraded, older refused, removed without a trace"
