#!/usr/bin/env bash
# The same tree gives the same zip and package: made twice from copies of
# build/dist in other folders, with other file times, a second apart, in
# other time zones and umasks. The shipped programs carry no link time and
# no path of this machine.
set -eu -o pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
epoch=$(tools/source-date-epoch)

# pack FOLDER: the zip and the package of a copy of build/dist in FOLDER
# (whose files have the time of the copy).
pack() {
  mkdir -p "$1"
  cp -r build/dist "$1/dist"
  PORTICA_DIST=$1/dist PORTICA_PACKAGE_DIR=$1 tools/make-zip >/dev/null
  PORTICA_DIST=$1/dist PORTICA_PACKAGE_DIR=$1 tools/make-msi >/dev/null
}
(umask 022 && TZ=UTC pack "$tmp/one")
now=$(date +%s)
while [ "$(date +%s)" = "$now" ]; do sleep 0.1; done
(umask 077 && TZ=Asia/Kolkata pack "$tmp/two/deeper")
# Read from the zip itself, as one user, one folder order and two-second
# zip times would hide them from the comparison: the source date on every
# entry, no extra fields (times, owner), entries in the order of names.
python3 - "$tmp"/one/PorticaDock-*.zip "$epoch" <<'EOF'
import calendar, struct, sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z, open(sys.argv[1], "rb") as raw:
    for info in z.infolist():
        if abs(calendar.timegm(info.date_time) - int(sys.argv[2])) > 1:
            sys.exit(f"FAIL: {info.filename} has the time {info.date_time}, not the source date")
        raw.seek(info.header_offset + 28)
        if info.extra or struct.unpack("<H", raw.read(2))[0]:
            sys.exit(f"FAIL: {info.filename} carries extra fields in the zip")
    names = [i.filename.rstrip("/").encode() for i in z.infolist()]
    if names != sorted(names):
        sys.exit("FAIL: the zip's entries are not in the order of their names")
EOF

for f in "$tmp"/one/PorticaDock-*; do
  cmp "$f" "$tmp/two/deeper/${f##*/}" || fail "${f##*/} differs between two runs on the same tree"
done

# Link times (the header's, and the export table's where there is one) are
# 0 or the source date; objdump prints the first as a date, the second in hex.
allowed="Thu Jan  1 00:00:00 1970|$(TZ=UTC date -d "@$epoch" '+%a %b %e %T %Y')|0|$(printf %x "$epoch")"
for f in $(find build/dist -name '*.exe' -o -name '*.dll'); do
  TZ=UTC x86_64-w64-mingw32-objdump -p "$f" | awk -F'\t+' '/^Time\/Date/ {print $2}' >"$tmp/times" ||
    fail "cannot read $f"
  [ -s "$tmp/times" ] && ! grep -vxE "$allowed" "$tmp/times" >/dev/null ||
    fail "$f carries a link time: $(xargs <"$tmp/times")"
done
python3 - "$root" $(find build/dist -name '*.exe' -o -name '*.dll') <<'EOF'
import sys
root = sys.argv[1]
for path in sys.argv[2:]:
    data = open(path, "rb").read()
    if root.encode() in data or root.encode("utf-16-le") in data:
        sys.exit(f"FAIL: {path} holds the path {root}")
EOF
echo "reproducible: zip and package identical over two runs, no link time or build path in the programs"
