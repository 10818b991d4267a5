#!/usr/bin/env python3
"""Turns a catalogue into the game's three text tables for its language.

Usage: po_tables.py DATA_DIR LL.po OUT_DIR
Every key of the English tables is written, in their order; a key the catalogue does not translate (or
marks fuzzy) keeps its English text. The catalogue's UTF-8 becomes Windows-1252, the game's 8 bits; a
letter outside it is an error, so that no text is silently cut.
"""

import os
import sys

from text_tables import TABLES, Entry, read_po, read_tables, write_table


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    data_dir, po_path, out_dir = sys.argv[1:]
    translated = read_po(po_path)
    os.makedirs(out_dir, exist_ok=True)
    entries = read_tables(data_dir)
    for table in TABLES:
        rows = [Entry(e.table, e.key, translated.get(e.key, e.text), e.block) for e in entries if e.table == table]
        try:
            data = write_table(rows)
        except UnicodeEncodeError as error:
            sys.exit(f"{po_path}: a letter the game cannot draw: {error}")
        temp = os.path.join(out_dir, table + ".tmp")
        with open(temp, "wb") as f:
            f.write(data)
        os.replace(temp, os.path.join(out_dir, table))


if __name__ == "__main__":
    main()
