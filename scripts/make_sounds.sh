#!/bin/sh
# Makes the game's own default sounds with sox: the ten event sounds and the background
# tune, 16-bit mono WAV, the same bytes at every run (no dither, fixed random seed).
# Usage: make_sounds.sh OUTPUT_FOLDER
set -eu
out=$1
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sx() { sox -R -D -V1 "$@"; }
# tone FILE SECONDS SYNTH-ARGS... : one sound with soft ends, so that it never clicks
tone() {
    file=$1 len=$2
    shift 2
    sx -n -r 22050 -c 1 -b 16 "$file" synth "$len" "$@" fade q 0.004 "$len" 0.03
}

tone "$out/left1.WAV" 0.07 sine 760-520 vol 0.5
tone "$out/right1.WAV" 0.07 sine 520-760 vol 0.5
tone "$out/rotate1.WAV" 0.09 triangle 880-1320 vol 0.45
tone "$out/inverse1.WAV" 0.16 square 300-900 vol 0.25
tone "$out/drop1.WAV" 0.22 sine 1100-180 vol 0.55
tone "$out/down1.WAV" 0.14 sine 160-55 vol 0.9
tone "$tmp/thud.wav" 0.12 brownnoise vol 0.9
sx "$tmp/thud.wav" "$out/down2.WAV" lowpass 500 fade q 0.002 0.12 0.06
tone "$tmp/swish.wav" 0.28 pinknoise vol 0.5
sx "$tmp/swish.wav" "$out/drop2.WAV" bandpass 1800 1.2q fade q 0.05 0.28 0.2
tone "$tmp/n1.wav" 0.09 pluck C5 vol 0.7
tone "$tmp/n2.wav" 0.09 pluck E5 vol 0.7
tone "$tmp/n3.wav" 0.09 pluck G5 vol 0.7
tone "$tmp/n4.wav" 0.22 pluck C6 vol 0.7
sx "$tmp/n1.wav" "$tmp/n2.wav" "$tmp/n3.wav" "$tmp/n4.wav" "$out/dellin1.WAV"
tone "$tmp/v1.wav" 0.35 sine 1200-2400 vol 0.35
sx "$tmp/v1.wav" "$out/vorblin1.WAV" tremolo 18 60

# The background tune: a bass line and a melody, every note the same length and faded at
# both ends, so the tune starts and ends in silence and loops without a click.
beat=0.3
i=0
for n in A2 A2 E3 A2 F2 F2 C3 F2 G2 G2 D3 G2 E2 E2 B2 E2; do
    tone "$tmp/b$(printf %02d $i).wav" $beat pluck $n vol 0.6
    i=$((i + 1))
done
i=0
for n in E4 A4 C5 B4 A4 C5 E5 D5 C5 B4 G4 B4 D5 B4 G#4 B4; do
    tone "$tmp/m$(printf %02d $i).wav" $beat sine $n vol 0.18
    i=$((i + 1))
done
sx "$tmp"/b??.wav "$tmp/bass.wav"
sx "$tmp"/m??.wav "$tmp/melody.wav"
sx -m "$tmp/bass.wav" "$tmp/melody.wav" "$tmp/tune.wav"
sx "$tmp/tune.wav" "$tmp/tune2.wav" repeat 1
sx "$tmp/tune2.wav" "$out/bkgmusic.WAV" vol 2.2
