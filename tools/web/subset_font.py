#!/usr/bin/env python3
"""Makes the web build's Japanese face: IPAPGothic cut down to the characters
that the program's windows show, so that the page stays small.

Usage: subset_font.py FONT OUTPUT EXTRA_TEXT TEXTS SOURCE...

The characters are those of the string literals in TEXTS, the one header of
every text the windows show, printable ASCII (numbers, the typed fall speed)
and EXTRA_TEXT (Qt's own translated texts). A string literal beyond ASCII in
any SOURCE fails the build, as does a character that the face lacks: either
would show as a box in the page.
"""
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def literals(path):
    with open(path, encoding="utf-8") as text:
        for number, line in enumerate(text, 1):
            code = line.split("//")[0]
            for literal in LITERAL.findall(code):
                yield number, literal


def check_sources(sources):
    stray = ["%s:%d: %s" % (path, number, literal)
             for path in sources for number, literal in literals(path)
             if not literal.isascii()]
    if stray:
        sys.exit("subset_font: a text the windows show belongs in core/shown_texts.h:\n  "
                 + "\n  ".join(stray))


def main(font, output, extra, texts, *sources):
    check_sources(sources)
    characters = set(chr(c) for c in range(0x20, 0x7F)) | set(extra)
    for _, literal in literals(texts):
        characters.update(literal)
    characters = {c for c in characters if c.isprintable()}
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
