#!/usr/bin/env bash
# make-demo.sh DIR QV5: prepares a demo game folder: a few generated songs, a
# player "demo" (password "demo") and the songs registered as a song folder.
# The folder itself is the one `QV5 init` makes, with the songs put in first.
set -euo pipefail
dir=$1
qv5=$2
mkdir -p "$dir/songs"
for n in 1 2 3; do
  song="$dir/songs/Demo Song $n"
  mkdir -p "$song"
  for d in 1 2; do
    f="$song/demo${n}_$d.bms"
    [ -e "$f" ] && continue
    {
      printf '#PLAYER 1\r\n#GENRE DEMO\r\n#TITLE Demo Song %s [%s]\r\n#ARTIST qv5\r\n' "$n" "$d"
      printf '#BPM %s\r\n#PLAYLEVEL %s\r\n#RANK 2\r\n#WAV01 kick.wav\r\n' "$((120 + n * 10))" "$((n + d * 3))"
      for m in $(seq 1 $((16 * d))); do
        printf '#%03d11:0101010101010101\r\n#%03d13:00010001\r\n' "$m" "$m"
      done
    } >"$f"
  done
done
made=
if [ ! -e "$dir/QV5files" ]; then
  "$qv5" init "$dir" >/dev/null
  made=1
fi
db="$dir/QV5files/Database/Score/demo.db"
if [ ! -e "$db" ]; then
  digest=$(printf '%s' demo | md5sum | cut -d' ' -f1)
  sqlite3 "$db" "CREATE TABLE player(id TEXT primary key,hash TEXT,name TEXT,irid INTEGER,irname TEXT,playcount INTEGER,clear INTEGER,fail INTEGER,perfect INTEGER,great INTEGER,good INTEGER,bad INTEGER,poor INTEGER,playtime INTEGER,combo INTEGER,maxcombo INTEGER,grade_7 INTEGER,grade_5 INTEGER,grade_14 INTEGER,grade_10 INTEGER,grade_9 INTEGER,trial INTEGER,option INTEGER,systemversion INTEGER,gradeversion INTEGER, trialversion INTEGER,scorehash TEXT); INSERT INTO player (id , hash , name , systemversion) VALUES('demo','$digest','demo' , '1');"
fi
# The new folder's config.xml signs the demo player in.
if [ -n "$made" ]; then
  sed -i 's|<id></id>|<id>demo</id>|; s|<pass></pass>|<pass>demo</pass>|' "$dir/QV5files/Config/config.xml"
fi
echo "$dir"
