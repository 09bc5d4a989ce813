#!/usr/bin/env bash
# The zip and the package that tools/make-dist makes from a copy of
# build/dist signed with a throwaway certificate, read without Wine.
set -eu
cd "$(dirname "$0")/../.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cp -r build/dist "$tmp/dist"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tmp/key.pem" -out "$tmp/cert.pem" \
  -subj /CN=Test -addext extendedKeyUsage=codeSigning 2>/dev/null
PORTICA_DIST=$tmp/dist PORTICA_PACKAGE_DIR=$tmp PORTICA_SIGN_CERT=$tmp/cert.pem \
  PORTICA_SIGN_KEY=$tmp/key.pem tools/make-dist >/dev/null
msi=$(echo "$tmp"/*.msi)
source tools/msi-table
table() { msi_table "$msi" "$1"; }

# Every program and library, the action DLL and the package verify.
msiinfo extract "$msi" Binary.LogonTaskAction > "$tmp/action.dll"
for f in $(find "$tmp/dist" -name '*.exe' -o -name '*.dll') "$tmp/action.dll" "$msi"; do
  osslsigncode verify -CAfile "$tmp/cert.pem" -in "$f" >/dev/null 2>&1 || fail "$f does not verify"
done

# The zip and the package hold the tree's bytes: the 32-bit files below
# [ProgramFilesFolder] ("Program Files" to msiextract), devtoggle below
# [ProgramFiles64Folder] (which msiextract leaves out), in 64-bit components.
mkdir -p "$tmp/want/Program Files/Tavrinex" "$tmp/want/Tavrinex/Portica Dock" "$tmp/zip"
cp -r "$tmp/dist" "$tmp/want/Program Files/Tavrinex/Portica Dock"
mv "$tmp/want/Program Files/Tavrinex/Portica Dock/devtoggle.exe" "$tmp/want/Tavrinex/Portica Dock/"
msiextract -C "$tmp/got" "$msi" >/dev/null
diff -r "$tmp/want" "$tmp/got" || fail "the package's files differ from the tree"
(cd "$tmp/zip" && unzip -q "$tmp"/*.zip) && diff -r "$tmp/dist" "$tmp/zip" || fail "the zip differs"
table Directory | grep -qxP 'Maker64\tProgramFiles64Folder\tTavrinex' || fail "no [ProgramFiles64Folder]Tavrinex"
[ "$(table Component | awk -F'\t' '$4 == 256 {print $1 ":" $3}' | sort | xargs)" = \
  "Maker64:Maker64 devtoggle:INSTALLDIR64" ] || fail "64-bit components: $(table Component)"

# Deferred actions sit between InstallInitialize and InstallFinalize. The
# script starts with the logon task's change and its rollback partner, which
# InstallExecute carries out before RemoveExistingProducts: a registration
# that fails stops an upgrade before the earlier version is touched.
seq() { table InstallExecuteSequence | awk -F'\t' -v a="$1" '$1 == a {print $3}'; }
cond() { table InstallExecuteSequence | awk -F'\t' -v a="$1" '$1 == a {print $2}'; }
table CustomAction | while IFS=$'\t' read -r a type _; do
  [ $((type & 1024)) = 0 ] || { [ "$(seq $a)" -gt "$(seq InstallInitialize)" ] &&
    [ "$(seq $a)" -lt "$(seq InstallFinalize)" ]; } || fail "$a at $(seq $a)"
done
[ "$(table InstallExecuteSequence | awk -F'\t' -v after="$(seq InstallInitialize)" '$3 > after' | sort -t$'\t' -k3n |
     head -6 | cut -f1 | xargs)" = "CommitLogonHelp RestoreLogonHelp RegisterLogonHelp DeleteLogonHelp InstallExecute RemoveExistingProducts" ] ||
  fail "the script starts otherwise: $(table InstallExecuteSequence | sort -t$'\t' -k3n | cut -f1,3 | xargs)"
[ "$(cond RegisterLogonHelp)" = 'LOGON_HELP="1" AND NOT REMOVE' ] || fail "RegisterLogonHelp: $(cond RegisterLogonHelp)"
# Removal, however REMOVE names it, is the one feature going absent.
[ "$(table Feature | cut -f1)" = Complete ] && [ -z "$(table FeatureComponents | awk -F'\t' '$1 != "Complete"')" ] ||
  fail "features: $(table Feature | cut -f1 | xargs)"
removal='&Complete=2 AND NOT UPGRADINGPRODUCTCODE'
[ "$(cond DeleteLogonHelp)" = "($removal) OR (NOT REMOVE AND LOGON_HELP<>\"1\")" ] ||
  fail "DeleteLogonHelp: $(cond DeleteLogonHelp)"
# The rollback and commit partners run with either change, and each action
# gets its data whenever it runs: the record of what was there before, named
# alike in all four, and the help program's path.
for a in SetRestoreLogonHelp RestoreLogonHelp SetCommitLogonHelp CommitLogonHelp; do
  [ "$(cond $a)" = "NOT REMOVE OR ($removal)" ] || fail "$a: $(cond $a)"
done
for a in RegisterLogonHelp DeleteLogonHelp; do [ "$(cond Set$a)" = "$(cond $a)" ] || fail "Set$a: $(cond Set$a)"; done
[ "$(table CustomAction | awk -F'\t' '$1 ~ /LogonHelp(Record)?$/ && $3 ~ /LogonHelp/ {print $1 "=" $4}' | sort | xargs -d '\n')" = \
  "SetCommitLogonHelp=[LogonHelpRecord] SetDeleteLogonHelp=[LogonHelpRecord] SetLogonHelpRecord=[WindowsFolder]Installer\Portica Dock logon task.txt SetRegisterLogonHelp=[LogonHelpRecord]|[INSTALLDIR]dockhint.exe SetRestoreLogonHelp=[LogonHelpRecord]|[INSTALLDIR]dockhint.exe" ] &&
  [ "$(seq SetLogonHelpRecord)" -lt "$(seq SetRegisterLogonHelp)" ] || fail "data: $(table CustomAction | grep LogonHelp)"
# All run in the script, none impersonates (so no immediate action reads the
# scheduler as the user); the registration's result is checked (3072), the
# others' ignored (64); rollback (256) and commit (512) run only then.
[ "$(table CustomAction | while IFS=$'\t' read -r a type source _; do
      [ "$source" != LogonTaskAction ] || echo "$a:$((type & 3904))"; done | sort | xargs)" = \
  "CommitLogonHelp:3648 DeleteLogonHelp:3136 RegisterLogonHelp:3072 RestoreLogonHelp:3392" ] || fail "$(table CustomAction)"

# LOGON_HELP is secure, kept in the 64-bit registry view and read back from
# there (a raw value, 2 + 16).
table Property | grep -qP '^SecureCustomProperties\t(.*;)?LOGON_HELP(;|$)' || fail "$(table Property)"
key='2\tSOFTWARE\\Tavrinex\\Portica Dock\tLOGON_HELP'
table RegLocator | grep -qxP "SavedLogonHelp\t$key\t18" || fail "$(table RegLocator)"
table AppSearch | grep -qxP 'LOGON_HELP_SAVED\tSavedLogonHelp' || fail "$(table AppSearch)"
component=$(table Registry | grep -P "\t$key\t\\[LOGON_HELP\\]\t" | cut -f6)
[ -n "$component" ] && table Component | grep -qP "^$component\t[^\t]*\t[^\t]*\t(256|260)\t" ||
  fail "$(table Registry) in $(table Component | grep -P "^$component\t")"

# A maintenance run with another LOGON_HELP reinstalls the feature that
# holds the remembered value (rewriting machine values), before costing.
# Only an administrator (real detection) changes the remembered choice.
for s in InstallUISequence InstallExecuteSequence; do
  [ "$(table $s | sort -t$'\t' -k3n | cut -f1 | grep -A3 -x LogonHelpByDefault | xargs)" = \
    "LogonHelpByDefault KeepLogonHelpForNonAdmin ReinstallForLogonHelp RewriteForLogonHelp" ] &&
    table $s | grep -qxP 'KeepLogonHelpForNonAdmin\tLOGON_HELP_SAVED AND LOGON_HELP<>LOGON_HELP_SAVED AND NOT AdminUser\t53' ||
    fail "$s: $(table $s | sort -t$'\t' -k3n | cut -f1,2 | grep -A3 -x LogonHelpByDefault)"
done
table CustomAction | grep -qP '^KeepLogonHelpForNonAdmin\t\d+\tLOGON_HELP\t\[LOGON_HELP_SAVED\]\t' &&
  table Property | grep -qxP 'MSIUSEREALADMINDETECTION\t1' || fail "non-administrators: $(cond KeepLogonHelpForNonAdmin)"
[ "$(cond ReinstallForLogonHelp)" = 'Installed AND NOT REMOVE AND NOT REINSTALL AND LOGON_HELP<>LOGON_HELP_SAVED' ] &&
  [ "$(cond RewriteForLogonHelp)" = 'Installed AND REINSTALL AND REINSTALLMODE AND NOT (REINSTALLMODE~><"m") AND LOGON_HELP<>LOGON_HELP_SAVED' ] &&
  table CustomAction | grep -qP '^ReinstallForLogonHelp\t\d+\tREINSTALL\tComplete\t' &&
  table CustomAction | grep -qP '^RewriteForLogonHelp\t\d+\tREINSTALLMODE\t\[REINSTALLMODE\]m\t' ||
  fail "$(table CustomAction | grep ForLogonHelp), $(cond ReinstallForLogonHelp)"

# The programs carry the file versions and languages of their resource
# scripts, and no hash (ICE60).
[ "$(table File | awk -F'\t' '$5 != "" {sub(/.*\|/, "", $3); print $3 "=" $5 ":" $6}' | sort | xargs)" = "$(
  for rc in app/dockhint.rc devtoggle/devtoggle.rc taskreg/taskreg.rc taskreg/taskregctl.rc tvmultilang/TvMultiLang.rc; do
    read -r v t l < <(awk '$1 == "FILEVERSION" {v = $2} $1 == "FILETYPE" {t = $2} $2 == "\"Translation\"," {l = $3}
      END {print v, t, l}' "$rc")
    [ "$t" = VFT_DLL ] && t=.dll || t=.exe
    echo "$(basename "$rc" .rc)$t=${v//,/.}:$((${l%,}))"
  done | sort | xargs)" ] || fail "versions: $(table File | cut -f3,5,6 | grep -i '\.exe\|\.dll')"
! msiinfo tables "$msi" | grep -qx MsiFileHash || [ -z "$(table File | awk -F'\t' '$5 != "" {print $1}' |
  grep -xFf - <(table MsiFileHash | cut -f1))" ] || fail "ICE60: hashes of versioned files"
# ICE03: every name is a short name or has one ("SHORT~1.EXT|Long name"),
# unique in its folder.
short='^[A-Za-z0-9!#$%&()@^_`{}~-]{1,8}(\.[A-Za-z0-9!#$%&()@^_`{}~-]{1,3})?$'
names=$( (table File | awk -F'\t' 'NR == FNR {dir[$1] = $3; next} {print dir[$2] "\t" $3}' <(table Component) -
  table Directory | awk -F'\t' '$2 != "" && $3 != "." {sub(/:.*/, "", $3); print $2 "\t" $3}'
  table Shortcut | cut -f2,3) | sed 's/\t\([^|]*\)|.*/\t\1/')
bad=$(cut -f2 <<<"$names" | grep -vxE "$short" || true)
[ -z "$bad" ] && [ -z "$(tr a-z A-Z <<<"$names" | sort | uniq -d)" ] || fail "ICE03: $bad $(sort <<<"$names" | uniq -d)"
# ICE61: the removal row stops below this version; newer versions and other
# builds of this one are only detected; every found property is secure.
version=$(table Property | awk -F'\t' '$1 == "ProductVersion" {print $2}')
[ "$(table Upgrade | awk -F'\t' '{print $2 "-" $3 ":" $5 ":" $7}' | LC_ALL=C sort | xargs)" = \
  "0.0.0-$version:256:PREVIOUSVERSIONFOUND $version-:258:NEWERVERSIONFOUND" ] &&
  table Upgrade | cut -f7 | while read -r p; do table Property | grep -qP "^SecureCustomProperties\t(.*;)?$p(;|$)"; done ||
  fail "ICE61: $(table Upgrade) $(table Property | grep Secure)"
# ICE43: the shortcut's component has a registry key path under HKMU or HKCU.
read -r attributes keypath < <(table Component | awk -F'\t' -v c="$(table Shortcut | cut -f4)" '$1 == c {print $4, $6}')
[ $((attributes & 4)) = 4 ] && table Registry | awk -F'\t' '$2 == -1 || $2 == 1 {print $1}' | grep -qxF "$keypath" ||
  fail "ICE43: $(table Shortcut | cut -f4) $attributes $keypath"
# make-msi leaves no package when it cannot read the File table, a
# library's version, or sign, or when wixl warns.
mkdir "$tmp/bin" "$tmp/refused"
refused() {
  env "${@:2}" PORTICA_DIST="$tmp/dist" PORTICA_PACKAGE_DIR="$tmp/refused" tools/make-msi >"$tmp/out" 2>&1 && fail "$1: built"
  grep -q "$1" "$tmp/out" && [ -z "$(ls "$tmp/refused")" ] || fail "$1: $(cat "$tmp/out") $(ls "$tmp/refused")"
}
printf '#!/bin/sh\n[ "$1 $3" != "export File" ] && exec /usr/bin/msiinfo "$@"\n' >"$tmp/bin/msiinfo"
printf '#!/bin/sh\ncase "$*" in *.msi*) exit 1 ;; esac; exec /usr/bin/osslsigncode "$@"\n' >"$tmp/bin/osslsigncode"
chmod +x "$tmp"/bin/*
refused "cannot read the File table" PATH="$tmp/bin:$PATH"
rm "$tmp/bin/msiinfo"
refused "cannot sign the package" PATH="$tmp/bin:$PATH" PORTICA_SIGN_CERT="$tmp/cert.pem" PORTICA_SIGN_KEY="$tmp/key.pem"
printf '#!/bin/sh\necho "warning: ignored" >&2\nexec /usr/bin/wixl "$@"\n' >"$tmp/bin/wixl" && chmod +x "$tmp/bin/wixl"
refused "wixl failed" PATH="$tmp/bin:$PATH"
rm "$tmp/bin/wixl"
perl -0777 -pi -e 's/\xbd\x04\xef\xfe/\0\0\0\0/g' "$tmp/dist/images/TvMultiLang.dll"
refused "no file version in .*TvMultiLang.dll"
echo "package: signed, same bytes as the tree and the zip, actions, choice and versions in place"
