#!/usr/bin/env python3
"""Prints the table of the ratios the speed and memory goals name, from benchmark results in
Google Benchmark's JSON form (the bench_* executables with --benchmark_format=json, and
e2e_bench.py).

  ratio_table.py RESULT.json ...

A goal is one row of ROWS below; adding a goal is adding a row. Row kinds:
  Ratio(label, numerator, denominator, goal)   time of one benchmark over another's; each name
      may hold "{n}": the row is then shown for the largest n both have, and for every n with
      each_n=True
  Flat(label, pattern, goal, value)            max/min over n of a value per item of the
      benchmarks matching pattern ("{n}" stands for the size); value is "time" (time / n) or a
      counter name
  Counter(label, name, counter, goal)          a counter a benchmark reports (e.g. a memory ratio)
A row whose benchmarks did not run shows "not run". The status column says whether the value
meets its goal (value <= goal); a row with the goal None has no goal of its own and explains
another row (its target shows "-").
"""
import json
import re
import sys


class Ratio:
    def __init__(self, label, numerator, denominator, goal, each_n=False):
        self.label, self.num, self.den, self.goal, self.each_n = (label, numerator, denominator,
                                                                  goal, each_n)

    def rows(self, results):
        if "{n}" not in self.num:
            yield self.label, quotient(results, self.num, self.den), self.goal
            return
        sizes = sorted(set(sizes_of(results, self.num)) & set(sizes_of(results, self.den)))
        if not sizes:
            yield self.label, None, self.goal
            return
        for n in sizes if self.each_n else sizes[-1:]:
            yield ("%s, n=%s" % (self.label, n),
                   quotient(results, self.num.format(n=n), self.den.format(n=n)), self.goal)


class Flat:
    def __init__(self, label, pattern, goal, value="time"):
        self.label, self.pattern, self.goal, self.value = label, pattern, goal, value

    def rows(self, results):
        per = {}
        for n in sizes_of(results, self.pattern):
            r = results[self.pattern.format(n=n)]
            per[n] = seconds(r) / int(n) if self.value == "time" else r.get(self.value)
        per = {n: v for n, v in per.items() if v}
        if len(per) < 2:
            yield self.label, None, self.goal
            return
        span = "%s..%s" % (min(per, key=int), max(per, key=int))
        yield "%s (n=%s)" % (self.label, span), max(per.values()) / min(per.values()), self.goal


class Counter:
    def __init__(self, label, name, counter, goal):
        self.label, self.name, self.counter, self.goal = label, name, counter, goal

    def rows(self, results):
        names = [self.name.format(n=n) for n in sizes_of(results, self.name)] \
            if "{n}" in self.name else [self.name]
        names = [n for n in names if n in results and self.counter in results[n]]
        if not names:
            yield self.label, None, self.goal
        for name in names:
            yield "%s (%s)" % (self.label, name), results[name][self.counter], self.goal


ROWS = [
    # Metafile load.
    Ratio("metafile load / raw byte scan of the file", "BM_MetaLoad/{n}", "BM_RawScan/{n}", 10,
          each_n=True),
    Ratio("metafile load / RapidJSON DOM parse of the same content", "BM_MetaLoad/{n}",
          "BM_RapidJson/{n}", 3, each_n=True),
    Counter("metafile load: peak memory / file size", "BM_MetaLoad/{n}", "peak_x_file", 6),
    Flat("metafile load: time per shape, max/min", "BM_MetaLoad/{n}", 1.3),
    # What the load's time is made of: the same tree built by code, no text read.
    Ratio("metafile load: building its tree alone, no text read / RapidJSON",
          "BM_MetaTreeBuild/{n}", "BM_RapidJson/{n}", None, each_n=True),
    Ratio("metafile load / building its tree alone", "BM_MetaLoad/{n}", "BM_MetaTreeBuild/{n}",
          None, each_n=True),
    Flat("one section of n children: time per child, max/min", "BM_MetaLoadWide/{n}", 1.3),
    Ratio("one section of n children: load / raw byte scan", "BM_MetaLoadWide/{n}",
          "BM_RawScanWide/{n}", 10, each_n=True),
    Ratio("one section of n children: load / RapidJSON", "BM_MetaLoadWide/{n}",
          "BM_RapidJsonWide/{n}", 3, each_n=True),
    Ratio("one section of n children: building its tree alone / RapidJSON",
          "BM_MetaTreeBuildWide/{n}", "BM_RapidJsonWide/{n}", None, each_n=True),
    # NURBS evaluation against the textbook evaluator of the benchmark.
    Ratio("NURBS curve point (degree 3) / textbook", "BM_NurbsCurvePoint/{n}",
          "BM_TextbookCurvePoint/{n}", 1.5, each_n=True),
    Ratio("NURBS surface point (degree 3) / textbook", "BM_NurbsSurfacePoint/{n}",
          "BM_TextbookSurfacePoint/{n}", 1.5, each_n=True),
    # End to end: open-part command -> DXF in kestrix-host.
    Flat("end to end: net time per shape, max/min", "E2E_ConvertNet/{n}", 1.3, "per_shape"),
    Flat("end to end: net processor time per shape, max/min", "E2E_ConvertNet/{n}", 1.3,
         "cpu_per_shape"),
    Ratio("end to end: net conversion / ezdxf.readfile of its DXF", "E2E_ConvertNet/{n}",
          "Ezdxf_Read/{n}", 0.1, each_n=True),
    # One long text is held a few times over (the tree, the host's list and its entity), never
    # once per character.
    Counter("end to end: one text of n characters: peak memory / file size",
            "E2E_LongText/{n}", "peak_x_file", None),
    Counter("end to end: one text of n characters: peak memory over a small part's / file size",
            "E2E_LongText/{n}", "net_peak_x_file", 10),
    # A hatch costs about what its boundary shapes cost.
    Ratio("end to end: n lines with a hatch bounded by them / the same lines alone",
          "E2E_HatchOverLines/{n}", "E2E_LinesAlone/{n}", 2.5, each_n=True),
    # Block naming looks every figure's name up in the block table: 10 times the figures, at
    # most about 15 times the time. Figures of one name take the k-th free name with k lookups.
    Ratio("end to end: figures named apart, net time, 10000 figures / 1000",
          "E2E_FiguresDistinctNet/10000", "E2E_FiguresDistinctNet/1000", 15),
    Ratio("end to end: 1000 figures of one name / 1000 figures named apart",
          "E2E_FiguresOneName/1000", "E2E_FiguresDistinct/1000", None),
    # Feature pattern expansion is linear in its points: 8 times the points, at most about 10
    # times the time, for each kind of pattern.
    *[Ratio("feature pattern expansion, %s: 8000 points / 1000 points" % label,
            "BM_PatternExpand%s/8000" % kind, "BM_PatternExpand%s/1000" % kind, 10)
      for kind, label in (("Parallel", "parallel"), ("Crossing", "crossing (new planes)"),
                          ("Rotating", "rotating"),
                          ("RotatingCrossing", "rotating and crossing"))],
]


def seconds(r):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[r.get("time_unit", "ns")]
    return r["real_time"] * scale


def quotient(results, a, b):
    if a not in results or b not in results or seconds(results[b]) == 0:
        return None
    return seconds(results[a]) / seconds(results[b])


def sizes_of(results, pattern):
    """The n of every result whose name is pattern with {n} a number."""
    rx = re.compile("^" + re.escape(pattern).replace(re.escape("{n}"), r"(\d+)") + "$")
    return sorted((m.group(1) for m in map(rx.match, results) if m), key=int)


def load(paths):
    results = {}
    for path in paths:
        with open(path) as f:
            text = f.read()
        if not text.strip():
            continue
        for r in json.loads(text).get("benchmarks", []):
            if r.get("run_type", "iteration") == "iteration" and "error_occurred" not in r:
                results.setdefault(r["name"], r)
    return results


def main():
    results = load(sys.argv[1:])
    lines = []
    for row in ROWS:
        for label, value, goal in row.rows(results):
            target = "-" if goal is None else "<= %g" % goal
            if value is None:
                lines.append((label, "not run", target, ""))
            elif goal is None:
                lines.append((label, "%.3g" % value, target, ""))
            else:
                lines.append((label, "%.3g" % value, target, "met" if value <= goal else "MISSED"))
    width = max(len(l[0]) for l in lines)
    print("%-*s  %10s  %8s  %s" % (width, "goal", "ratio", "target", "status"))
    for label, value, goal, status in lines:
        print("%-*s  %10s  %8s  %s" % (width, label, value, goal, status))


if __name__ == "__main__":
    main()
