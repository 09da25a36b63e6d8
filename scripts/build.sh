#!/usr/bin/env bash
# Configures and builds one of the two builds: native (Linux, sanitizers) or win32 (the module).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build.sh native|win32|tsan [targets...]}
shift
case "$kind" in
  native) args=() ;;
  win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
  # Native, under ThreadSanitizer instead of the other sanitizers.
  tsan) args=(-DSORV_SANITIZE=OFF "-DCMAKE_CXX_FLAGS=-fsanitize=thread -O1 -g"
              -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread) ;;
  *) echo "unknown build: $kind" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$root/build/$kind" -G Ninja "${args[@]}" >/dev/null
ninja -C "$root/build/$kind" "$@"
