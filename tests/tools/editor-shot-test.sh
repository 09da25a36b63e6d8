#!/usr/bin/env bash
# quor-editor-shot end to end under wine: the editor's PNG has the window's size at zoom 1
# and 1.25 (512 × 493 logical pixels), and refused arguments answer non-zero without a file.
# Usage: editor-shot-test.sh WINE-RUNNER QUOR-EDITOR-SHOT.EXE MODULE
set -uo pipefail
runner=${1:?wine runner}
tool=${2:?quor-editor-shot.exe}
module=${3:?module}

if [ -z "${WINE_BUILD_DIR:-}" ]; then
  dir=$(cd "$(dirname "$tool")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  export WINE_BUILD_DIR=$dir
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/quor-editor-shot.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
shot() { "$runner" "$tool" "$@" --module "$module"; }
# Width and height from the PNG header (big-endian words at bytes 16 and 20).
size() { echo "$(od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4, $7*256+$8}')"; }

for case in "1 512 493" "1.25 640 616" "2 1024 986"; do
  set -- $case
  out="$work/editor-$1.png"
  shot "$out" --zoom "$1" "Fx Mix=7.5" >/dev/null || fail "zoom $1 exited $?"
  [ -f "$out" ] && [ "$(size "$out")" = "$2 $3" ] || fail "zoom $1: size $(size "$out" 2>/dev/null), not $2 $3"
done

shot "$work/bad.png" "Loudness=11" 2>/dev/null
[ $? -eq 1 ] || fail "an unknown parameter must exit 1"
[ ! -e "$work/bad.png" ] || fail "an unknown parameter must write nothing"
shot "$work/bad.png" --zoom 0 2>/dev/null
[ $? -eq 2 ] || fail "zoom 0 must exit 2"
"$runner" "$tool" 2>/dev/null
[ $? -eq 2 ] || fail "no output file must exit 2"

exit $((failures > 0))
