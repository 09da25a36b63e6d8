#!/usr/bin/env bash
# quor-render end to end under wine: synthesises inputs, renders them mono and stereo at
# 44.1 and 48 kHz in float and double through the built module, checks every output's
# length (input plus the effect's 3.5 s tail), that it is finite, non-silent and rings on
# after the input, that every refused input or parameter value answers non-zero with one
# line on stderr and no output file, and that no case writes the input or another file.
# Usage: render-test.sh WINE-RUNNER QUOR-RENDER.EXE MODULE
set -uo pipefail
runner=${1:?wine runner}
tool=${2:?quor-render.exe}
module=${3:?module}
tail_seconds=3.5

# The wine prefix belongs to the build tree that holds the tool.
if [ -z "${WINE_BUILD_DIR:-}" ]; then
  dir=$(cd "$(dirname "$tool")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  export WINE_BUILD_DIR=$dir
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/quor-render-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
render() { "$runner" "$tool" --module "$module" "$@"; }

u16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }

# Sets fmt_tag, channels, rate, bits, align, data_offset, data_size from a WAV file's chunks.
read_header() {
  local file=$1 size pos id csize
  size=$(stat -c %s "$file")
  data_offset=0 data_size=0 fmt_tag=0
  pos=12
  while [ $((pos + 8)) -le "$size" ]; do
    id=$(dd if="$file" bs=1 skip="$pos" count=4 2>/dev/null)
    csize=$(u32 "$file" $((pos + 4)))
    if [ "$id" = "fmt " ]; then
      fmt_tag=$(u16 "$file" $((pos + 8)))
      channels=$(u16 "$file" $((pos + 10)))
      rate=$(u32 "$file" $((pos + 12)))
      align=$(u16 "$file" $((pos + 20)))
      bits=$(u16 "$file" $((pos + 22)))
    elif [ "$id" = "data" ]; then
      data_offset=$((pos + 8)) data_size=$csize
      return 0
    fi
    pos=$((pos + 8 + csize + (csize & 1)))
  done
  return 1
}

frames_of() { read_header "$1" && echo $((data_size / align)); }

# Prints "non-finite-count peak tail-peak" of a 32-bit float WAV; the tail starts at frame $2.
float_stats() {
  read_header "$1" || return 1
  od -An -v -f -j "$data_offset" -N "$data_size" "$1" |
    awk -v tail=$(($2 * channels)) '
      { for (i = 1; i <= NF; i++) {
          if ($i ~ /nan|inf/) { bad++ } else {
            v = $i + 0; if (v < 0) v = -v
            if (v > peak) peak = v
            if (n >= tail && v > tailpeak) tailpeak = v
          }
          n++ } }
      END { printf "%d %g %g\n", bad, peak, tailpeak }'
}

# Little-endian bytes as printf escapes.
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# Rewraps the data of a plain 16-bit PCM file under a WAVE_FORMAT_EXTENSIBLE header.
make_extensible() {
  local in=$1 out=$2
  read_header "$in" || return 1
  {
    printf "RIFF$(le32 $((4 + 48 + 8 + data_size)))WAVEfmt $(le32 40)"
    printf "$(le16 65534)$(le16 "$channels")$(le32 "$rate")$(le32 $((rate * align)))$(le16 "$align")$(le16 16)"
    printf "$(le16 22)$(le16 16)$(le32 3)$(le16 1)"
    printf '\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71'
    printf "data$(le32 "$data_size")"
    tail -c +$((data_offset + 1)) "$in" | head -c "$data_size"
  } >"$out"
}

echo "== synthesising inputs in $work"
declare -A input_frames input_channels input_rate
for spec in "mono44 1 44100 pcm16" "stereo44 2 44100 pcm24" "mono48 1 48000 pcm32" "stereo48 2 48000 float"; do
  set -- $spec
  input_channels[$1]=$2 input_rate[$1]=$3
  if ! "$runner" "$tool" --synth "$work/$1.wav" --seconds 1 --channels "$2" --rate "$3" --encoding "$4"; then
    fail "synthesising $1"
    continue
  fi
  input_frames[$1]=$(frames_of "$work/$1.wav")
  [ "${input_frames[$1]}" = "$3" ] || fail "$1: ${input_frames[$1]} frames, expected $3"
done
make_extensible "$work/mono44.wav" "$work/ext44.wav" || fail "making the extensible input"
input_frames[ext44]=${input_frames[mono44]} input_channels[ext44]=1 input_rate[ext44]=44100

echo "== rendering"
for name in mono44 stereo44 mono48 stereo48 ext44; do
  for precision in float double; do
    out="$work/$name-$precision.wav"
    log="$work/$name-$precision.log"
    if ! render "$work/$name.wav" "$out" --precision "$precision" --block 300 \
        "Fx Mix=7" "Pre-Delay=30" "Tone=4" >"$log" 2>&1; then
      fail "$name $precision: render failed: $(cat "$log")"
      continue
    fi
    [ -f "$out.partial" ] && fail "$name $precision: left $out.partial"
    read_header "$out" || { fail "$name $precision: no data chunk"; continue; }
    tail=$(awk -v s=$tail_seconds -v r="${input_rate[$name]}" 'BEGIN { t = s * r; printf "%d", (t == int(t)) ? t : int(t) + 1 }')
    expected=$((input_frames[$name] + tail))
    frames=$((data_size / align))
    [ "$fmt_tag" = 3 ] && [ "$bits" = 32 ] || fail "$name $precision: output is not 32-bit float"
    [ "$channels" = "${input_channels[$name]}" ] || fail "$name $precision: $channels channels"
    [ "$rate" = "${input_rate[$name]}" ] || fail "$name $precision: $rate Hz"
    [ "$frames" = "$expected" ] || fail "$name $precision: $frames frames, expected $expected"
    grep -q "^tail        $tail samples" "$log" || fail "$name $precision: the reported tail is not $tail samples"
    grep -q "^GR Meter    peak 0\.[0-9]" "$log" || fail "$name $precision: no GR Meter peak reported"
    read -r bad peak tailpeak < <(float_stats "$out" "${input_frames[$name]}")
    [ "$bad" = 0 ] || fail "$name $precision: $bad non-finite samples"
    awk -v p="$peak" 'BEGIN { exit !(p > 0.001) }' || fail "$name $precision: silent output (peak $peak)"
    awk -v p="$tailpeak" 'BEGIN { exit !(p > 0.0001) }' || fail "$name $precision: no reverb after the input (tail peak $tailpeak)"
    echo "$name $precision: $frames frames, peak $peak, tail peak $tailpeak, $(grep '^GR Meter' "$log")"
  done
done

echo "== through the VST 2.4 entry"
for precision in float double; do
  out="$work/vst2-$precision.wav"
  if ! render --vst2 "$work/stereo44.wav" "$out" --precision "$precision" "Fx Mix=7" \
      "Tone=4" >"$work/vst2.log" 2>&1; then
    fail "vst2 $precision: render failed: $(cat "$work/vst2.log")"
    continue
  fi
  grep -q "(VST 2.4 entry)" "$work/vst2.log" || fail "vst2 $precision: not the VST 2.4 entry"
  expected=$((input_frames[stereo44] + 154350))
  [ "$(frames_of "$out")" = "$expected" ] || fail "vst2 $precision: not $expected frames"
  read -r bad peak tailpeak < <(float_stats "$out" "${input_frames[stereo44]}")
  [ "$bad" = 0 ] || fail "vst2 $precision: $bad non-finite samples"
  awk -v p="$tailpeak" 'BEGIN { exit !(p > 0.0001) }' || fail "vst2 $precision: no reverb (tail peak $tailpeak)"
  echo "vst2 $precision: peak $peak, tail peak $tailpeak"
done

echo "== refusals"
printf 'This is a text file, not audio.\n' >"$work/text.wav"
printf "RIFF$(le32 40)WAVEfmt $(le32 16)$(le16 1)$(le16 1)$(le32 8000)$(le32 8000)$(le16 1)$(le16 8)data$(le32 4)\x80\x80\x80\x80" >"$work/pcm8.wav"
"$runner" "$tool" --synth "$work/three.wav" --seconds 0.1 --channels 3 >/dev/null || fail "synthesising three channels"
printf 'MZ this is no module' >"$work/broken.vst3"
printf 'keep me' >"$work/kept.wav"

# refuse STATUS OUTPUT ARGS...: the run must exit STATUS, say one line on stderr and leave
# OUTPUT as it was (absent, or kept.wav's old text).
refuse() {
  local status=$1 out=$2 before after code
  shift 2
  before=$({ sha256sum <"$out"; } 2>/dev/null || echo absent)
  "$runner" "$tool" "$@" >"$work/refusal.out" 2>"$work/refusal.err"
  code=$?
  after=$({ sha256sum <"$out"; } 2>/dev/null || echo absent)
  if [ "$code" != "$status" ]; then
    fail "$* answered $code, expected $status"
  elif [ "$(wc -l <"$work/refusal.err")" != 1 ]; then
    fail "$* said $(wc -l <"$work/refusal.err") lines on stderr: $(cat "$work/refusal.err")"
  fi
  [ "$before" = "$after" ] || fail "$* changed or created $out"
  [ -e "$out.partial" ] && fail "$* left $out.partial"
  echo "$code: $(cat "$work/refusal.err")"
}
out="$work/refused.wav"
refuse 1 "$out" --module "$module" "$work/text.wav" "$out"
refuse 1 "$out" --module "$module" "$work/pcm8.wav" "$out"
refuse 1 "$out" --module "$module" "$work/three.wav" "$out"
refuse 1 "$out" --module "$module" "$work/missing.wav" "$out"
refuse 1 "$out" --module "$module" "$work/stereo44.wav" "$out" "Fx Mixx=7"
refuse 1 "$out" --module "$module" "$work/stereo44.wav" "$out" "Fx Mix=11"
refuse 1 "$out" --module "$module" "$work/stereo44.wav" "$out" "Pre-Delay=151"
refuse 1 "$out" --module "$module" "$work/stereo44.wav" "$out" "GR Meter=0.5"
refuse 1 "$out" --module "$work/broken.vst3" "$work/stereo44.wav" "$out"
refuse 1 "$out" --module "$work/missing.vst3" "$work/stereo44.wav" "$out"
refuse 1 "$work/kept.wav" --module "$module" "$work/stereo44.wav" "$work/kept.wav" "Tone=-1"
refuse 2 "$out" --module "$module" "$work/stereo44.wav" "$out" --block 0
refuse 2 "$out" "$work/stereo44.wav"
# Values are numbers in the parameter's units and range; the effect's lenient reading of
# other texts is not asked.
for setting in "Tone=abc" "Fx Mix=7abc" "Fx Mix=5,5" "Fx Mix=11%" "Fx Mix=1e309" \
    "Pre-Delay=200 ms" "Pre-Delay=30 s" "Tone=−1" "Tone=nan"; do
  refuse 1 "$out" --module "$module" "$work/stereo44.wav" "$out" "$setting"
done
# The same through the VST 2.4 entry, whose own parser would clamp or guess.
for setting in "Fx Mix=11" "Fx Mix=5,5" "Pre-Delay=151" "Power=0.5"; do
  refuse 1 "$out" --module "$module" --vst2 "$work/stereo44.wav" "$out" "$setting"
done

echo "== the input is never written"
# Every case must leave the input's bytes as they were; an output that is the input file,
# under whatever name, is refused.
mkdir "$work/safe"
cp "$work/mono44.wav" "$work/safe/in.wav"
in_hash=$(sha256sum <"$work/safe/in.wav")
intact() { [ "$(sha256sum <"$1")" = "$in_hash" ] || fail "$2: the input changed"; }
ln "$work/safe/in.wav" "$work/safe/link.wav"
cd "$work/safe"
for name in in.wav ./in.wav IN.WAV ../safe/in.wav link.wav; do
  refuse 1 "$work/safe/in.wav" --module "$module" in.wav "$name"
  intact "$work/safe/in.wav" "in.wav $name"
done
cd - >/dev/null
ls "$work/safe" | grep -q partial && fail "a refusal left a temporary file: $(ls "$work/safe")"
rm "$work/safe/link.wav"

# A temporary name that is taken is left alone, and so is an input under such a name.
cp "$work/safe/in.wav" "$work/safe/out.wav.partial"
printf 'keep me' >"$work/safe/out.wav.1.partial"
printf 'older' >"$work/safe/out.wav"
render "$work/safe/out.wav.partial" "$work/safe/out.wav" >/dev/null 2>&1 || fail "rendering from out.wav.partial failed"
intact "$work/safe/out.wav.partial" "out.wav.partial out.wav"
[ "$(cat "$work/safe/out.wav.1.partial")" = "keep me" ] || fail "out.wav.1.partial was changed"
[ "$(frames_of "$work/safe/out.wav")" = $((input_frames[mono44] + 44100 * 7 / 2)) ] || fail "out.wav was not replaced by the render"
[ "$(ls "$work/safe" | tr '\n' ' ')" = "in.wav out.wav out.wav.1.partial out.wav.partial " ] || fail "files left: $(ls "$work/safe")"
echo "out.wav.partial out.wav: rendered beside the taken temporary names"

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "all renderer checks passed"
