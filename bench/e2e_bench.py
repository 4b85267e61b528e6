#!/usr/bin/env python3
"""End-to-end conversion benchmark: the open-part command of the plug-in, run in kestrix-host,
reads a generated metafile of N shapes (lines, arcs and circles in one figure) and the host saves
the drawing as DXF; then ezdxf reads that DXF (ezdxf.readfile, in its own process, import time
not counted).

  e2e_bench.py --bin build/release/bin --sample examples [--sizes 1000,10000,...] [--out FILE]

Writes its measurements in the JSON form Google Benchmark writes (--benchmark_format=json), so
that bench/ratio_table.py reads both alike:
  E2E_SmallPart            wall time of the same run with a part of 10 shapes (the fixed cost)
  E2E_Convert/N            wall time of the run with N shapes (the best of a few runs)
  E2E_ConvertNet/N         E2E_Convert/N - E2E_SmallPart, with the counters per_shape (seconds)
                           and cpu_per_shape (the same for the processor time the host used,
                           user and system, which a busy machine disturbs less)
  Ezdxf_Read/N             ezdxf.readfile of the DXF of N shapes (for the sizes of --ezdxf; the
                           better of two runs)
  E2E_HatchOverLines/N     wall time of the run with a figure of N lines round a polygon and one
                           hatch whose loop is bounded by all of them (for the sizes of
                           --hatch-sizes; the best of a few runs)
  E2E_LinesAlone/N         the same run with the same N lines and no hatch
  E2E_FiguresDistinct/N    wall time of the run with a DRAWING of N grouped figures of one
                           circle each, every figure named apart (for the sizes of
                           --figure-sizes; the best of a few runs): one block a figure, each
                           name looked up in the block table before the block is made
  E2E_FiguresOneName/N     the same with every figure of one name (for the sizes of
                           --one-name-sizes): the k-th figure's block takes the k-th free name,
                           so the naming looks up 1 + 2 + ... + N names
  E2E_FiguresDistinctNet/N, E2E_FiguresOneNameNet/N   the same less E2E_SmallPart
  E2E_LongText/N           the run with a figure of one text of N characters, a line feed every
                           tenth (for the sizes of --text-sizes; one run), with the counters
                           peak_bytes (the host's peak resident memory), peak_x_file (that over
                           the metafile's size) and net_peak_x_file (the same for the peak less
                           that of the run with the small part)
Every run gets its own temporary folder (the module copied with a start.env pointing at the
sample installation, HOME, TMPDIR, registry and drive c: inside it), as the end-to-end tests do.
"""
import argparse
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_support import run_environment, write_start_env  # noqa: E402

SMALL = 10


def write_metafile(path, n):
    """A FIGURE with n shapes, in turn a LINE, a CIRCLE and an ARC, laid out on a grid."""
    with open(path, "w") as f:
        f.write('FIGURE {\n  NAME { "Bench %d" }\n  ANSICHTNO { -1 }\n  GROUP { "NO" }\n'
                '  INSERTPOINT {\n    POINT { 0 0 }\n    ROTATION { 0 }\n  }\n'
                '  FIGUREPREFS {\n    UNITBASE { 1 }\n  }\n  FIGURITEMS {\n'
                '    SHAPEATTR {\n      SHAPEWIDTH { 1 }\n      SHAPETYP { 0 }\n'
                '      COSMETIC { 0 }\n    }\n' % n)
        chunk = []
        for i in range(n):
            x, y = (i % 1000) * 3, (i // 1000) * 3
            kind = i % 3
            if kind == 0:
                chunk.append("    LINE {\n      POINT { %d %d }\n      POINT { %d %d }\n    }\n"
                             % (x, y, x + 2, y + 1))
            elif kind == 1:
                chunk.append("    CIRCLE {\n      POINT { %d %d }\n      RAD { 1.25 }\n    }\n"
                             % (x + 1, y + 1))
            else:
                chunk.append("    ARC {\n      POINT { %d %d }\n      POINT { %d %d }\n"
                             "      POINT { %d %d }\n    }\n" % (x, y + 1, x + 1, y + 2, x + 2, y + 1))
            if len(chunk) >= 10000:
                f.write("".join(chunk))
                chunk = []
        f.write("".join(chunk))
        f.write("  }\n}\n")


def write_text_metafile(path, n):
    """A FIGURE with one TEXT of n characters, a line feed every tenth, so that the MTEXT has
    n / 10 line breaks ("\\P") and goes into the DXF in pieces."""
    line = "abcdefghi\n"
    with open(path, "w") as f:
        f.write('FIGURE {\n  NAME { "Text %d" }\n  ANSICHTNO { -1 }\n  GROUP { "NO" }\n'
                '  INSERTPOINT {\n    POINT { 0 0 }\n    ROTATION { 0 }\n  }\n'
                '  FIGURITEMS {\n    TEXT {\n      TEXT { "' % n)
        for i in range(0, n, 100000):
            f.write(line * (min(n - i, 100000) // len(line)))
        f.write('" }\n      POINT { 10 20 }\n      HEIGHT { 2.5 }\n      ANGLE { 0 }\n'
                '      TEXTRELPOS { 1 }\n      TEXTALIGN { 1 }\n      TEXTBW { 10 }\n'
                '      TEXTBH { 3 }\n    }\n  }\n}\n')


def write_hatch_metafile(path, n, hatch):
    """A FIGURE of n lines round a regular polygon and, when hatch is true, one hatch whose single
    loop is bounded by every line, in order."""
    head = ('FIGURE {\n  NAME { "Hatch %d" }\n  ANSICHTNO { -1 }\n  GROUP { "NO" }\n'
            '  INSERTPOINT {\n    POINT { 0 0 }\n    ROTATION { 0 }\n  }\n'
            '  FIGUREPREFS {\n    UNITBASE { 1 }\n  }\n  FIGURITEMS {\n'
            '    SHAPEATTR {\n      SHAPEWIDTH { 1 }\n      SHAPETYP { 0 }\n'
            '      COSMETIC { 0 }\n    }\n' % n)
    # Depth-first ordinals: FIGURE 1 up to COSMETIC's value 24; each LINE is 7 nodes (the key,
    # two POINTs and their four numbers).
    first_line = 25
    radius = n / 3.0
    points = [(radius * math.cos(2 * math.pi * i / n), radius * math.sin(2 * math.pi * i / n))
              for i in range(n)]
    with open(path, "w") as f:
        f.write(head)
        chunk = []
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            chunk.append("    LINE {\n      POINT { %r %r }\n      POINT { %r %r }\n    }\n"
                         % (x1, y1, x2, y2))
            if len(chunk) >= 10000:
                f.write("".join(chunk))
                chunk = []
        f.write("".join(chunk))
        f.write("  }\n")
        if hatch:
            f.write("  M2DHATCHES {\n    M2DHATCH {\n      ANGLE { 0 }\n      DISTANCE { %r }\n"
                    "      M2DHATCHLOOPS {\n        M2DHATCHLOOP {\n"
                    "          M2DHATCHLOOPSHREFS {\n" % (radius / 10.0))
            for i in range(0, n, 10000):
                f.write("".join("            MOREF { REFTRG { %d } }\n" % (first_line + 7 * k)
                                for k in range(i, min(n, i + 10000))))
            f.write("          }\n        }\n      }\n    }\n  }\n")
        f.write("}\n")


def write_figures_metafile(path, n, distinct):
    """A DRAWING of n figures, each a group of one circle; named "Fig 0", "Fig 1", ... when
    distinct is true, else all "Fig"."""
    with open(path, "w") as f:
        f.write('DRAWING {\n  NAME { "Figures %d" }\n  ANSICHTNO { -1 }\n  DRAWINGITEMS {\n' % n)
        chunk = []
        for i in range(n):
            name = "Fig %d" % i if distinct else "Fig"
            chunk.append('    FIGURE {\n      NAME { "%s" }\n      ANSICHTNO { -1 }\n'
                         '      GROUP { "YES" }\n      INSERTPOINT {\n        POINT { %d %d }\n'
                         '        ROTATION { 0 }\n      }\n      FIGURITEMS {\n'
                         '        CIRCLE {\n          POINT { 0 0 }\n          RAD { 1.25 }\n'
                         '        }\n      }\n    }\n'
                         % (name, (i % 1000) * 3, (i // 1000) * 3))
            if len(chunk) >= 10000:
                f.write("".join(chunk))
                chunk = []
        f.write("".join(chunk))
        f.write("  }\n  DRAWINGPREFS {\n    UNITBASE { 1 }\n  }\n}\n")


SHAPE_RECORD = re.compile(rb"\n *0\r?\n(?:LINE|ARC|CIRCLE)\r?\n")
BLOCK_RECORD = re.compile(rb"\n *0\r?\nBLOCK\r?\n")


class Installation:
    """A private copy of the deliverable with the sample installation, as a user would have it."""

    def __init__(self, bin_dir, sample, release):
        self.tmp = tempfile.mkdtemp(prefix="kestrix-bench-")
        self.bin = os.path.join(self.tmp, "bin")
        for d in (self.bin, os.path.join(self.tmp, "c"), os.path.join(self.tmp, "home"),
                  os.path.join(self.tmp, "tmp"), os.path.join(self.tmp, "registry")):
            os.makedirs(d)
        user = os.path.join(self.tmp, "user")
        shutil.copytree(os.path.join(sample, "user"), user)
        module = "libkestrix2000.so" if release == "2000" else "libkestrix.so"
        self.module = os.path.join(self.bin, module)
        shutil.copy2(os.path.join(bin_dir, module), self.module)
        shutil.copy2(os.path.join(sample, "setup", "kestrix.lin"), self.bin)
        variables = {
            "QUORVEL": os.path.join(sample, "quorvel"),
            "QUORVEL_SETUP": os.path.join(sample, "setup"),
            "QUORVEL_USER": user,
            "QUORVEL_LANGUAGE": "english",
            "QUORVEL_BIN": bin_dir,
        }
        write_start_env(self.bin, variables)
        self.env = run_environment(variables, self.tmp, os.path.join(self.tmp, "c"))
        self.host = os.path.join(bin_dir, "kestrix-host")
        self.release = release

    def convert(self, metafile, dxf):
        """Wall time, processor time (user + system) and peak resident memory (bytes) of one
        run: open the part, place it, save the DXF."""
        script = os.path.join(self.tmp, "open.script")
        with open(script, "w") as f:
            f.write("command TROVopenps2 %s\npoint 0,0\nangle 0\n" % metafile)
        command = [self.host, "--release", self.release, "--plugin", self.module, "--dxf", dxf,
                   script]
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            start = time.perf_counter()
            run = subprocess.Popen(command, cwd=self.tmp, env=self.env, stdout=out, stderr=err)
            # This run's own usage, whatever the runs before it used.
            _, status, usage = os.wait4(run.pid, 0)
            elapsed = time.perf_counter() - start
            run.returncode = os.waitstatus_to_exitcode(status)
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read(), err.read()
        cpu = usage.ru_utime + usage.ru_stime
        if run.returncode != 0 or b"refused" in stdout:
            sys.exit("kestrix-host failed (%d):\n%s%s" % (run.returncode, stdout.decode(),
                                                         stderr.decode()))
        return elapsed, cpu, usage.ru_maxrss * 1024

    def close(self):
        shutil.rmtree(self.tmp, ignore_errors=True)


def ezdxf_read_time(python, dxf):
    code = ("import sys, time, ezdxf\n"
            "t = time.perf_counter()\n"
            "ezdxf.readfile(sys.argv[1])\n"
            "print(time.perf_counter() - t)\n")
    run = subprocess.run([python, "-c", code, dxf], stdout=subprocess.PIPE, check=True)
    return float(run.stdout.decode().strip())


def entry(name, seconds, **counters):
    e = {"name": name, "run_name": name, "run_type": "iteration", "iterations": 1,
         "real_time": seconds, "cpu_time": seconds, "time_unit": "s"}
    e.update(counters)
    return e


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True, help="folder of kestrix-host and the deliverables")
    ap.add_argument("--sample", required=True, help="the sample installation (examples/)")
    ap.add_argument("--release", default="2000", choices=["2000", "r14"])
    ap.add_argument("--sizes", default="1000,10000,100000,1000000")
    ap.add_argument("--ezdxf", default="100000", help="sizes whose DXF ezdxf reads")
    ap.add_argument("--hatch-sizes", default="10000,100000",
                    help="sizes of the hatch over n boundary lines")
    ap.add_argument("--figure-sizes", default="1000,10000",
                    help="sizes of the drawing of figures named apart")
    ap.add_argument("--one-name-sizes", default="1000",
                    help="sizes of the drawing of figures of one name")
    ap.add_argument("--text-sizes", default="10000000",
                    help="characters of the one long text (multiples of 10)")
    ap.add_argument("--python", default="/usr/bin/python3", help="the python that has ezdxf")
    ap.add_argument("--out", help="JSON file (default: standard output)")
    args = ap.parse_args()
    sizes = [int(s) for s in args.sizes.split(",") if s]
    ezdxf_sizes = {int(s) for s in args.ezdxf.split(",") if s}
    hatch_sizes = [int(s) for s in args.hatch_sizes.split(",") if s]
    figure_runs = [("E2E_FiguresDistinct", True, int(s)) for s in args.figure_sizes.split(",") if s]
    figure_runs += [("E2E_FiguresOneName", False, int(s))
                    for s in args.one_name_sizes.split(",") if s]
    text_sizes = [int(s) for s in args.text_sizes.split(",") if s]
    inst = Installation(os.path.abspath(args.bin), os.path.abspath(args.sample), args.release)
    results = []
    try:
        def best(n, repeats, write=write_metafile):
            metafile = os.path.join(inst.tmp, "part-%d.ps2" % n)
            dxf = os.path.join(inst.tmp, "part-%d.dxf" % n)
            write(metafile, n)
            runs = [inst.convert(metafile, dxf) for _ in range(repeats)]
            seconds, cpu = min(r[0] for r in runs), min(r[1] for r in runs)
            with open(dxf, "rb") as f:
                made = len(SHAPE_RECORD.findall(f.read()))
            if made != n:
                sys.exit("the DXF of %d shapes holds %d shape records" % (n, made))
            os.remove(metafile)
            return seconds, cpu, dxf

        small, small_cpu, small_dxf = best(SMALL, 30)
        os.remove(small_dxf)
        results.append(entry("E2E_SmallPart", small, shapes=SMALL))
        for n in sizes:
            # Best of several runs: a shared machine's noise only ever adds time. The short runs
            # need the most, as their net time is a few milliseconds over the small part's.
            repeats = 30 if n <= 10000 else 5 if n <= 100000 else 2
            seconds, cpu, dxf = best(n, repeats)
            results.append(entry("E2E_Convert/%d" % n, seconds, shapes=n))
            net = max(seconds - small, 0.0)
            results.append(entry("E2E_ConvertNet/%d" % n, net, shapes=n, per_shape=net / n,
                                 cpu_per_shape=max(cpu - small_cpu, 0.0) / n))
            if n in ezdxf_sizes:
                results.append(entry("Ezdxf_Read/%d" % n,
                                     min(ezdxf_read_time(args.python, dxf) for _ in range(2)),
                                     shapes=n))
            os.remove(dxf)
            print("e2e: %d shapes %.3f s (net %.2f us a shape)" % (n, seconds, 1e6 * net / n),
                  file=sys.stderr)
        for n in hatch_sizes:
            repeats = 5 if n <= 10000 else 2
            for name, hatch in (("E2E_HatchOverLines", True), ("E2E_LinesAlone", False)):
                seconds, _, dxf = best(n, repeats,
                                       lambda path, size: write_hatch_metafile(path, size, hatch))
                if hatch:
                    with open(dxf, "rb") as f:
                        if not re.search(rb"\n *0\r?\nHATCH\r?\n", f.read()):
                            sys.exit("the DXF of the hatch over %d lines holds no HATCH" % n)
                os.remove(dxf)
                results.append(entry("%s/%d" % (name, n), seconds, shapes=n))
                print("e2e: %s %d lines %.3f s" % (name, n, seconds), file=sys.stderr)
        for name, distinct, n in figure_runs:
            # Every figure is a block of one circle, and the drawing one more around them.
            seconds, _, dxf = best(n, 5 if n <= 1000 else 3,
                                   lambda path, size: write_figures_metafile(path, size, distinct))
            with open(dxf, "rb") as f:
                # The file's BLOCKS section also holds model and paper space.
                blocks = len(BLOCK_RECORD.findall(f.read()))
            if blocks != n + 3:
                sys.exit("the DXF of %d figures holds %d blocks" % (n, blocks))
            os.remove(dxf)
            results.append(entry("%s/%d" % (name, n), seconds, figures=n))
            results.append(entry("%sNet/%d" % (name, n), max(seconds - small, 0.0), figures=n))
            print("e2e: %s %d figures %.3f s" % (name, n, seconds), file=sys.stderr)
        if text_sizes:
            # The fixed part of the peak: the host with its modules and a part of a few shapes.
            metafile = os.path.join(inst.tmp, "small.ps2")
            write_metafile(metafile, SMALL)
            base = inst.convert(metafile, os.path.join(inst.tmp, "small.dxf"))[2]
        for n in text_sizes:
            metafile = os.path.join(inst.tmp, "text-%d.ps2" % n)
            dxf = os.path.join(inst.tmp, "text-%d.dxf" % n)
            write_text_metafile(metafile, n)
            size = os.path.getsize(metafile)
            # Peak memory does not depend on the machine's load: one run is enough.
            seconds, _, peak = inst.convert(metafile, dxf)
            with open(dxf, "rb") as f:
                if f.read().count(b"\\P") != n // 10:
                    sys.exit("the DXF of the text of %d characters lacks its line breaks" % n)
            os.remove(metafile)
            os.remove(dxf)
            results.append(entry("E2E_LongText/%d" % n, seconds, characters=n, file_bytes=size,
                                 peak_bytes=peak, peak_x_file=peak / size,
                                 net_peak_x_file=max(peak - base, 0) / size))
            print("e2e: one text of %d characters %.3f s, peak %.1f MB (%.1f x the file, "
                  "%.1f x net of the %.1f MB of a small part)"
                  % (n, seconds, peak / 1e6, peak / size, max(peak - base, 0) / size, base / 1e6),
                  file=sys.stderr)
    finally:
        inst.close()
    text = json.dumps({"context": {"executable": "e2e_bench.py"}, "benchmarks": results},
                      indent=1)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text + "\n")
    else:
        print(text)


if __name__ == "__main__":
    main()
