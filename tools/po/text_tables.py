"""The game's text tables and the translators' catalogues.

A table file holds lines "key=value" ended by CR LF and blocks "[key/]text[/key]" that keep their inner
line breaks. The English tables in data/ are the source texts; each catalogue po/LL.po translates them,
one message per key with the key as its context. The tables the game reads are 8-bit Windows-1252.
"""

import re

TABLES = ("2strings.txt", "2tips.txt", "2menutext.txt")

# Texts drawn in small boxes: buttons, the side panel's labels, the results' rows, the map's words.
TIGHT_KEYS = {
    "score", "level", "lives", "menu", "relax", "continue", "timebonus", "nextstage", "curusers",
    "stats", "yourscore", "yourcombo", "maxcombo", "yourtime", "yourmoves", "bestscore", "bestcombo",
    "besttime", "bestmoves", "sfxvolume", "musicvolume", "fullscreen", "customcursor", "ballspeed",
    "classic", "puzzle", "action", "classicmode", "puzzlemode", "actionmode", "locked", "nighttip",
    "morningtip", "daytip", "howtoplay", "language", "langauto",
}


class Entry:
    def __init__(self, table, key, text, block):
        self.table, self.key, self.text, self.block = table, key, text, block


def parse_table(table, data):
    """The entries of one table file (bytes), in order; the first entry of a key wins."""
    text = data.decode("cp1252")
    entries, seen, pos = [], set(), 0
    while True:
        while pos < len(text) and ord(text[pos]) < 0x21:
            pos += 1
        if pos >= len(text):
            break
        if text[pos] == "[":
            key_end = text.index("/]", pos)
            key = text[pos + 1:key_end]
            start = key_end + 2
            while start < len(text) and text[start] in "\r\n":
                start += 1
            end = text.index("[", start)
            value = text[start:end].replace("\r\n", "\n")
            block = True
            pos = text.index("]", end) + 1
        else:
            equals = text.index("=", pos)
            key = text[pos:equals]
            end = text.find("\r\n", equals)
            end = len(text) if end < 0 else end
            value = text[equals + 1:end]
            block = False
            pos = end + 2
        if key not in seen:
            seen.add(key)
            entries.append(Entry(table, key, value, block))
    return entries


def read_tables(data_dir):
    entries = []
    for table in TABLES:
        with open(f"{data_dir}/{table}", "rb") as f:
            entries += parse_table(table, f.read())
    return entries


def write_table(entries):
    """A table file's bytes: Windows-1252, CR LF, in the order given."""
    out = []
    for e in entries:
        if e.block:
            out.append(f"[{e.key}/]\r\n" + e.text.replace("\n", "\r\n") + f"[/{e.key}]\r\n")
        else:
            out.append(f"{e.key}={e.text}\r\n")
    return "".join(out).encode("cp1252")


def formats(text):
    return re.findall(r"%[-+ #0]*\d*(?:\.\d+)?[a-zA-Z%]", text)


def po_quote(text):
    s = text.replace("\\", "\\\\").replace('"', '\\"').replace("\t", "\\t")
    lines = s.split("\n")
    if len(lines) == 1:
        return f'"{lines[0]}"'
    parts = [line + "\\n" for line in lines[:-1]] + ([lines[-1]] if lines[-1] else [])
    return '""\n' + "\n".join(f'"{p}"' for p in parts)


def comment_for(entry):
    notes = []
    if formats(entry.text):
        notes.append("Keep " + ", ".join(formats(entry.text)) + ": the game puts a number there.")
    if entry.table == "2menutext.txt" or entry.key in TIGHT_KEYS:
        notes.append("A small box: keep it short.")
    if entry.key.startswith("defname"):
        notes.append("A name the high scores start with; adapt it or keep it.")
    if entry.key.startswith("stagename"):
        notes.append("The name of a stage of the mountain, shown on the level map.")
    if entry.text.endswith(" "):
        notes.append("Keep the space at the end: a name follows.")
    if entry.block:
        notes.append("The credits: keep the blank lines between the groups and the names in capitals.")
    return notes


def unquote(s):
    s = s.strip()
    assert s.startswith('"') and s.endswith('"'), s
    s = s[1:-1]
    out, i = [], 0
    while i < len(s):
        if s[i] == "\\" and i + 1 < len(s):
            out.append({"n": "\n", "t": "\t", '"': '"', "\\": "\\"}.get(s[i + 1], s[i + 1]))
            i += 2
        else:
            out.append(s[i])
            i += 1
    return "".join(out)


def read_po(path):
    """The translations of a catalogue by context; fuzzy and empty ones are left out."""
    messages, current, field, fuzzy = {}, {}, None, False

    def finish():
        ctx, msgstr = current.get("msgctxt"), current.get("msgstr", "")
        if ctx is not None and msgstr and not fuzzy:
            messages[ctx] = msgstr

    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if not line.strip():
                continue
            if line.startswith("#,") and "fuzzy" in line:
                if "msgid" in current:
                    finish()
                    current, field = {}, None
                fuzzy = True
                continue
            if line.startswith("#"):
                continue
            if line.startswith('"'):
                current[field] += unquote(line)
                continue
            name, _, rest = line.partition(" ")
            if name == "msgctxt" or (name == "msgid" and "msgctxt" not in current and "msgid" in current):
                if "msgid" in current:
                    finish()
                    current, fuzzy = {}, False
            field = name
            current[field] = unquote(rest)
    if current:
        finish()
    return messages
