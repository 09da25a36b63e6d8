#!/usr/bin/env bash
# The long runs that CI keeps short: a million mutated state chunks through the real module
# under wine and natively under the sanitizers, and the threaded host cases under
# ThreadSanitizer in a third build (build/tsan). Usage: stress.sh [chunks] [thread rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
chunks=${1:-1000000}
rounds=${2:-20}
jobs=${JOBS:-4}

"$root/scripts/build.sh" native -j "$jobs" hostile_host_tests
"$root/scripts/build.sh" win32 -j "$jobs" hostile_host_tests
"$root/scripts/build.sh" tsan -j "$jobs" hostile_host_tests

echo "== state fuzz, $chunks chunks, native (ASan/UBSan)"
SORV_STATE_FUZZ_CHUNKS=$chunks "$root/build/native/tests/hostile_host_tests" \
  --gtest_filter='*StateChunks*'

echo "== state fuzz, $chunks chunks, the Windows module under wine"
export WINE_BUILD_DIR="$root/build/win32"
"$root/cmake/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
SORV_STATE_FUZZ_CHUNKS=$chunks "$root/cmake/wine-run.sh" \
  "$root/build/win32/tests/hostile_host_tests.exe" --gtest_filter='*StateChunks*'

echo "== threaded host cases, $rounds rounds, the Windows module under wine"
SORV_THREAD_ROUNDS=$rounds "$root/cmake/wine-run.sh" \
  "$root/build/win32/tests/hostile_host_tests.exe" --gtest_filter='*Thread*'
WINEPREFIX="$root/build/win32/wineprefix" wineserver -k 2>/dev/null || true

echo "== threaded host cases, $rounds rounds, ThreadSanitizer"
TSAN_OPTIONS=halt_on_error=1 SORV_THREAD_ROUNDS=$rounds \
  "$root/build/tsan/tests/hostile_host_tests" --gtest_filter='*Thread*'
