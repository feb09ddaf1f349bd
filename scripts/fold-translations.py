#!/usr/bin/env python3
"""Folds English texts into translations/qv5_en.ts.

fold-translations.py FILE.tsv...: each line is
  context<TAB>Japanese source<TAB>English[<TAB>English plural]
with \\n for a line break. A message of the catalogue with that context and
source gets the English as its finished translation (the plural form, for a
text with a count, as its second form). Lines for sources the catalogue does
not hold are listed on stderr (run `cmake --build BUILD --target
update_translations` first, so that lupdate has added every source of the
code). Exits 1 when a line was not used.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

TS = Path(__file__).resolve().parent.parent / "translations" / "qv5_en.ts"


def unescape(text):
    return text.replace("\\n", "\n").replace("\\t", "\t")


def main(paths):
    tree = ET.parse(TS)
    messages = {}
    for context in tree.getroot().findall("context"):
        name = context.findtext("name")
        for message in context.findall("message"):
            messages[(name, message.findtext("source"))] = message
    unused = 0
    for path in paths:
        for number, line in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
            if not line.strip():
                continue
            fields = [unescape(f) for f in line.split("\t")]
            message = messages.get((fields[0], fields[1]))
            if message is None or len(fields) < 3:
                print(f"{path}:{number}: not in the catalogue: {line}", file=sys.stderr)
                unused += 1
                continue
            translation = message.find("translation")
            translation.attrib.pop("type", None)
            if message.get("numerus") == "yes":
                for form in list(translation):
                    translation.remove(form)
                for text in (fields[2], fields[3] if len(fields) > 3 else fields[2]):
                    ET.SubElement(translation, "numerusform").text = text
            else:
                translation.text = fields[2]
    body = ET.tostring(tree.getroot(), encoding="unicode")
    TS.write_text('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n' + body + "\n",
                  encoding="utf-8")
    return 1 if unused else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
