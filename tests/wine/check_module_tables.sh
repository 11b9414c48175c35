#!/usr/bin/env bash
# Checks what a host and the Windows loader see of a module, Pelo2SPI or
# Pelo2Layers (.spi 32-bit, .sph 64-bit):
#  - a PE DLL of the expected architecture;
#  - exactly the module's six entry points and their five W forms exported, by their
#    plain names (no leading underscore, no @N), since hosts look them up
#    with GetProcAddress;
#  - 32-bit only (x64 has one calling convention): each compiled with the
#    standard calling convention and the argument bytes of its prototype,
#    read from the decorated names in the object that defines them (a cdecl
#    entry point would leave the host's stack unbalanced);
#  - imports only from DLLs that every Windows has, so the single file works
#    when copied into a viewer's folder.
# usage: check_module_tables.sh OBJDUMP NM MODULE "OBJECT;OBJECT..." i386|x86-64 picture|archive
#   (the objects the module was linked from, as CMake lists them; the kind of
#   plug-in the module is)
set -euo pipefail

objdump=$1
nm=$2
module=$3
IFS=';' read -ra objects <<<"$4"
arch=$5
kind=$6

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

headers=$("$objdump" -p "$module")

grep -q "file format pei-$arch\$" <<<"$headers" || fail "not a pei-$arch file"
characteristics=$(sed -n 's/^Characteristics 0x\([0-9a-fA-F]*\)$/\1/p' <<<"$headers")
# IMAGE_FILE_DLL
((0x$characteristics & 0x2000)) || fail "not a DLL (characteristics 0x$characteristics)"

# Bytes of arguments each entry point removes from the stack.
declare -A argument_bytes=([GetPluginInfo]=12 [IsSupported]=8 [ConfigurationDlg]=8
  [GetPluginInfoW]=12 [IsSupportedW]=8)
case $kind in
  picture)
    argument_bytes+=([GetPictureInfo]=16 [GetPicture]=28 [GetPreview]=28
      [GetPictureInfoW]=16 [GetPictureW]=28 [GetPreviewW]=28)
    ;;
  archive)
    argument_bytes+=([GetArchiveInfo]=16 [GetFileInfo]=20 [GetFile]=24
      [GetArchiveInfoW]=16 [GetFileInfoW]=20 [GetFileW]=24)
    ;;
  *)
    echo "unknown module kind: $kind" >&2
    exit 2
    ;;
esac
expected_exports=$(printf '%s\n' "${!argument_bytes[@]}" | sort)
actual_exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] \(.*\)$/\1/p' \
  <<<"$headers" | sort)
if [ "$actual_exports" != "$expected_exports" ]; then
  fail "exports differ (expected, then actual):"
  diff <(echo "$expected_exports") <(echo "$actual_exports") >&2 || true
fi

if [ "$arch" = i386 ]; then
  defined=$("$nm" --defined-only "${objects[@]}" 2>/dev/null || true)
  for name in "${!argument_bytes[@]}"; do
    grep -qE " T _${name}@${argument_bytes[$name]}\$" <<<"$defined" ||
      fail "$name is not defined as stdcall with ${argument_bytes[$name]} argument bytes"
  done
fi

allowed_imports="KERNEL32.DLL USER32.DLL SHLWAPI.DLL MSVCRT.DLL"
actual_imports=$(sed -n 's/^\tDLL Name: \(.*\)$/\1/p' <<<"$headers" | tr '[:lower:]' '[:upper:]' |
  sort -u)
[ -n "$actual_imports" ] || fail "no import table found"
for dll in $actual_imports; do
  case " $allowed_imports " in
    *" $dll "*) ;;
    *) fail "imports from $dll" ;;
  esac
done

echo "exports:" $actual_exports
echo "imports:" $actual_imports
exit $failed
