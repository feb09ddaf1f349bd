#!/usr/bin/env bash
# screenshots.sh QV5 [OUT]: pictures of every page in Japanese and English,
# made by the program itself on a fresh demo folder (run under xvfb-run).
set -euo pipefail
qv5=$(realpath "$1")
out=$(realpath "${2:-docs}")
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
bash "$root/scripts/make-demo.sh" "$demo" "$qv5" >/dev/null
config="$demo/QV5files/Config/config.xml"
for lang in ja en; do
  value=0
  [ "$lang" = en ] && value=1
  python3 - "$config" "$value" <<'PY'
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
  for tab in MAIN JUKEBOX1 JUKEBOX2 OPTION SELECT SYSTEM ABOUT; do
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
