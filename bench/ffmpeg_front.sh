#!/usr/bin/env bash
# The front's cost: one 600 s WAV converted to MP3 at 128k by the system's ffmpeg and by the
# front, taking turns so that both meet the same machine, and the ratio of their total times.
#     bench/ffmpeg_front.sh [build/Tunemill/Resources/ffmpeg] [rounds]
set -euo pipefail
front=${1:-$(dirname "$0")/../build/Tunemill/Resources/ffmpeg}
rounds=${2:-3}
system=$(command -v ffmpeg)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$system" -v error -f lavfi -i sine=frequency=440:duration=600 -y "$work/long.wav"

seconds() {
    local start end
    start=$(date +%s.%N)
    "$1" -i "$work/long.wav" -y -ab 128k -f mp3 "$work/long-128k.mp3" </dev/null 2>/dev/null
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

plain=0
fronted=0
for ((i = 0; i < rounds; i++)); do
    plain=$(awk -v a="$plain" -v b="$(seconds "$system")" 'BEGIN { print a + b }')
    fronted=$(awk -v a="$fronted" -v b="$(seconds "$front")" 'BEGIN { print a + b }')
done
awk -v n="$rounds" -v a="$plain" -v b="$fronted" 'BEGIN {
    printf "P2 front/system, 600 s WAV to MP3 128k, %d rounds: system %.3f s, front %.3f s, ratio %.4f (goal <= 1.01)\n", n, a, b, b / a
}'
