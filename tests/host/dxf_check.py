#!/usr/bin/python3
"""Checks a DXF file written by the simulated host with an independent reader (ezdxf).

    dxf_check.py DXF DUMP [--sat SATFILE ...] [--png OUT.png]
    dxf_check.py --generator PATH --case NAME --workdir DIR

The second form first runs the host's DXF fixture generator for the case, then checks the
DXF and dump it wrote. Checks: ezdxf.readfile loads the file; doc.audit() reports no error and
no fix; the entity counts per space equal those of the host's dump; every layer of the dump is
in the file with its colour and line type; layer and block names and texts read back as the
host holds them (letters outside ASCII included); arc, insert and text angles are written in degrees;
associative hatches link to entities of the file that carry the hatch as reactor; 3DSOLIDs
carry the ACIS text of the SAT files given; handles are unique and below $HANDSEED;
`python3 -m ezdxf draw` renders the file.
Exit status 0 when every check passes.
"""

import argparse
import math
import os
import re
import subprocess
import sys

import ezdxf

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text)


def parse_dump(path):
    """Counts per space, layers, and the group lists of model-space entities by handle."""
    counts, layers, entities = {}, {}, {}
    section = None
    current = None
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if line and not line.startswith(" "):
                section = line.split()[0]
                continue
            if section == "counts":
                m = re.match(r"\s+(\*Model_Space|\".*\") (\S+) (\d+)$", line)
                if m:
                    space = m.group(1).strip('"')
                    counts.setdefault(space, {})[m.group(2)] = int(m.group(3))
            elif section == "layers":
                m = re.match(r'\s+"(.*)" colour (\d+) ltype "(.*)"$', line)
                if m:
                    layers[m.group(1)] = (int(m.group(2)), m.group(3))
            elif section == "entities":
                m = re.match(r"  ([0-9A-F]+) (\S+)$", line)
                if m:
                    current = {"type": m.group(2), "groups": []}
                    entities[m.group(1)] = current
                    continue
                m = re.match(r"    (-?\d+) (.*)$", line)
                if m and current is not None:
                    current["groups"].append((int(m.group(1)), m.group(2)))
            elif section in ("blocks",):
                current = None
    return counts, layers, entities


def parse_dump_names(path):
    """The block names of the dump, and the text of every TEXT and MTEXT (blocks included) by
    handle: its group 3 pieces and its group 1, joined."""
    blocks, texts = [], {}
    section, current = None, None
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if line and not line.startswith(" "):
                section = line.split()[0]
                current = None
                continue
            if section not in ("blocks", "entities"):
                continue
            m = re.match(r'  block "(.*)" base ', line)
            if m and section == "blocks":
                blocks.append(m.group(1))
                current = None
                continue
            # Entities stand 2 blanks in (4 inside a block), their groups 2 further.
            head = 4 if section == "blocks" else 2
            m = re.match(r"( +)([0-9A-F]+) (\S+)$", line)
            if m and len(m.group(1)) == head:
                current = texts.setdefault(m.group(2), [m.group(3), ""]) \
                    if m.group(3) in ("TEXT", "MTEXT") else None
                continue
            m = re.match(r'( +)(1|3) "(.*)"$', line)
            if m and current is not None and len(m.group(1)) == head + 2:
                current[1] += m.group(3)
    return blocks, texts


def check_names(doc, dump_path, layers):
    """Layer and block names and texts read back from the file as the host holds them, letters
    outside ASCII included."""
    blocks, texts = parse_dump_names(dump_path)
    for name in layers:
        if doc.layers.has_entry(name) and doc.layers.get(name).dxf.name != name:
            fail("layer %r reads back as %r" % (name, doc.layers.get(name).dxf.name))
    names = {b.name for b in doc.blocks}
    for name in blocks:
        if name not in names:
            fail("block %r reads back as none of %r" % (name, sorted(names)))
    for handle, (kind, text) in texts.items():
        e = doc.entitydb.get(handle)
        if e is None:
            fail("%s %s of the dump is not in the file" % (kind, handle))
            continue
        got = e.text if kind == "MTEXT" else e.dxf.text
        # A character the file's code page lacks is written in the \U+XXXX form.
        got = re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), got)
        if got != text:
            fail("%s %s reads back as %r, the host holds %r" % (kind, handle, got, text))


def first_real(groups, code):
    for c, v in groups:
        if c == code:
            return float(v)
    return None


def angle_close(a, b):
    d = (a - b) % 360.0
    return min(d, 360.0 - d) < 1e-6


def check_handles(dxf_path):
    """Every handle (groups 5 and 105) is unique and lies below $HANDSEED."""
    with open(dxf_path, encoding="cp1252", errors="replace") as f:
        lines = [line.rstrip("\r\n") for line in f]
    pairs = list(zip(lines[0::2], lines[1::2]))
    seed = None
    for i, (code, value) in enumerate(pairs):
        if code.strip() == "9" and value == "$HANDSEED":
            seed = int(pairs[i + 1][1], 16)
            break
    if seed is None:
        fail("no $HANDSEED")
        return
    seen = set()
    body = next(i for i, (c, v) in enumerate(pairs) if c.strip() == "0" and v == "ENDSEC")
    for code, value in pairs[body:]:
        if code.strip() in ("5", "105"):
            h = int(value, 16)
            if h in seen:
                fail("handle %s given twice" % value)
            if h >= seed:
                fail("handle %s is not below $HANDSEED %X" % (value, seed))
            seen.add(h)


def check(dxf_path, dump_path, sat_paths, png_path):
    check_handles(dxf_path)
    try:
        doc = ezdxf.readfile(dxf_path)
    except Exception as exc:  # any reader error fails the check
        fail("ezdxf.readfile: %s" % exc)
        return
    auditor = doc.audit()
    for e in auditor.errors:
        fail("audit error: %s" % (e.message,))
    for f in auditor.fixes:
        fail("audit fix: %s" % (f.message,))

    counts, layers, entities = parse_dump(dump_path)
    if not counts:
        fail("the dump holds no counts")
    for space, expected in counts.items():
        layout = doc.modelspace() if space == "*Model_Space" else doc.blocks.get(space)
        if layout is None:
            fail("block %r of the dump is not in the file" % space)
            continue
        found = {}
        for e in layout:
            found[e.dxftype()] = found.get(e.dxftype(), 0) + 1
        if found != expected:
            fail("%s: file holds %s, host dump says %s" % (space, found, expected))

    for name, (colour, ltype) in layers.items():
        if not doc.layers.has_entry(name):
            fail("layer %r missing" % name)
            continue
        layer = doc.layers.get(name)
        if layer.color != colour:
            fail("layer %r colour %d, dump %d" % (name, layer.color, colour))
        if layer.dxf.linetype.upper() != ltype.upper():
            fail("layer %r line type %r, dump %r" % (name, layer.dxf.linetype, ltype))
        if not doc.linetypes.has_entry(layer.dxf.linetype):
            fail("line type %r of layer %r not in the file" % (layer.dxf.linetype, name))

    check_names(doc, dump_path, layers)

    # Angles: the host's lists hold radians; the file holds degrees where DXF wants them.
    for handle, ent in entities.items():
        e = doc.entitydb.get(handle)
        if e is None:
            fail("entity %s of the dump is not in the file" % handle)
            continue
        if e.dxftype() != ent["type"]:
            fail("entity %s is %s in the file, %s in the dump" % (handle, e.dxftype(), ent["type"]))
            continue
        pairs = {"ARC": [(50, "start_angle"), (51, "end_angle")],
                 "INSERT": [(50, "rotation")], "TEXT": [(50, "rotation")]}.get(ent["type"], [])
        for code, attr in pairs:
            rad = first_real(ent["groups"], code)
            if rad is not None and not angle_close(e.dxf.get(attr, 0.0), math.degrees(rad)):
                fail("%s %s: %s is %r in the file, dump %r rad" % (ent["type"], handle, attr,
                                                                     e.dxf.get(attr), rad))

    # Hatch links and reactors.
    for layout in [doc.modelspace()] + list(doc.blocks):
        for h in layout.query("HATCH"):
            if not h.dxf.associative:
                continue
            for path in h.paths:
                for ref in path.source_boundary_objects:
                    target = doc.entitydb.get(ref)
                    if target is None:
                        fail("hatch %s links to missing %s" % (h.dxf.handle, ref))
                    elif h.dxf.handle not in target.get_reactors():
                        fail("boundary %s lacks the reactor of hatch %s" % (ref, h.dxf.handle))

    # 3DSOLIDs carry the SAT text.
    if sat_paths:
        texts = []
        for p in sat_paths:
            with open(p) as f:
                texts.append([line.rstrip("\n") for line in f])
        solids = [s for layout in [doc.modelspace()] + list(doc.blocks) for s in layout.query("3DSOLID")]
        if not solids:
            fail("no 3DSOLID in the file")
        for s in solids:
            data = [line.rstrip() for line in s.acis_data]
            if not any(data == [line.rstrip() for line in t] for t in texts):
                fail("3DSOLID %s carries other text than the SAT file: %r" % (s.dxf.handle, data[:3]))

    out = png_path or os.path.splitext(dxf_path)[0] + ".png"
    run = subprocess.run([sys.executable, "-m", "ezdxf", "draw", dxf_path, "-o", out],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300,
                         env=dict(os.environ, MPLBACKEND="Agg"))
    if run.returncode != 0 or not os.path.exists(out) or os.path.getsize(out) == 0:
        fail("ezdxf draw failed (%d): %s" % (run.returncode, run.stdout.decode(errors="replace")[-2000:]))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dxf", nargs="?")
    ap.add_argument("dump", nargs="?")
    ap.add_argument("--sat", action="append", default=[])
    ap.add_argument("--png")
    ap.add_argument("--generator")
    ap.add_argument("--case")
    ap.add_argument("--workdir")
    args = ap.parse_args()
    if args.generator:
        os.makedirs(args.workdir, exist_ok=True)
        run = subprocess.run([args.generator, args.case, args.workdir])
        if run.returncode != 0:
            print("FAIL: the generator failed for case %s" % args.case)
            return 1
        dxf = os.path.join(args.workdir, args.case + ".dxf")
        dump = os.path.join(args.workdir, args.case + ".dump")
        sats = sorted(os.path.join(args.workdir, f) for f in os.listdir(args.workdir) if f.endswith(".sat"))
    else:
        if not args.dxf or not args.dump:
            ap.error("DXF and DUMP, or --generator, --case and --workdir, are needed")
        dxf, dump, sats = args.dxf, args.dump, args.sat
    check(dxf, dump, sats, args.png)
    if failures:
        print("%d check(s) failed for %s" % (len(failures), dxf))
        return 1
    print("DXF check passed: %s" % dxf)
    return 0


if __name__ == "__main__":
    sys.exit(main())
