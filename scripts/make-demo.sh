#!/usr/bin/env bash
# make-demo.sh DIR: prepares a demo game folder with a few generated songs.
set -euo pipefail
dir=$1
mkdir -p "$dir/QV5files/Config" "$dir/QV5files/Database/Score" "$dir/songs"
for n in 1 2 3; do
  song="$dir/songs/Demo Song $n"
  mkdir -p "$song"
  for d in 1 2; do
    f="$song/demo${n}_$d.bms"
    [ -e "$f" ] && continue
    {
      printf '#PLAYER 1\r\n#GENRE DEMO\r\n#TITLE Demo Song %s [%s]\r\n#ARTIST qv5\r\n' "$n" "$d"
      printf '#BPM %s\r\n#PLAYLEVEL %s\r\n#RANK 2\r\n#WAV01 kick.wav\r\n' "$((120 + n * 10))" "$((n + d * 3))"
      for m in $(seq 1 32); do
        printf '#%03d11:0101010101010101\r\n#%03d13:00010001\r\n' "$m" "$m"
      done
    } >"$f"
  done
done
echo "$dir"
