#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test: natively under the
# sanitizers, and the Windows module and tests under wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)

"$root/scripts/build.sh" native
(cd "$root/build/native" && ctest --output-on-failure -j "$jobs")
# The threaded host cases (VST 3, VST 2 and AAX) under ThreadSanitizer, in a third build
# without the other sanitizers.
"$root/scripts/build.sh" tsan vst2_tests hostile_host_tests aax_tests
"$root/build/tsan/tests/vst2_tests"
TSAN_OPTIONS=halt_on_error=1 "$root/build/tsan/tests/aax_tests" --gtest_filter='*Thread*'
TSAN_OPTIONS=halt_on_error=1 "$root/build/tsan/tests/hostile_host_tests" --gtest_filter='*Thread*'

"$root/scripts/build.sh" win32
# Create the wine prefix once before tests run in parallel.
WINE_BUILD_DIR="$root/build/win32" "$root/cmake/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
status=0
(cd "$root/build/win32" && ctest --output-on-failure -j 4) || status=$?
WINEPREFIX="$root/build/win32/wineprefix" wineserver -k 2>/dev/null || true
exit $status
