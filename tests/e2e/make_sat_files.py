#!/usr/bin/env python3
"""Writes the prepared SAT files of the SAT import cases, made from a SAT file of three bodies of
85 records each (the sample clamp):

    make_sat_files.py CLAMP.sat FOLDER

  sat-long-records.sat  the clamp with a string attribute on each body whose record runs over
                        600 characters (letters 'A', which the drawing writes as a caret pair,
                        at the 255-character seams; "$N" and '#' inside the counted string), a
                        record over two lines and one with trailing blanks
  sat-tab.sat           the clamp with a tab between two fields of a record
  sat-latin.sat         the clamp with an attribute string "Grüße#x" (UTF-8)
  sat-cut-record.sat    the clamp cut inside its last record (no '#', no end line)
  sat-cut-count.sat     the clamp without its last ten records, the header still counting 255
  sat-many.sat          2,000 bodies: the clamp's first body again and again, each moved on
  sat-tab-spline.sat    the clamp as writers break long records: faces over two lines whose
                        second starts with a tab, tabs between the numbers of points, a tab after
                        a record's '#', and a spline curve whose subtype data runs over lines
                        that start with a tab ("\t0 \tnull_surface \tnullbs } I I #")
  sat-key-line.sat      the clamp as version 3100 with the key line "T @77 ..." after the header
  sat-asm.sat           the clamp in the ASM format: an asmheader first, the header counting it
                        among the top-level records (4), ended by "End-of-ASM-data"
  sat-asm-zero.sat      the same with a top-level count of 0, ended by "End-of-ACIS-data"
  sat-history.sat       the clamp with its history flag set and a history section (records with
                        pointers and a counted string holding '#') before "End-of-ACIS-data"
  sat-dos-eof.sat       the clamp with a DOS end-of-file byte (0x1A) after its end marker
  sat-nul-padding.sat   the clamp padded with NUL bytes after its end marker
  sat-history-latin.sat the clamp with a history section whose string "Grüße" is code page 1252
  sat-cr.sat            the clamp with its lines ended by a CR alone
  sat-v400-hash.sat     the washer (washer.sat beside the clamp) as version 400, its body with
                        an attribute record right after it whose string "4 su#f" holds a '#'
                        (strings of that version are a length and the text, without '@')

The last one is some 6 MB, so it is made here rather than kept in the source tree.
"""
import os
import re
import sys

BODY_RECORDS = 85


def shifted(record, by):
    """The record with each "$N" (N >= 0) moved on by `by`."""
    return re.sub(r"\$(\d+)", lambda m: "$%d" % (int(m.group(1)) + by), record)


def moved(record, dx):
    """A point record moved along x by dx."""
    m = re.match(r"point \$-1 (\S+) (.*)$", record)
    return "point $-1 %s %s" % (float(m.group(1)) + dx, m.group(2)) if m else record


def write(folder, name, head, records, end=True, marker="End-of-ACIS-data", newline="\n",
          encoding="utf-8", after=b""):
    """Writes the lines with the line end given, in the encoding given, then the bytes `after`."""
    text = newline.join(head + records) + (newline + marker + newline if end else "")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(text.encode(encoding) + after)


def main():
    clamp, folder = sys.argv[1:3]
    os.makedirs(folder, exist_ok=True)
    with open(clamp, encoding="ascii") as f:
        lines = f.read().split("\n")
    header = lines[:3]
    records = [l for l in lines[3:] if l and not l.startswith("End-of-ACIS-data")]
    assert len(records) == 3 * BODY_RECORDS and header[0].startswith("700 255 3 0")

    def with_head(count, bodies):
        return ["700 %d %d 0" % (count, bodies)] + header[1:]

    # Long records: attribute k (record 255 + k) hangs on body k.
    long = list(records)
    for k in range(3):
        body = k * BODY_RECORDS
        long[body] = long[body].replace("body $-1 ", "body $%d " % (255 + k), 1)
        text = ("b" * 215 + "A" * 7 + " $%d #inside " % k + "A" * 200 + "xyz" * 60)[:600]
        long.append("string_attrib $-1 $-1 $-1 $%d @%d %s #" % (body, len(text), text))
    long[1] = long[1].replace(" $2 ", " $2\n ", 1)     # the first lump over two lines
    long[3] += "   "                                   # a face with blanks after its '#'
    write(folder, "sat-long-records.sat", with_head(258, 3), long)

    tab = list(records)
    tab[90] = tab[90].replace(" ", "\t", 1)
    write(folder, "sat-tab.sat", with_head(255, 3), tab)

    latin = list(records)
    latin[0] = latin[0].replace("body $-1 ", "body $255 ", 1)
    latin.append("string_attrib $-1 $-1 $-1 $0 @9 Gr\u00fc\u00dfe#x #")
    write(folder, "sat-latin.sat", with_head(256, 3), latin)

    cut = list(records)
    cut[-1] = cut[-1][:cut[-1].rindex("#")]
    write(folder, "sat-cut-record.sat", with_head(255, 3), cut, end=False)

    write(folder, "sat-cut-count.sat", with_head(255, 3), records[:-10])

    many = []
    for n in range(2000):
        many += [moved(shifted(r, n * BODY_RECORDS), 100.0 * n) for r in records[:BODY_RECORDS]]
    write(folder, "sat-many.sat", with_head(len(many), 2000), many)

    # Record k of a body is records[body * BODY_RECORDS + k]: 3..8 faces, 59..66 points, 73..84
    # straight curves.
    broken = list(records)
    for body in range(3):
        base = body * BODY_RECORDS
        for k in range(3, 9):
            broken[base + k] = broken[base + k].replace(" forward", "\n\tforward", 1)
        for k in range(59, 67):
            broken[base + k] = re.sub(r"^point \$-1 (\S+) (\S+) (\S+) #$",
                                      r"point\t$-1 \1\t\2 \t\3 #\t", broken[base + k])
    broken[73] = ("intcurve-curve $-1 forward { exactcur nubs 3 open 2\n"
                  "\t0 3 1 3\n"
                  "\t0 0 0 \t0 1 0 0 2 0\n"
                  "\t0 3 0 \tnull_surface \tnullbs } I I #")
    write(folder, "sat-tab-spline.sat", with_head(255, 3), broken)

    key = ("EB6YJ69E3ZDAYV5XPZ" + "Q7RWHNKT4M2C8LFGSB3D" * 3)[:77]
    assert len(key) == 77
    write(folder, "sat-key-line.sat",
          ["3100 255 3 0"] + header[1:] + ["T @%d %s" % (len(key), key)], records)

    asm = ["asmheader $-1 -1 @12 221.0.0.1871 #"] + [shifted(r, 1) for r in records]
    write(folder, "sat-asm.sat", ["20800 256 4 0"] + header[1:], asm, marker="End-of-ASM-data")
    write(folder, "sat-asm-zero.sat", ["20800 256 0 0"] + header[1:], asm)

    history = ["Begin-of-ACIS-History-Data",
               "history_stream $-1 4 3 $1 $2 1 @3 h#1 #",
               "delta_state $-1 3 3 2 $3 $1 $1 $-1 F #",
               "delta_state $-1 2 2 1 $-1 $0 $0 $-1 F #",
               "bulletin_board $-1 2 $5 $-1 #",
               "bulletin $-1 $-1 $6 $-1 $7 #",
               "End-of-ACIS-History-Section"]
    write(folder, "sat-history.sat", ["700 255 3 1"] + header[1:], records + history)

    # Bytes that go into no solid: after the end marker, in a history string; and CR line ends.
    # Each gives the clamp's own solids.
    write(folder, "sat-dos-eof.sat", header, records, after=b"\x1a")
    write(folder, "sat-nul-padding.sat", header, records, after=b"\0" * 700)
    latin = ["Begin-of-ACIS-History-Data",
             "history_stream $-1 4 3 $1 $-1 1 @5 Gr\u00fc\u00dfe #",
             "delta_state $-1 3 3 2 $-1 $0 $0 $-1 F #",
             "End-of-ACIS-History-Section"]
    write(folder, "sat-history-latin.sat", ["700 255 3 1"] + header[1:], records + latin,
          encoding="cp1252")
    write(folder, "sat-cr.sat", header, records, newline="\r")

    with open(os.path.join(os.path.dirname(clamp), "washer.sat"), encoding="ascii") as f:
        washer = f.read().split("\n")
    washer_records = [l for l in washer[3:] if l and not l.startswith("End-of-ACIS-data")]
    # Room for record 1: pointers to records from 1 on move on by one, those to the body stay.
    old = [re.sub(r"\$([1-9]\d*)", lambda m: "$%d" % (int(m.group(1)) + 1), r)
           for r in washer_records]
    old[0] = old[0].replace("body $-1 ", "body $1 ", 1)
    old.insert(1, "eye_refinement $-1 5 grid  1 3 tri 1 4 su#f 0 adjust 0 grading 0 "
                  "postcheck 0 surftol -1 nortol 30 surfdev -1 gridar -1 maxgridlines 300 #")
    write(folder, "sat-v400-hash.sat",
          ["400 %d 1 0" % len(old), washer[1].replace("ACIS 1.6", "ACIS 4.0"), washer[2]], old)
    return 0


if __name__ == "__main__":
    sys.exit(main())
