#!/usr/bin/env bash
# tools/make-msi stops, with no package under its name, when it cannot read
# the built File table, when a program or library has no readable version,
# and when the package cannot be signed.
set -u
cd "$(dirname "$0")/../.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cp -r build/dist "$tmp/dist"
mkdir "$tmp/bin"
# refused WHAT MESSAGE [VARIABLE=VALUE...]: make-msi fails, says MESSAGE and
# leaves no package.
refused() {
  env "${@:3}" PORTICA_DIST="$tmp/dist" PORTICA_PACKAGE_DIR="$tmp" tools/make-msi >"$tmp/out" 2>&1 &&
    fail "$1: $(cat "$tmp/out")"
  grep -q "$2" "$tmp/out" || fail "$1: $(cat "$tmp/out")"
  [ -z "$(find "$tmp" -maxdepth 1 -name '*.msi*')" ] || fail "$1: left $(find "$tmp" -maxdepth 1 -name '*.msi*')"
}
stub() { printf '#!/bin/sh\n%s\nexec /usr/bin/%s "$@"\n' "$2" "$1" >"$tmp/bin/$1" && chmod +x "$tmp/bin/$1"; }

stub msiinfo '[ "$1 $3" != "export File" ] || exit 1'
refused "unreadable File table" "cannot read the File table" PATH="$tmp/bin:$PATH"
rm "$tmp/bin/msiinfo"

# The fixed file information's signature gone: no version can be read.
perl -0777 -pi -e 's/\xbd\x04\xef\xfe/\0\0\0\0/g' "$tmp/dist/images/TvMultiLang.dll"
refused "unversioned library" "no file version in .*TvMultiLang.dll"
cp build/dist/images/TvMultiLang.dll "$tmp/dist/images/"

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tmp/key.pem" -out "$tmp/cert.pem" \
  -subj /CN=Test -addext extendedKeyUsage=codeSigning 2>/dev/null
stub osslsigncode 'case "$*" in *.msi*) exit 1 ;; esac'
refused "unsigned package" "cannot sign the package" PATH="$tmp/bin:$PATH" \
  PORTICA_SIGN_CERT="$tmp/cert.pem" PORTICA_SIGN_KEY="$tmp/key.pem"
echo "make-msi: refused an unreadable File table, an unversioned library and a failed signature"
