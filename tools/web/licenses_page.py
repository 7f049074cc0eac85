#!/usr/bin/env python3
"""Makes the page's licences: one page with the licence of every part the
site carries, each text as it stands, so that the page, its service worker and
a static host all keep them together.

Usage: licenses_page.py OUTPUT TITLE=FILE_OR_FOLDER...

A folder stands for every file in it, each under its path in the folder.
"""
import html
import os
import sys


def texts(title, path):
    if os.path.isfile(path):
        yield title, path
        return
    for folder, _, files in sorted(os.walk(path)):
        for name in sorted(files):
            file = os.path.join(folder, name)
            yield f"{title}: {os.path.relpath(file, path)}", file


def main(output, parts):
    sections = []
    for part in parts:
        title, path = part.split("=", 1)
        for heading, file in texts(title, path):
            with open(file, encoding="utf-8", errors="replace") as text:
                sections.append(f"<h2>{html.escape(heading)}</h2>\n<pre>{html.escape(text.read())}</pre>")
    with open(output, "w", encoding="utf-8") as page:
        page.write('<!doctype html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
                   '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
                   "<title>Licences of ポコリンの落下の実験</title>\n"
                   "<style>body { font: 14px sans-serif; margin: 1em; } "
                   "pre { white-space: pre-wrap; }</style>\n</head>\n<body>\n"
                   "<h1>Licences of ポコリンの落下の実験</h1>\n"
                   + "\n".join(sections) + "\n</body>\n</html>\n")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
