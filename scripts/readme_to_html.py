#!/usr/bin/env python3
"""Writes the user guide the tray menu's "Internet" entry opens in the browser: README.md as
a complete HTML page.

Usage: readme_to_html.py README.md lumoretta.html

The page is installed in share/doc/lumoretta beside the screenshots and docs/reliability.md,
so the README's links into docs/ point beside the page.
"""
import html
import sys

import markdown

TITLE = "Lumoretta – Benutzerhandbuch"

PAGE = """<!DOCTYPE html>
<html lang="de">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: sans-serif; max-width: 72em; margin: 1em auto; padding: 0 1em;
       line-height: 1.4; }}
table {{ border-collapse: collapse; margin: 1em 0; }}
th, td {{ border: 1px solid #bbb; padding: 0.3em 0.5em; vertical-align: top; }}
img {{ max-width: 100%; }}
code, pre {{ background: #f3f3f3; }}
pre {{ padding: 0.5em; overflow-x: auto; }}
</style>
</head>
<body>
{body}
</body>
</html>
"""


def convert(text):
    body = markdown.markdown(text, extensions=["tables", "fenced_code"])
    # Links and pictures into docs/ point at the files installed beside the page.
    body = body.replace('src="docs/', 'src="').replace('href="docs/', 'href="')
    return PAGE.format(title=html.escape(TITLE), body=body)


def main(argv):
    if len(argv) != 3:
        sys.exit("usage: readme_to_html.py README.md output.html")
    with open(argv[1], encoding="utf-8") as f:
        page = convert(f.read())
    with open(argv[2], "w", encoding="utf-8", newline="\n") as f:
        f.write(page)


if __name__ == "__main__":
    main(sys.argv)
