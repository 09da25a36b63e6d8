#!/usr/bin/env bash
# Runs a Windows test program under wine on a virtual X display with wine's X11 driver.
# Usage: on-display.sh WINE-RUNNER PROGRAM [ARGS...]
set -euo pipefail
runner=${1:?wine runner}
shift
export WINE_DISPLAY=x11
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" "$runner" "$@" || status=$?
# The prefix's wineserver must not outlive the display it was started on.
dir=$(cd "$(dirname "$1")" && pwd)
while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
WINEPREFIX="$dir/wineprefix-x11" wineserver -k 2>/dev/null || true
exit $status
