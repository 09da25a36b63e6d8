#!/usr/bin/env bash
# Reads the module's export and import tables: the entries hosts look up must be exported by
# their plain names, and the module must not depend on the MinGW runtime DLLs.
set -euo pipefail
module=$1
objdump=${2:-i686-w64-mingw32-objdump}
table=$($objdump -p "$module")
exports=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
          | grep -E '^\s+\[' | grep -o '\] .*' | cut -c3- | sort | tr '\n' ' ')
expected="ExitDll GetPluginFactory InitDll MAIN VSTPluginMain "
if [ "$exports" != "$expected" ]; then
  echo "exports: '$exports', expected '$expected'"; exit 1
fi
if printf '%s\n' "$table" | grep -i -E 'DLL Name: (libstdc|libgcc|libwinpthread)'; then
  echo "the module depends on MinGW runtime DLLs"; exit 1
fi
echo "exports and imports as expected"
