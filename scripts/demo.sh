#!/usr/bin/env bash
# The README's demo: installs what is missing, builds the Windows module and the renderer
# in build/win32, synthesises a short test input (no sample files from anywhere) and renders
# it through QUOR-515 with a few settings, mono and stereo, into out/; pictures of the
# editor window go to out/editor.png and out/editor-125.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/out"

"$root/scripts/setup.sh"
"$root/scripts/build.sh" win32 quor-render quor-editor-shot

export WINE_BUILD_DIR="$root/build/win32"
render() { "$root/cmake/wine-run.sh" "$root/build/win32/bin/quor-render.exe" "$@"; }

mkdir -p "$out"
render --synth "$out/input-stereo.wav" --seconds 2 --channels 2
render --synth "$out/input-mono.wav" --seconds 2 --channels 1
render --list

run() {
  echo
  echo "== $*"
  render "$@"
}
run "$out/input-stereo.wav" "$out/stereo-default.wav"
run "$out/input-stereo.wav" "$out/stereo-fx-mix-10.wav" "Fx Mix=10"
run "$out/input-stereo.wav" "$out/stereo-pre-delay-100-tone-2.wav" "Pre-Delay=100" "Tone=2"
run "$out/input-stereo.wav" "$out/stereo-limiter-8-double.wav" "Fx Limiter=8" --double
run "$out/input-mono.wav" "$out/mono-default.wav"
run "$out/input-mono.wav" "$out/mono-fx-mix-10.wav" "Fx Mix=10"

# The editor window as a host shows it, at 100 % and 125 %.
"$root/cmake/wine-run.sh" "$root/build/win32/bin/quor-editor-shot.exe" "$out/editor.png" \
  "Fx Mix=7.5" "Pre-Delay=40"
"$root/cmake/wine-run.sh" "$root/build/win32/bin/quor-editor-shot.exe" "$out/editor-125.png" \
  --zoom 1.25 "Fx Mix=7.5" "Pre-Delay=40"

echo
echo "The WAV files and the editor's pictures are in $out:"
ls -1 "$out"/*.wav "$out"/*.png
