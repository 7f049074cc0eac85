#!/usr/bin/env python3
"""Makes the web build's Japanese face: IPAPGothic cut down to the characters
that the program's windows show, so that the page stays small.

Usage: subset_font.py FONT OUTPUT EXTRA_TEXT SOURCE...

The characters are those of the sources' string literals, printable ASCII
(numbers, the typed fall speed) and EXTRA_TEXT (Qt's own translated texts).
A character that the face lacks fails the build, rather than showing a box.
"""
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def shown_characters(sources, extra):
    characters = set(chr(c) for c in range(0x20, 0x7F)) | set(extra)
    for source in sources:
        with open(source, encoding="utf-8") as text:
            for literal in LITERAL.findall(text.read()):
                characters.update(literal)
    return {c for c in characters if c.isprintable()}


def main(font, output, extra, *sources):
    characters = shown_characters(sources, extra)
    cmap = TTFont(font).getBestCmap()
    missing = sorted(c for c in characters if ord(c) not in cmap and not c.isspace())
    if missing:
        sys.exit("subset_font: %s has no glyph for %s" % (font, " ".join(missing)))
    options = subset.Options()
    options.name_IDs = ["*"]  # keep the family name the program asks for
    options.notdef_outline = True
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(sorted(characters)))
    face = TTFont(font)
    subsetter.subset(face)
    face.save(output)


if __name__ == "__main__":
    main(*sys.argv[1:])
