#!/usr/bin/python3
"""Checks a DXF file written by the simulated host with two independent readers (ezdxf, and
GDAL's DXF driver).

    dxf_check.py DXF DUMP [--sat SATFILE ...] [--png OUT.png] [--extent XMIN,YMIN,XMAX,YMAX]
    dxf_check.py --generator PATH --case NAME --workdir DIR

The second form first runs the host's DXF fixture generator for the case, then checks the
DXF and dump it wrote. Checks: ezdxf.readfile loads the file; doc.audit() reports no error and
no fix; the entity counts per space equal those of the host's dump; every layer of the dump is
in the file with its colour and line type; layer and block names and texts read back as the
host holds them (letters outside ASCII and carets included); arc, insert and text angles and the angles of
hatch arc and ellipse edges are written in degrees, ellipse parameters in radians; hatch
patterns (angle, spacing, the line's base point and offset, seed points) read back as the dump's;
associative hatches link to entities of the file that carry the hatch as reactor; the 3DSOLIDs
of each layout are the bodies of one of the SAT files given, one a solid, each solid's ACIS text
as ezdxf reads it equal line by line to its body's records; handles are unique and below $HANDSEED;
`python3 -m ezdxf draw` renders the file.
A second reader, GDAL's DXF driver (ogrinfo), must open the file too: its count of
model-space features equals ezdxf's model-space entity count, its count with the blocks expanded
equals ezdxf's count of the expanded entities, and its extent of the model space (blocks expanded,
text left out: the readers size text differently) equals ezdxf's bounding box of the same
entities within 1e-6 of the drawing size; it reads each text that holds no form the two readers
interpret otherwise as the host holds it; with --extent, ezdxf's extent equals the one given.
Exit status 0 when every check passes.
"""

import argparse
import json
import math
import os
import re
import shutil
import subprocess
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.tools.text import caret_decode

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
        # ezdxf reads '^' and the character after it as a control character (caret notation,
        # "^ " for a caret itself); a character the file's code page lacks is written in the
        # \U+XXXX form.
        got = caret_decode(e.text if kind == "MTEXT" else e.dxf.text)
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


def hatch_edge_angles(groups):
    """The start and end angles (radians) of the arc and ellipse edges of a HATCH's group list,
    in order, as ("arc" or "ellipse", start, end); polyline loops have none."""
    out = []
    k = next((i for i, (c, _) in enumerate(groups) if c == 91), len(groups))
    values = [v for _, v in groups]
    codes = [c for c, _ in groups]

    def at(i, code):
        if i >= len(codes) or codes[i] != code:
            raise ValueError("group %d expected at %d" % (code, i))
        return values[i]

    loops = int(at(k, 91))
    k += 1
    for _ in range(loops):
        kind = int(at(k, 92))
        k += 1
        if kind & 2:
            has_bulge = int(at(k, 72))
            n = int(at(k + 2, 93))
            k += 3
            for _ in range(n):
                k += 1
                if has_bulge and k < len(codes) and codes[k] == 42:
                    k += 1
        else:
            n = int(at(k, 93))
            k += 1
            for _ in range(n):
                edge = int(at(k, 72))
                if edge == 1:
                    k += 3
                elif edge == 2:
                    out.append(("arc", float(at(k + 3, 50)), float(at(k + 4, 51))))
                    k += 6
                elif edge == 3:
                    out.append(("ellipse", float(at(k + 4, 50)), float(at(k + 5, 51))))
                    k += 7
                else:
                    raise ValueError("edge type %d" % edge)
        n = int(at(k, 97))
        k += 1
        while k < len(codes) and codes[k] == 330:
            k += 1
    return out


def check_hatch_edges(handle, ent, hatch):
    """Arc and ellipse edges hold degrees in the file where the host's list holds radians; a
    full turn stays a full turn."""
    try:
        wanted = hatch_edge_angles(ent["groups"])
    except (ValueError, IndexError) as exc:
        fail("HATCH %s: the dump's group list cannot be read: %s" % (handle, exc))
        return
    found = []
    for path in hatch.paths:
        for edge in getattr(path, "edges", []):
            name = type(edge).__name__
            if name == "ArcEdge":
                found.append(("arc", edge.start_angle, edge.end_angle))
            elif name == "EllipseEdge":
                found.append(("ellipse", edge.start_angle, edge.end_angle))
    if [f[0] for f in found] != [w[0] for w in wanted]:
        fail("HATCH %s: edges %s in the file, %s in the dump" %
             (handle, [f[0] for f in found], [w[0] for w in wanted]))
        return
    for (kind, start, end), (_, rad_start, rad_end) in zip(found, wanted):
        for value, rad in ((start, rad_start), (end, rad_end)):
            if abs(value - math.degrees(rad)) > 1e-6:
                fail("HATCH %s: %s edge angle %r in the file, dump %r rad" % (handle, kind, value,
                                                                             rad))


def check_hatch_pattern(handle, ent, hatch):
    """The pattern of a one-line pattern hatch reads back as the host's list holds it: angles
    (radians in the list, degrees in the file), spacing, the line's base point and offset, and
    the seed points."""
    groups = ent["groups"]
    k = next((i for i, (c, _) in enumerate(groups) if c == 75), None)
    if k is None:
        return
    pattern = groups[k:]

    def number(code):
        return first_real(pattern, code)

    def point(value):
        return [float(v) for v in value.split(",")]

    def close(a, b):
        return abs(a - b) <= 1e-9 * max(1.0, abs(b))

    if not angle_close(hatch.dxf.pattern_angle, math.degrees(number(52))):
        fail("HATCH %s: pattern angle %r in the file, dump %r rad" %
             (handle, hatch.dxf.pattern_angle, number(52)))
    if not close(hatch.dxf.pattern_scale, number(41)):
        fail("HATCH %s: pattern spacing %r in the file, dump %r" %
             (handle, hatch.dxf.pattern_scale, number(41)))
    lines = hatch.pattern.lines if hatch.pattern else []
    if len(lines) != 1:
        fail("HATCH %s: %d pattern lines in the file, one in the dump" % (handle, len(lines)))
        return
    line = lines[0]
    if not angle_close(line.angle, math.degrees(number(53))):
        fail("HATCH %s: pattern line angle %r in the file, dump %r rad" %
             (handle, line.angle, number(53)))
    for name, got, codes in (("base point", line.base_point, (43, 44)),
                             ("offset", line.offset, (45, 46))):
        wanted = [number(c) for c in codes]
        if not all(close(g, w) for g, w in zip((got[0], got[1]), wanted)):
            fail("HATCH %s: pattern line %s %r in the file, dump %r" %
                 (handle, name, tuple(got), wanted))
    seeds = [point(v)[:2] for c, v in pattern if c == 10]
    if len(hatch.seeds) != len(seeds) or not all(
            close(g[0], w[0]) and close(g[1], w[1]) for g, w in zip(hatch.seeds, seeds)):
        fail("HATCH %s: seed points %r in the file, dump %r" %
             (handle, [tuple(s) for s in hatch.seeds], seeds))


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


# Text entities, left out of the extent comparison.
TEXT_TYPES = ("TEXT", "MTEXT", "ATTRIB", "ATTDEF")
MODEL_SPACE = "(PaperSpace IS NULL OR PaperSpace = 0)"
NOT_TEXT = ("SubClasses NOT LIKE '%AcDbText%' AND SubClasses NOT LIKE '%AcDbMText%'"
            " AND SubClasses NOT LIKE '%AcDbAttribute%'")


def ogr_layers(dxf_path, config, where):
    """Feature count and extent ((minx, miny), (maxx, maxy)) or None of each layer that
    ogrinfo -al -so reports for the file, read with the given driver settings."""
    command = ["ogrinfo", "-ro", "-al", "-so", "-where", where]
    for key, value in config.items():
        command += ["--config", key, value]
    command.append(dxf_path)
    run = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
    out = run.stdout.decode("utf-8", "replace")
    if run.returncode != 0 or "using driver `DXF' successful" not in out:
        fail("ogrinfo cannot open the file (%d): %s" % (run.returncode,
                                                     run.stderr.decode(errors="replace")[-2000:]))
        return {}
    # The driver looks for the ACIS data of a 3DSOLID only in the ACDSDATA section of newer
    # releases; an R2000 file carries it in the entity itself (groups 1 and 3), as ezdxf reads it.
    for w in run.stderr.decode("utf-8", "replace").splitlines():
        if w.strip() and not re.search(r"ACDSRECORD data for entity \w+ was not found", w):
            fail("ogrinfo: %s" % w)
    layers, name = {}, None
    number = r"(-?[0-9.eE+-]+)"
    for line in out.splitlines():
        m = re.match(r"Layer name: (.*)$", line)
        if m:
            name = m.group(1)
            layers[name] = [0, None]
            continue
        m = re.match(r"Feature Count: (\d+)$", line)
        if m and name:
            layers[name][0] = int(m.group(1))
        m = re.match(r"Extent: \(%s, %s\) - \(%s, %s\)$" % (number, number, number, number), line)
        if m and name:
            v = [float(g) for g in m.groups()]
            layers[name][1] = ((v[0], v[1]), (v[2], v[3]))
    return layers


def expanded(entities):
    """The entities with every INSERT replaced by its block's entities, placed, at any depth
    (ezdxf leaves out what it cannot transform, such as 3DSOLIDs)."""
    for e in entities:
        if e.dxftype() == "INSERT":
            yield from expanded(e.virtual_entities())
        else:
            yield e


def expanded_count(doc, entities):
    """How many entities the model space holds with every INSERT replaced by its block's."""
    total = 0
    for e in entities:
        if e.dxftype() == "INSERT":
            block = doc.blocks.get(e.dxf.name)
            total += e.mcount * (expanded_count(doc, block) if block is not None else 0)
        else:
            total += 1
    return total


def hatch_points(hatch, sagitta):
    """Points on the true boundary curves of a hatch (within `sagitta` of them), or None when a
    boundary is not made of line, arc and ellipse edges. ezdxf's own box of a hatch goes through
    cubic Bezier approximations of its arcs and ellipses, which bulge past the curves by up to
    about 1e-5 of their radius: too coarse to compare extents at 1e-6 of the drawing size."""
    points = []
    for path in hatch.paths:
        if not hasattr(path, "edges"):
            return None
        for edge in path.edges:
            if edge.type.name == "LINE":
                points += [edge.start, edge.end]
                continue
            tool = edge.construction_tool() if edge.type.name in ("ARC", "ELLIPSE") else None
            if tool is None or not hasattr(tool, "flattening"):
                return None
            points += list(tool.flattening(sagitta))
    return points


# Entities whose extents are taken from points on their true curves (see hatch_points).
CURVED = ("HATCH", "ARC", "CIRCLE", "ELLIPSE")


def geometry_extents(entities):
    """ezdxf's bounding box of the entities, curves and hatches taken along their true curves."""
    rough = bbox.extents(entities, fast=True)
    sagitta = 1e-8 * max(rough.size.x, rough.size.y, 1.0) if rough.has_data else 1e-8
    box = bbox.extents([e for e in entities if e.dxftype() not in CURVED], fast=False)
    for e in entities:
        if e.dxftype() not in CURVED:
            continue
        if e.dxftype() != "HATCH":
            box.extend(list(e.flattening(sagitta)))
            continue
        points = hatch_points(e, sagitta)
        if points is None:
            box.extend(bbox.extents([e], fast=False))
        elif points:
            box.extend(points)
    return box


def check_gdal(dxf_path, doc):
    if shutil.which("ogrinfo") is None:
        fail("ogrinfo (gdal-bin) is not installed")
        return
    msp = list(doc.modelspace())
    leaves = list(expanded(msp))
    leaf_count = expanded_count(doc, msp)
    # 3DSOLIDs are features of the driver's extensible mode (without geometry, as for ezdxf).
    solids = {"DXF_3D_EXTENSIBLE_MODE": "TRUE"}

    # The model space as it is: an INSERT is one feature.
    layers = ogr_layers(dxf_path, dict(solids, DXF_INLINE_BLOCKS="FALSE"), MODEL_SPACE)
    if "entities" not in layers:
        fail("ogrinfo reports no entities layer")
        return
    if layers["entities"][0] != len(msp):
        fail("GDAL reads %d model-space features, ezdxf %d entities"
             % (layers["entities"][0], len(msp)))

    # Blocks expanded, one feature per entity; arcs approximated finely enough for the extent.
    inline = dict(solids, DXF_MERGE_BLOCK_GEOMETRIES="FALSE", OGR_ARC_STEPSIZE="0.01")
    layers = ogr_layers(dxf_path, inline, MODEL_SPACE)
    count = layers.get("entities", [0])[0]
    if count != leaf_count:
        fail("GDAL reads %d features with the blocks expanded, ezdxf %d entities"
             % (count, leaf_count))
    layers = ogr_layers(dxf_path, inline, MODEL_SPACE + " AND " + NOT_TEXT)
    gdal_extent = layers.get("entities", [0, None])[1]
    box = geometry_extents([e for e in leaves if e.dxftype() not in TEXT_TYPES])
    if not box.has_data:
        if gdal_extent is not None:
            fail("GDAL sees the extent %r, ezdxf no geometry" % (gdal_extent,))
        return
    if gdal_extent is None:
        fail("GDAL sees no extent, ezdxf %r - %r" % (tuple(box.extmin), tuple(box.extmax)))
        return
    ours = ((box.extmin.x, box.extmin.y), (box.extmax.x, box.extmax.y))
    size = max(box.size.x, box.size.y, 1e-9)
    worst = max(abs(a - b) for p, q in zip(ours, gdal_extent) for a, b in zip(p, q))
    if worst > 1e-6 * size:
        fail("GDAL extent %r, ezdxf %r: they differ by %g, drawing size %g"
             % (gdal_extent, ours, worst, size))


def check_gdal_texts(dxf_path, dump_path):
    """GDAL reads each TEXT and MTEXT of the dump (blocks included) whose text holds none of the
    forms the readers interpret otherwise (a backslash, "%%", braces, a character outside the
    file's code page) as the host holds it."""
    _, texts = parse_dump_names(dump_path)
    plain = {h: t for h, (_, t) in texts.items()
             if "\\" not in t and "%%" not in t and not re.search(r"[{}]", t)
             and all(32 <= ord(c) < 127 or 0xA0 <= ord(c) < 0x100 for c in t)}
    if not plain:
        return
    found = {}
    for layer in ("entities", "blocks"):
        run = subprocess.run(["ogr2ogr", "--config", "DXF_INLINE_BLOCKS", "FALSE", "-f", "GeoJSON",
                              "/vsistdout/", dxf_path, layer, "-where",
                              "SubClasses LIKE '%AcDbText%' OR SubClasses LIKE '%AcDbMText%'"],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
        if run.returncode != 0:
            fail("ogr2ogr cannot read the texts of layer %s (%d): %s" % (
                layer, run.returncode, run.stderr.decode(errors="replace")[-2000:]))
            return
        for feature in json.loads(run.stdout.decode("utf-8"))["features"]:
            found[feature["properties"]["EntityHandle"]] = feature["properties"].get("Text")
    for handle, text in sorted(plain.items()):
        if found.get(handle) != text:
            fail("GDAL reads text %s as %r, the host holds %r" % (handle, found.get(handle), text))


def check_extent(doc, wanted):
    """ezdxf's extent of the model space (blocks expanded, text left out, curves along their
    true course) equals wanted, (xmin, ymin, xmax, ymax), within 1e-6 of the drawing size."""
    leaves = [e for e in expanded(doc.modelspace()) if e.dxftype() not in TEXT_TYPES]
    box = geometry_extents(leaves)
    if not box.has_data:
        fail("no extent, expected %r" % (wanted,))
        return
    got = (box.extmin.x, box.extmin.y, box.extmax.x, box.extmax.y)
    size = max(box.size.x, box.size.y, 1e-9)
    if max(abs(a - b) for a, b in zip(got, wanted)) > 1e-6 * size:
        fail("extent %r, expected %r" % (got, wanted))


SAT_END_MARKERS = ("End-of-ACIS-data", "End-of-ASM-data")
SAT_HISTORY_BEGIN = ("Begin-of-ACIS-History-Data", "Begin-of-ASM-History-Data")
SAT_HISTORY_END = ("End-of-ACIS-History-Section", "End-of-ASM-History-Section")


def sat_key_line(line):
    """Whether the line is the key line "T @N key" that newer writers put after the header."""
    m = re.match(r"T[ \t]+@(\d+)[ \t]", line)
    return bool(m) and len(line) >= m.end() + int(m.group(1)) and \
        not line[m.end() + int(m.group(1)):].strip(" \t")


SAT_WORD = re.compile(r"[^ \n#]*")


def sat_records_by_words(rest):
    """Records of version 700 on: words up to a '#' outside an "@N" counted string. Returns the
    main section's records (begin, end, words with their offsets) and the end marker."""
    records, record, skipping, i = [], None, False, 0
    while True:
        while i < len(rest) and rest[i] in " \n":
            i += 1
        if i >= len(rest):
            return records, None
        if record is None:
            word = SAT_WORD.match(rest, i).group()
            if word.startswith(SAT_END_MARKERS):
                return records, next(m for m in SAT_END_MARKERS if word.startswith(m))
            if word.startswith(SAT_HISTORY_BEGIN + SAT_HISTORY_END):
                skipping = word.startswith(SAT_HISTORY_BEGIN)
                i += len(word)
                continue
            line_start = rest.rfind("\n", 0, i) + 1
            record = {"begin": line_start if not rest[line_start:i].strip(" ") else i, "words": []}
        if rest[i] == "#":
            i += 1
            line_end = rest.find("\n", i)
            line_end = len(rest) if line_end < 0 else line_end
            record["end"] = line_end if not rest[i:line_end].strip(" ") else i
            if not skipping:
                records.append(record)
            record = None
            continue
        m = SAT_WORD.match(rest, i)
        if re.fullmatch(r"@\d+", m.group()):
            i = m.end() + 1 + int(m.group()[1:])
            record["words"].append(("@", None))
            continue
        record["words"].append((m.group(), i))
        i = m.end()


def sat_records_by_lines(rest):
    """Records before version 700: each ends with the line whose last character (blanks aside) is
    '#'. Same result form as sat_records_by_words."""
    records, begin, skipping, at = [], None, False, 0
    for line in rest.split("\n")[:-1]:
        start, at = at, at + len(line) + 1
        if begin is None:
            word = line.strip()
            if word.startswith(SAT_END_MARKERS):
                return records, next(m for m in SAT_END_MARKERS if word.startswith(m))
            if word.startswith(SAT_HISTORY_BEGIN + SAT_HISTORY_END):
                skipping = word.startswith(SAT_HISTORY_BEGIN)
                continue
            if not word:
                continue
            begin = start
        if line.rstrip(" ").endswith("#"):
            end = start + len(line)
            words = [(m.group(), begin + m.start())
                     for m in re.finditer(r"[^ \n]+", rest[begin:end])]
            words[-1] = (words[-1][0][:-1], words[-1][1])  # the record's own '#'
            if not skipping:
                records.append({"begin": begin, "end": end, "words": words})
            begin = None
    return records, None


def sat_bodies(text):
    """What each body of a SAT file is as a solid of its own: the header for one body (its record
    count; 2 top-level records where the file's first record is the ASM format's "asmheader", else
    1; history flag 0) with the product, units and key line ("T @N key") the file has, then the
    asmheader and the records the body reaches through "$N" pointers (not inside counted strings),
    in file order and renumbered from 0 ("$N" and a leading "-N"), each with its lines as the
    file has them (a record alone on its line keeps the line's blanks) and tabs as blanks, then the
    file's end marker when it has one; a history section goes into no solid. Strings are "@N
    text" from version 700 on; before it a record ends with the line that ends with '#'. A list
    of line lists, one per body. Lines end with LF (a CR before it dropped); in a file whose first
    line ends with a CR alone, a CR, a CR LF pair or a LF each end a line."""
    cr, lf = text.find("\r"), text.find("\n")
    cr_ends = cr >= 0 and (lf < 0 or cr < lf) and text[cr + 1:cr + 2] != "\n"
    lines = re.split(r"\r\n?|\n", text) if cr_ends else text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    lines = [l[:-1] if l.endswith("\r") else l for l in lines]
    version = int(lines[0].split()[0])
    first = 4 if version >= 700 and len(lines) > 3 and sat_key_line(lines[3]) else 3
    header = [l.replace("\t", " ") for l in lines[1:first]]
    rest = "".join(l.replace("\t", " ") + "\n" for l in lines[first:])
    records, end_marker = (sat_records_by_words if version >= 700 else sat_records_by_lines)(rest)

    def words(r):
        return [w for w, _ in r["words"]]

    def type_of(r):
        w = words(r)
        return w[1] if len(w) > 1 and re.fullmatch(r"-\d+", w[0]) else (w[0] if w else "")

    def numbers(r):
        """(offset, end, value, pointer) of each "$N" pointer and the leading "-N" number."""
        out = []
        for k, (word, offset) in enumerate(r["words"]):
            if offset is not None and re.fullmatch(r"\$-?\d+", word):
                out.append((offset + 1, offset + len(word), int(word[1:]), True))
            elif k == 0 and re.fullmatch(r"-\d+", word):
                out.append((offset + 1, offset + len(word), None, False))
        return out

    asm = bool(records) and type_of(records[0]) == "asmheader"
    solids = []
    for start in [n for n, r in enumerate(records) if type_of(r) == "body"]:
        seen = {start, 0} if asm else {start}
        todo = list(seen)
        while todo:
            for _, _, value, pointer in numbers(records[todo.pop()]):
                if pointer and value >= 0 and value not in seen:
                    seen.add(value)
                    todo.append(value)
        order = sorted(seen)
        new = {old: k for k, old in enumerate(order)}
        out = ["%s %d %d 0" % (lines[0].split()[0], len(order), 2 if asm else 1)] + header
        for n in order:
            r = records[n]
            piece, at = "", r["begin"]
            for a, b, value, pointer in numbers(r):
                piece += rest[at:a]
                piece += rest[a:b] if pointer and value < 0 else str(new[value if pointer else n])
                at = b
            piece += rest[at:r["end"]]
            out += piece.split("\n")
        if end_marker:
            out.append(end_marker)
        solids.append(out)
    return solids


def check_solids(doc, sat_paths):
    """Every layout (model space, each block) that holds 3DSOLIDs holds the bodies of one of the
    SAT files, one body a solid in the file's order, each solid's text read back by ezdxf equal
    line by line to that body's text."""
    expected = []
    for p in sat_paths:
        with open(p, "rb") as f:
            expected.append((p, sat_bodies(f.read().decode("latin-1"))))
    layouts = [doc.modelspace()] + list(doc.blocks)
    found = False
    for layout in layouts:
        solids = list(layout.query("3DSOLID"))
        if not solids:
            continue
        found = True
        data = [list(s.acis_data) for s in solids]
        if any(data == bodies for _, bodies in expected):
            continue
        # Say where the nearest file differs: the first solid and line that disagree.
        path, bodies = min(expected, key=lambda e: abs(len(e[1]) - len(data)))
        if len(bodies) != len(data):
            fail("%s holds %d 3DSOLIDs, %s %d bodies" % (layout.name, len(data), path, len(bodies)))
            continue
        for k, (got, want) in enumerate(zip(data, bodies)):
            if got == want:
                continue
            n = next((j for j, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
            fail("3DSOLID %s (body %d of %s), line %d: %r, the file gives %r" % (
                solids[k].dxf.handle, k + 1, path, n + 1, got[n] if n < len(got) else None,
                want[n] if n < len(want) else None))
            break
    if not found:
        fail("no 3DSOLID in the file")


def check(dxf_path, dump_path, sat_paths, png_path, extent=None):
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
        if ent["type"] == "HATCH":
            check_hatch_edges(handle, ent, e)
            check_hatch_pattern(handle, ent, e)
        for code, attr in pairs:
            rad = first_real(ent["groups"], code)
            if rad is not None and not angle_close(e.dxf.get(attr, 0.0), math.degrees(rad)):
                fail("%s %s: %s is %r in the file, dump %r rad" % (ent["type"], handle, attr,
                                                                     e.dxf.get(attr), rad))
        # ELLIPSE parameters stay in radians in the file; a full turn stays one.
        for code, attr in ([(41, "start_param"), (42, "end_param")]
                           if ent["type"] == "ELLIPSE" else []):
            rad = first_real(ent["groups"], code)
            if rad is not None and abs(e.dxf.get(attr, 0.0) - rad) > 1e-9:
                fail("ELLIPSE %s: %s is %r in the file, dump %r" % (handle, attr, e.dxf.get(attr),
                                                                   rad))

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

    # Each layout's 3DSOLIDs are the bodies of one SAT file, one a solid, in order.
    if sat_paths:
        check_solids(doc, sat_paths)

    check_gdal(dxf_path, doc)
    check_gdal_texts(dxf_path, dump_path)
    if extent is not None:
        check_extent(doc, extent)

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
    ap.add_argument("--extent", help="XMIN,YMIN,XMAX,YMAX: the model space's expected extent")
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
    extent = tuple(float(v) for v in args.extent.split(",")) if args.extent else None
    check(dxf, dump, sats, args.png, extent)
    if failures:
        print("%d check(s) failed for %s" % (len(failures), dxf))
        return 1
    print("DXF check passed: %s" % dxf)
    return 0


if __name__ == "__main__":
    sys.exit(main())
