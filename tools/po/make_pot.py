#!/usr/bin/env python3
"""Writes the translators' template from the English text tables.

Usage: make_pot.py DATA_DIR OUT.pot
One message per key, the key as its context, with a note where a text holds a number's place or sits
in a small box; then the desktop entry's texts (dist/*.desktop) and the AppStream data's
(dist/*.metainfo.xml.in, through xgettext and AppStream's rules), as msgfmt --desktop and --xml look
them up.
The template carries no date, so that it changes only when the texts do.
"""

import glob
import os
import subprocess

import sys

from text_tables import comment_for, po_quote, read_tables

HEADER = """# The texts of Pebblecraft.
# This file is distributed under the same license as the Pebblecraft package.
#
msgid ""
msgstr ""
"Project-Id-Version: pebblecraft\\n"
"Language: \\n"
"MIME-Version: 1.0\\n"
"Content-Type: text/plain; charset=UTF-8\\n"
"Content-Transfer-Encoding: 8bit\\n"
"""


# The desktop entry's keys that are translated, with the translators' notes.
DESKTOP_KEYS = {
    "GenericName": "The desktop menu: what kind of program this is.",
    "Comment": "The desktop menu: the program's tooltip.",
    "Keywords": "Search words of the desktop menu, each ended by a semicolon; add your language's.",
}


METAINFO_RULES = "/usr/share/gettext/its/metainfo.its"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out = [HEADER]
    for e in read_tables(sys.argv[1]):
        lines = [""]
        lines += [f"#. {note}" for note in comment_for(e)]
        lines.append(f"#: data/{e.table}")
        if "%" in e.text:
            lines.append("#, c-format")
        lines.append(f"msgctxt {po_quote(e.key)}")
        lines.append(f"msgid {po_quote(e.text)}")
        lines.append('msgstr ""')
        out.append("\n".join(lines) + "\n")
    for path in sorted(glob.glob(os.path.join(sys.argv[1], "..", "dist", "*.desktop"))):
        with open(path, encoding="utf-8") as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("=")
                if key in DESKTOP_KEYS:
                    lines = ["", f"#. {DESKTOP_KEYS[key]}", f"#: dist/{os.path.basename(path)}"]
                    lines += [f"msgid {po_quote(value)}", 'msgstr ""']
                    out.append("\n".join(lines) + "\n")
    root = os.path.join(sys.argv[1], "..")
    for path in sorted(glob.glob(os.path.join(root, "dist", "*.metainfo.xml.in"))):
        extracted = subprocess.run(
            ["xgettext", "--its=" + METAINFO_RULES, "--omit-header", "--add-location=file", "-o", "-",
             os.path.relpath(path, root)], cwd=root, check=True, capture_output=True, text=True).stdout
        out.append("\n#. The AppStream data: software centres show it.\n" + extracted.lstrip("\n"))
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write("".join(out))


if __name__ == "__main__":
    main()
