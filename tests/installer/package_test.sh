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
table() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }

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

# Deferred actions sit between InstallInitialize and InstallFinalize; the
# task is deleted before the files and registered after them, and the
# conditions say when.
seq() { table InstallExecuteSequence | awk -F'\t' -v a="$1" '$1 == a {print $3}'; }
cond() { table InstallExecuteSequence | awk -F'\t' -v a="$1" '$1 == a {print $2}'; }
table CustomAction | while IFS=$'\t' read -r a type _; do
  [ $((type & 1024)) = 0 ] || { [ "$(seq $a)" -gt "$(seq InstallInitialize)" ] &&
    [ "$(seq $a)" -lt "$(seq InstallFinalize)" ]; } || fail "$a at $(seq $a)"
done
[ "$(seq DeleteLogonHelp)" -lt "$(seq RemoveFiles)" ] && [ "$(seq RegisterLogonHelp)" -gt "$(seq PublishProduct)" ] &&
  [ "$(seq RemoveExistingProducts)" -gt "$(seq InstallValidate)" ] &&
  [ "$(seq RemoveExistingProducts)" -lt "$(seq InstallInitialize)" ] || fail "$(table InstallExecuteSequence)"
for a in SetRegisterLogonHelp RegisterLogonHelp; do
  [ "$(cond $a)" = 'LOGON_HELP="1" AND NOT REMOVE' ] || fail "$a: $(cond $a)"
done
for a in SetDeleteLogonHelp DeleteLogonHelp; do
  [ "$(cond $a)" = 'REMOVE~="ALL" AND NOT UPGRADINGPRODUCTCODE' ] || fail "$a: $(cond $a)"
done
# Both run without impersonation; only the removal's result is ignored (64).
[ "$(table CustomAction | while IFS=$'\t' read -r a type source _; do
      [ "$source" != LogonTaskAction ] || echo "$a:$((type & 3136))"; done | sort | xargs)" = \
  "DeleteLogonHelp:3136 RegisterLogonHelp:3072" ] || fail "$(table CustomAction)"
echo "package: signed, same bytes as the tree and the zip, actions in place"
