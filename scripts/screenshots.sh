#!/usr/bin/env bash
# screenshots.sh QV5 [OUT]: pictures of every page in Japanese and English,
# made by the program itself on a fresh demo folder (run under xvfb-run).
# SONGS is the song list window, TABLES the tables window.
set -euo pipefail
qv5=$(realpath "$1")
out=$(realpath "${2:-docs}")
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
bash "$root/scripts/make-demo.sh" "$demo" "$qv5" >/dev/null
# The remembered choices (the song list's columns, sort and filters) of a
# fresh user: the pictures neither depend on nor change the real ones.
export XDG_CONFIG_HOME="$demo/.config"
config="$demo/QV5files/Config/config.xml"
set_language() {
  python3 - "$1" "$2" <<'PY'
import re, sys
path, value = sys.argv[1], sys.argv[2]
text = open(path, encoding="latin-1").read()
if re.search(r"<language>[^<]*</language>", text):
    text = re.sub(r"<language>[^<]*</language>", f"<language>{value}</language>", text, count=1)
elif "<system>" in text:
    text = text.replace("<system>", f"<system><language>{value}</language>", 1)
else:
    text = text.replace("</config>", f"<system><language>{value}</language></system></config>", 1)
open(path, "w", encoding="latin-1").write(text)
PY
}
for lang in ja en; do
  value=0
  [ "$lang" = en ] && value=1
  set_language "$config" "$value"
  for tab in MAIN JUKEBOX1 JUKEBOX2 OPTION SELECT SYSTEM ABOUT SONGS TABLES; do
    name=$(echo "$tab" | tr 'A-Z' 'a-z')
    "$qv5" --dir "$demo" --screenshot "$out/${name}-${lang}.png" --tab "$tab"
  done
  # The English texts beyond the pages: a menu, a question, progress, a dialog.
  if [ "$lang" = en ]; then
    for tab in TREEMENU CONFIRM PROGRESS TOOLS; do
      name=$(echo "$tab" | tr 'A-Z' 'a-z')
      "$qv5" --dir "$demo" --screenshot "$out/${name}-${lang}.png" --tab "$tab"
    done
  fi
  # The game folder chooser of a first start, in the desktop's language.
  locale=C.UTF-8
  [ "$lang" = ja ] && locale=ja_JP.UTF-8
  mkdir -p "$demo/empty"
  (cd "$demo" && LANG=$locale LC_ALL=$locale "$qv5" --dir "$demo/empty" \
    --screenshot "$out/chooser-${lang}.png" --tab CHOOSER 2>/dev/null)
done
# The library check's report, on a copy of the demo that has drifted from
# its library: a copied chart, a Korean folder name, an accented file name.
check=$(mktemp -d)
trap 'rm -rf "$demo" "$check"' EXIT
cp -a "$demo/." "$check/"
cp "$check/songs/Demo Song 1/demo1_1.bms" "$check/songs/Demo Song 2/copy.bms"
mkdir -p "$check/songs/노래"
cp "$check/songs/Demo Song 3/demo3_1.bms" "$check/songs/노래/k.bms"
cp "$check/songs/Demo Song 3/demo3_2.bms" "$check/songs/Demo Song 3/café.bms"
touch "$check/songs/Demo Song 3/kick.ogg"
for lang in ja en; do
  value=0
  [ "$lang" = en ] && value=1
  set_language "$check/QV5files/Config/config.xml" "$value"
  "$qv5" --dir "$check" --screenshot "$out/check-${lang}.png" --tab CHECK
done
