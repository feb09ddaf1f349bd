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
# A small difficulty table kept from a file (its levels become the game's
# level folders below tables/), and scores of the demo player for its lamps.
if [ -n "$made" ]; then
  table="$dir/demo-table"
  mkdir -p "$table"
  printf '{"name":"Demo table","symbol":"\u2605","data_url":"data.json","level_order":["1","2","3","4"]}' \
    >"$table/header.json"
  md5() { md5sum "$dir/songs/Demo Song $1/demo$1_$2.bms" | cut -d' ' -f1; }
  entry() { printf '{"level":"%s","md5":"%s","title":"%s","artist":"%s","url":"%s","url_diff":"%s","comment":"%s"}' "$@"; }
  missing() { printf '%032x' "$1"; }
  {
    printf '['
    entry 1 "$(md5 1 1)" "Demo Song 1 [1]" qv5 "" "" ""
    printf ','; entry 1 "$(md5 1 2)" "Demo Song 1 [2]" qv5 "" "" ""
    printf ','; entry 1 "$(missing 1)" "Not Here Yet" someone "https://example.org/song-a.zip" "https://example.org/song-a-another.bme" "additional chart"
    printf ','; entry 2 "$(md5 2 1)" "Demo Song 2 [1]" qv5 "" "" ""
    printf ','; entry 2 "$(md5 2 2)" "Demo Song 2 [2]" qv5 "" "" ""
    printf ','; entry 2 "$(missing 2)" "Far Away" someone "https://example.org/song-b.zip" "" ""
    printf ','; entry 3 "$(md5 3 1)" "Demo Song 3 [1]" qv5 "" "" ""
    printf ','; entry 3 "$(md5 3 2)" "Demo Song 3 [2]" qv5 "" "" ""
    printf ','; entry 3 "$(missing 3)" "Third Light" another "https://example.org/song-c.zip" "" "bms.example.org"
    printf ','; entry 3 "$(missing 4)" "Third Light [insane]" another "https://example.org/song-c.zip" "https://example.org/song-c-insane.bms" ""
    printf ','; entry 4 "$(missing 5)" "Last Stop" someone "https://example.org/song-d.zip" "" ""
    printf ','; entry 4 "$(missing 6)" "Last Stop [another]" someone "https://example.org/song-d.zip" "" ""
    printf ']'
  } >"$table/data.json"
  "$qv5" --dir "$dir" add-table "$table/header.json" >/dev/null
  score() {
    printf "INSERT OR REPLACE INTO score(hash,clear,perfect,great,good,bad,poor,totalnotes,maxcombo,minbp,playcount,clearcount,failcount,rank,rate,clear_db,op_history,scorehash,ghost,clear_sd,clear_ex,op_best,rseed,complete) VALUES('%s',%s,%s,%s,0,0,0,%s,0,0,1,1,0,0,0,0,0,'','',0,0,0,0,0);" "$@"
  }
  sqlite3 "$db" "$(score "$(md5 1 1)" 5 120 8 128)$(score "$(md5 1 2)" 4 200 40 256)$(score "$(md5 2 1)" 3 90 30 128)$(score "$(md5 2 2)" 2 160 60 256)$(score "$(md5 3 1)" 1 40 40 128)"
fi
echo "$dir"
