#!/usr/bin/env bash
# Runs one Windows program of the cross build under wine, in the build tree's own prefix.
# The prefix lives next to the build's CMakeCache.txt; WINE_BUILD_DIR overrides the search.
set -e
dir=${WINE_BUILD_DIR:-}
find_build_tree() {
  local d=$1
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  echo "$d"
}
if [ -z "$dir" ]; then
  dir=$(find_build_tree "$(pwd)")
  # Outside a build tree, the program's own tree will do.
  if [ "$dir" = / ] && [ -e "${1:-}" ]; then
    dir=$(find_build_tree "$(cd "$(dirname "$1")" && pwd)")
  fi
  if [ "$dir" = / ]; then
    echo "wine-run.sh: not inside a build tree; set WINE_BUILD_DIR" >&2
    exit 2
  fi
fi
# WINE_DISPLAY=x11: a prefix of its own whose windows go to the X display in DISPLAY, for
# tests of what reaches the screen; the wineserver of the null-driver prefix stays untouched.
if [ "${WINE_DISPLAY:-}" = x11 ]; then
  export WINEPREFIX="$dir/wineprefix-x11"
else
  export WINEPREFIX="$dir/wineprefix"
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export HOME="$dir/winehome"
mkdir -p "$HOME"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine's null display driver: windows exist and get their messages without an X display, so
# the editor's window tests run anywhere. The desktop takes the driver when it starts.
if [ "${WINE_DISPLAY:-}" != x11 ] &&
   ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
  wineserver -w
fi
exec wine "$@"
