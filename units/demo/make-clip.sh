#!/bin/sh
# Makes one clip of the demo unit: 16 kHz mono 16-bit, under a second.
#   make-clip.sh OUT.wav speak WORDS...   spoken by espeak-ng (a tone without it)
#   make-clip.sh OUT.wav tone SOX-EFFECTS...
set -eu
out=$1
kind=$2
shift 2
tmp="$out.tmp.wav"
trap 'rm -f "$tmp"' EXIT
format="-r 16000 -c 1 -b 16 -e signed-integer"
if [ "$kind" = speak ] && command -v espeak-ng >/dev/null 2>&1; then
  espeak-ng -s 210 -w "$tmp" "$*"
  # Trim the speaker's leading and trailing silence, keep it short, no click at the end.
  sox -V1 "$tmp" $format "$out" silence 1 0.01 0.3% reverse silence 1 0.01 0.3% reverse \
    trim 0 0.95 gain -n -3 fade 0.003 -0 0.02
elif [ "$kind" = speak ]; then
  sox -V1 -n $format "$out" synth 0.3 sine 660 gain -9 fade 0.01 -0 0.05
else
  sox -V1 -n $format "$out" "$@" trim 0 0.95 gain -n -6 fade 0.003 -0 0.02
fi
