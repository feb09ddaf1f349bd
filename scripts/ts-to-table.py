#!/usr/bin/env python3
"""ts-to-table.py CATALOGUE.ts OUT.cpp: the English catalogue as a C++ table,
for the quick program, which runs without Qt (cli/command_language.cpp)."""
import sys
import xml.etree.ElementTree as ET


def literal(text):
    out = []
    for byte in text.encode("utf-8"):
        c = chr(byte)
        if c in '"\\':
            out.append("\\" + c)
        elif 32 <= byte < 127:
            out.append(c)
        else:
            out.append("\\%03o" % byte)
    return '"' + "".join(out) + '"'


def main(ts, out):
    rows = []
    for context in ET.parse(ts).getroot().findall("context"):
        name = context.findtext("name")
        for message in context.findall("message"):
            translation = message.find("translation")
            if translation.get("type") in ("unfinished", "vanished", "obsolete"):
                continue
            forms = [f.text or "" for f in translation.findall("numerusform")]
            if not forms:
                forms = [translation.text or ""]
            plural = forms[1] if len(forms) > 1 else forms[0]
            rows.append("    {%s, %s, %s, %s},\n" % (literal(name), literal(message.findtext("source")),
                                                    literal(forms[0]), literal(plural)))
    with open(out, "w", encoding="utf-8") as f:
        f.write("// Made from translations/qv5_en.ts by scripts/ts-to-table.py.\n")
        f.write('#include "cli/command_language.h"\n\nnamespace qv5 {\n\n')
        f.write("const CatalogueEntry kEnglishTable[] = {\n")
        f.writelines(rows)
        f.write("};\nconst size_t kEnglishTableSize = sizeof kEnglishTable / sizeof kEnglishTable[0];\n")
        f.write("\n}  // namespace qv5\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
