#!/usr/bin/env bash
# Static checks of the shipped 32-bit taskreg.dll and taskregctl.exe, which
# this machine cannot run:
#   - both are PE32 images; taskregctl is a console program;
#   - the library exports exactly RegisterScheduledTask and DeleteScheduleTask,
#     without decoration;
#   - each export removes its own arguments on return (the standard Windows
#     calling convention): RegisterScheduledTask takes 16 bytes of arguments
#     and returns with "ret $0x10", DeleteScheduleTask takes 4 and returns
#     with "ret $0x4", so the caller's stack is balanced after the call;
#   - the library carries a version resource.
# Usage: check_shipped_binaries.sh DLL EXE OBJDUMP WINDRES
set -u
dll=$1 exe=$2 objdump=$3 windres=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

dll_headers=$("$objdump" -p "$dll") || { echo "cannot read $dll"; exit 1; }
exe_headers=$("$objdump" -p "$exe") || { echo "cannot read $exe"; exit 1; }

grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$dll_headers" || fail "taskreg.dll is not PE32"
grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$exe_headers" || fail "taskregctl.exe is not PE32"
grep -Eq '^Subsystem[[:space:]]+00000003' <<<"$exe_headers" || fail "taskregctl.exe is not a console program"

# "[   0] DeleteScheduleTask" lines of the name table: index and name.
names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' <<<"$dll_headers")
actual=$(cut -d' ' -f2 <<<"$names" | sort | tr '\n' ' ')
expected="DeleteScheduleTask RegisterScheduledTask "
[ "$actual" = "$expected" ] || fail "exports: expected '$expected', got '$actual'"

# "[   0] +base[   1] 1570 Export RVA" lines of the address table.
addresses=$(sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] +base\[ *[0-9]*\] *\([0-9a-f]*\) Export RVA.*/\1 \2/p' <<<"$dll_headers")
image_base=$(awk '/^ImageBase/ {print $2}' <<<"$dll_headers")

# The first return instruction from the export's entry on.
check_return() {
  local name=$1 want=$2 index rva start ret
  index=$(awk -v n="$name" '$2 == n {print $1}' <<<"$names")
  rva=$(awk -v i="$index" '$1 == i {print $2}' <<<"$addresses")
  if [ -z "$index" ] || [ -z "$rva" ]; then
    fail "$name: no address"
    return
  fi
  start=$((0x$image_base + 0x$rva))
  ret=$("$objdump" -d --no-show-raw-insn --start-address=$start --stop-address=$((start + 0x400)) "$dll" |
        grep -m1 -E '[[:space:]]ret[[:space:]]*(\$0x[0-9a-f]+)?$' | sed 's/.*\(ret.*\)$/\1/' | tr -s ' ')
  [ "$ret" = "$want" ] || fail "$name returns with '$ret', expected '$want'"
}
check_return RegisterScheduledTask 'ret $0x10'
check_return DeleteScheduleTask 'ret $0x4'

"$windres" -i "$dll" -O rc 2>/dev/null | grep -q '"OriginalFilename", "taskreg.dll"' ||
  fail "taskreg.dll has no version resource naming it"

[ "$failures" -eq 0 ] && echo "taskreg.dll and taskregctl.exe: all checks passed"
exit $((failures > 0))
