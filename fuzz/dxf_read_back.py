#!/usr/bin/python3
"""Reads the DXF files the host writes for names and texts of any bytes with an independent reader.

    dxf_read_back.py REPLAY CORPUS WORKDIR [COUNT]

Makes COUNT inputs for the DXF writer's fuzz target (default 300): the corpus inputs, then inputs
whose parts (layer, line type, description, block, TEXT, MTEXT, CLAYER) are random bytes of every
value, from a fixed seed. REPLAY (the target built with its replay main) writes one DXF per input
into WORKDIR/dxf; each must load with ezdxf.readfile (no recovery) and pass doc.audit() with no
error. Exit status 0 when every file passes.
"""

import os
import random
import shutil
import subprocess
import sys

import ezdxf


def make_inputs(corpus, folder, count):
    os.makedirs(folder)
    seeds = []
    for name in sorted(os.listdir(corpus)):
        with open(os.path.join(corpus, name), "rb") as f:
            seeds.append(f.read())
    rng = random.Random(14)
    alphabet = [bytes([b]) for b in range(1, 256)] + [b"\\P", b"\\", b"\r\n", b"\xc3\xa4", b"\xe2\x82\xac", b"A-Z 0"]
    inputs = list(seeds)
    while len(inputs) < count:
        parts = []
        for _ in range(7):
            n = rng.choice([0, 1, 3, 10, 40, 300])
            parts.append(b"".join(rng.choice(alphabet) for _ in range(n)))
        if rng.random() < 0.5 and seeds:
            base = rng.choice(seeds).split(b"\0")
            k = rng.randrange(7)
            if k < len(base):
                parts[k] = base[k]
        inputs.append(b"\0".join(parts))
    for i, data in enumerate(inputs):
        with open(os.path.join(folder, "input-%04d" % i), "wb") as f:
            f.write(data)
    return len(inputs)


def main():
    replay, corpus, work = sys.argv[1:4]
    count = int(sys.argv[4]) if len(sys.argv) > 4 else 300
    shutil.rmtree(work, ignore_errors=True)
    inputs, out = os.path.join(work, "inputs"), os.path.join(work, "dxf")
    made = make_inputs(corpus, inputs, count)
    os.makedirs(out)
    env = dict(os.environ, KESTRIX_FUZZ_DXF_OUT=out)
    run = subprocess.run([replay, inputs], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if run.returncode != 0:
        sys.stderr.write(run.stderr.decode(errors="replace")[-4000:])
        print("FAIL: the writer's target failed (status %d)" % run.returncode)
        return 1
    files = sorted(os.listdir(out))
    failures = 0
    for name in files:
        path = os.path.join(out, name)
        try:
            doc = ezdxf.readfile(path)
            auditor = doc.audit()
            if auditor.has_errors:
                failures += 1
                print("FAIL: %s: audit: %s" % (name, "; ".join(str(e.message) for e in auditor.errors)[:500]))
        except Exception as e:  # any refusal of the reader is a failure of the file
            failures += 1
            print("FAIL: %s: %s: %s" % (name, type(e).__name__, str(e)[:500]))
    print("%d inputs, %d DXF files read back, %d failed" % (made, len(files), failures))
    return 1 if failures or not files else 0


if __name__ == "__main__":
    sys.exit(main())
