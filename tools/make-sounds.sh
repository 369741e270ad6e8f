#!/usr/bin/env bash
# Makes the game's two sounds with sox: data/set.wav, the short snap of two
# pieces joining, and data/win.wav, a plucked C-E-G-C arpeggio for a solved
# jigsaw. The results are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v sox >/dev/null || { echo "sox is needed (scripts/setup-deps.sh installs it)" >&2; exit 1; }

fmt=(-r 44100 -c 1 -b 16)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Snap: 35 ms of band-passed pink noise with a fast attack and decay, plus a
# faint low knock so it sounds like wood, not static.
sox -R -n "${fmt[@]}" "$tmp/noise.wav" synth 0.035 pinknoise band 2500 1200 fade q 0.001 0.035 0.03 gain -3
sox -R -n "${fmt[@]}" "$tmp/knock.wav" synth 0.035 sine 420 fade q 0.001 0.035 0.03 gain -14
sox -R -m "$tmp/noise.wav" "$tmp/knock.wav" "${fmt[@]}" data/set.wav norm -4

# Fanfare: four plucked notes 110 ms apart, the last one held, with a little
# room around them; the pluck's hiss above 5 kHz is taken off.
notes=(C5 E5 G5 C6)
mix=()
for i in "${!notes[@]}"; do
  length=0.9
  [ "$i" -eq 3 ] && length=1.4
  delay=$(awk "BEGIN { print $i * 0.11 }")
  sox -R -n "${fmt[@]}" "$tmp/n$i.wav" synth "$length" pluck "${notes[$i]}" fade q 0.004 "$length" 0.5 pad "$delay" 0
  mix+=("$tmp/n$i.wav")
done
sox -R -m "${mix[@]}" "${fmt[@]}" "$tmp/arpeggio.wav"
sox -R "$tmp/arpeggio.wav" "${fmt[@]}" data/win.wav lowpass 5000 reverb 35 50 60 reverse fade q 0.3 reverse norm -3

ls -l data/set.wav data/win.wav
