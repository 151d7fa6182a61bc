#!/usr/bin/env python3
"""Check the story sources, or preview a chapter as the story window lays it out.

    check_story.py [--dir content/story]            check all thirteen chapters
    check_story.py [--dir DIR] --preview N          print chapter N page by page
    check_story.py FILE...                          check only the given files

Source format, one file per chapter (chapter_00.txt .. chapter_12.txt, UTF-8):
    ; comment            (the first line names the chapter's role)
    S E|text             speaker 0..2, expression 0..3, text with its control pairs

The game reads a message as two-byte units: a unit starting with '#' is a
control pair, every other unit one cell. A single-byte character would shift
every later pair off its unit, so only double-byte characters are allowed
outside control pairs. Exit status 1 on any error.
"""

import argparse
import os
import sys

CHAPTERS = 13
MIN_MESSAGES = 8          # fewer reads as a stub, not a chapter
MAX_MESSAGES = 31         # slots per chapter in the data file
MAX_BYTES = 99            # the 100-byte text field keeps its NUL
LINE_CELLS = 17           # the 18th character wraps
WINDOW_LINES = 4          # text rows inside the message window
# The next-page mark sits over the 17th cell of the two bottom rows.
MARK_ROWS = (2, 3)
MARK_ROW_CELLS = 16
PHOTOS = ("01", "02")


class Message:
    def __init__(self, path, line_no, speaker, expression, text):
        self.path = path
        self.line_no = line_no
        self.speaker = speaker
        self.expression = expression
        self.text = text


def where(path, line_no):
    return "%s:%d" % (path, line_no)


def parse_file(path, errors):
    """Return the chapter's messages; problems go to errors as 'file:line: ...'."""
    messages = []
    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as e:
        errors.append("%s: cannot read: %s" % (path, e))
        return messages
    try:
        content = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        errors.append("%s: not UTF-8 (byte %d)" % (path, e.start))
        return messages
    if content.startswith("\ufeff"):
        content = content[1:]

    lines = content.split("\n")
    first_content = next((i for i, l in enumerate(lines) if l.strip()), None)
    if first_content is None or not lines[first_content].startswith(";"):
        errors.append("%s:1: the first line must be a comment naming the chapter's role" % path)

    for i, line in enumerate(lines, start=1):
        line = line.rstrip("\r")
        if not line.strip() or line.startswith(";"):
            continue
        head, sep, text = line.partition("|")
        fields = head.split()
        if not sep or len(fields) != 2 or not all(f.isdigit() for f in fields):
            errors.append("%s: expected 'S E|text'" % where(path, i))
            continue
        speaker, expression = int(fields[0]), int(fields[1])
        if not 0 <= speaker <= 2:
            errors.append("%s: speaker %d is outside 0..2" % (where(path, i), speaker))
        if not 0 <= expression <= 3:
            errors.append("%s: expression %d is outside 0..3" % (where(path, i), expression))
        messages.append(Message(path, i, speaker, expression, text))
    return messages


def units(data):
    """Split encoded text into ('ctl', name, arg) and ('chr', bytes) units.

    Raises ValueError for what the game would misread."""
    out = []
    pos = 0
    while pos < len(data):
        b = data[pos]
        if b == 0x23:  # '#'
            if pos + 1 >= len(data):
                raise ValueError("a lone '#' at the end")
            name = chr(data[pos + 1])
            if name == "p":
                digits = data[pos + 2:pos + 4].decode("ascii", "replace")
                if len(digits) != 2 or not digits.isdigit():
                    raise ValueError("'#p' needs two digits")
                if digits not in PHOTOS:
                    raise ValueError("'#p%s' names no photograph (01 or 02)" % digits)
                out.append(("ctl", "p", digits))
                pos += 4
            elif name in "ens":
                out.append(("ctl", name, None))
                pos += 2
            else:
                raise ValueError("unknown control pair '#%s'" % name)
        elif 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC:
            out.append(("chr", data[pos:pos + 2]))
            pos += 2
        else:
            shown = data[pos:pos + 1].decode("cp932", "replace")
            raise ValueError("single-byte character %r: use its full-width form" % shown)
    return out


def layout(us):
    """Rows of cells as the window types them: '#n' breaks, the 18th cell wraps.

    Returns (rows, wrapped) where rows is a list of lists of decoded characters
    and markers like '<p01>', and wrapped tells whether a row overflowed."""
    rows = [[]]
    cells = 0
    wrapped = False
    for u in us:
        if u[0] == "ctl":
            if u[1] == "n":
                rows.append([])
                cells = 0
            elif u[1] == "p":
                rows[-1].append("<p%s>" % u[2])
            else:
                rows[-1].append("<%s>" % u[1])
            continue
        if cells == LINE_CELLS:
            rows.append([])
            cells = 0
            wrapped = True
        rows[-1].append(u[1].decode("cp932"))
        cells += 1
    return rows, wrapped


def row_cells(row):
    return sum(1 for c in row if not c.startswith("<"))


def check_message(msg, is_last, errors):
    loc = where(msg.path, msg.line_no)
    try:
        data = msg.text.encode("cp932")
    except UnicodeEncodeError as e:
        errors.append("%s: %r has no Shift-JIS (CP932) form" % (loc, msg.text[e.start:e.end]))
        return
    if len(data) > MAX_BYTES:
        errors.append("%s: %d bytes, at most %d fit" % (loc, len(data), MAX_BYTES))
    try:
        us = units(data)
    except ValueError as e:
        errors.append("%s: %s" % (loc, e))
        return
    ends = [k for k, u in enumerate(us) if u[0] == "ctl" and u[1] in "es"]
    if not us or not ends or ends[-1] != len(us) - 1:
        errors.append("%s: the message must end in '#e' or '#s'" % loc)
    elif len(ends) > 1:
        errors.append("%s: '#e'/'#s' only at the end (text after it types on regardless)" % loc)
    elif is_last and us[-1][1] == "s":
        errors.append("%s: the chapter's last message must wait for a key ('#e')" % loc)
    elif us[-1][1] == "s" and any(u[0] == "ctl" and u[1] == "p" for u in us):
        errors.append("%s: a photograph on a message that goes on at once ('#s') "
                      "is gone before it is seen; end it in '#e'" % loc)
    if not any(u[0] == "chr" for u in us):
        errors.append("%s: the message shows no text" % loc)

    rows, wrapped = layout(us)
    if wrapped:
        errors.append("%s: a line runs past %d characters; break it with '#n'" % (loc, LINE_CELLS))
    if len(rows) > WINDOW_LINES:
        errors.append("%s: %d lines, the window shows %d" % (loc, len(rows), WINDOW_LINES))
    for r in MARK_ROWS:
        if r < len(rows) and row_cells(rows[r]) > MARK_ROW_CELLS:
            errors.append("%s: line %d has %d characters; the next-page mark covers the %dth"
                          % (loc, r + 1, row_cells(rows[r]), MARK_ROW_CELLS + 1))


def check_chapter(path, errors):
    messages = parse_file(path, errors)
    if not MIN_MESSAGES <= len(messages) <= MAX_MESSAGES:
        errors.append("%s: %d messages, a chapter holds %d to %d"
                      % (path, len(messages), MIN_MESSAGES, MAX_MESSAGES))
    for k, m in enumerate(messages):
        check_message(m, k == len(messages) - 1, errors)
    return messages


def error_order(e):
    """Sort by file, then line number, keeping each file's whole-file notes first."""
    path, _, rest = e.partition(":")
    line = rest.partition(":")[0]
    return (path, int(line) if line.isdigit() else 0)


def chapter_path(directory, n):
    return os.path.join(directory, "chapter_%02d.txt" % n)


def preview(directory, n):
    path = chapter_path(directory, n)
    errors = []
    messages = check_chapter(path, errors)
    for k, m in enumerate(messages):
        try:
            data = m.text.encode("cp932")
            rows, _ = layout(units(data))
            size = "%d bytes" % len(data)
        except (UnicodeEncodeError, ValueError):
            rows, size = [[m.text]], "unreadable"
        print("-- %2d  speaker %d  expression %d  (%s, line %d)"
              % (k, m.speaker, m.expression, size, m.line_no))
        for row in rows:
            print("   |" + "".join(row))
    for e in sorted(errors, key=error_order):
        print("!! " + e)
    return 1 if errors else 0


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    default_dir = os.path.normpath(os.path.join(here, "..", "..", "content", "story"))
    ap = argparse.ArgumentParser(description="Check or preview the story chapters.")
    ap.add_argument("--dir", default=default_dir, help="story source folder")
    ap.add_argument("--preview", type=int, metavar="N", help="print chapter N as laid out")
    ap.add_argument("files", nargs="*", help="check only these chapter files")
    args = ap.parse_args(argv)

    if args.preview is not None:
        if not 0 <= args.preview < CHAPTERS:
            print("no chapter %d (0..%d)" % (args.preview, CHAPTERS - 1), file=sys.stderr)
            return 2
        return preview(args.dir, args.preview)

    errors = []
    paths = args.files or [chapter_path(args.dir, n) for n in range(CHAPTERS)]
    total = 0
    for p in paths:
        if not os.path.exists(p):
            errors.append("%s: missing" % p)
            continue
        total += len(check_chapter(p, errors))
    for e in sorted(errors, key=error_order):
        print(e)
    if errors:
        print("%d error(s)" % len(errors))
        return 1
    print("%d chapter(s), %d messages: ok" % (len(paths), total))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
