#!/usr/bin/env bash
# Reads the module's export and import tables: the entries hosts look up must be exported by
# their plain names, and the module must not depend on the MinGW runtime DLLs.
set -euo pipefail
module=$1
objdump=${2:-i686-w64-mingw32-objdump}
table=$($objdump -p "$module")
exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
          | grep -E '^\s+\[' | grep -o '\] .*' | cut -c3- | grep -v '^_ACF' | sort | tr '\n' ' ')
expected="ExitDll GetPluginFactory InitDll MAIN VSTPluginMain "
if [ "$exports" != "$expected" ]; then
  echo "exports: '$exports', expected '$expected'"; exit 1
fi
# The AAX entries keep their standard-call decorated names, each at its fixed ordinal.
base=$(printf '%s\n' "$table" | sed -n 's/.*Ordinal Base[[:space:]]*\([0-9][0-9]*\).*/\1/p' | head -1)
aax=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
      | sed -n 's/^\s*\[ *\([0-9]*\)\] \(_ACF.*\)$/\2 \1/p' \
      | while read -r name index; do echo "$name:$((index + base))"; done | sort | tr '\n' ' ')
expected="_ACFCanUnloadNow@4:1 _ACFGetClassFactory@16:2 _ACFGetSDKVersion@4:3 \
_ACFRegisterComponent@12:4 _ACFRegisterPlugin@8:5 _ACFShutdown@4:6 _ACFStartup@4:7 "
if [ "$aax" != "$expected" ]; then
  echo "AAX exports: '$aax', expected '$expected'"; exit 1
fi
if printf '%s\n' "$table" | grep -i -E 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
  echo "the module depends on MinGW runtime DLLs"; exit 1
fi
echo "exports and imports as expected"
