#!/usr/bin/env python3
"""Runs one launch case: kestrix-host loads a plug-in module and runs a script whose catalogue
commands start a recording stand-in in place of the launcher. The transcript, the blocks of the
drawing dump and the launch record must equal the expected files.

Every run gets its own temporary folder <TMP>:
  bin/        the module, a start.env and the sample's line-type file
  setup/      a copy of the sample's setup folder whose trovsol.cfg is the case's NAME.trovsol.cfg
  user/       a copy of the sample's user folder; NAME.plinth.cfg, when present, replaces plinth.cfg
  c/          drive c:, holding old exchange files plinth.out and acadxchg.sat at the start
  stand ins/  (a folder name with a blank) the stand-in launcher "trovstart", plain files
              "viewer", "assembly" and "shaft" for the programs, and "not-executable"
HOME, TMPDIR and the registry root lie inside <TMP>. start.env also sets STANDINS to the
stand-in folder, so a case's trovsol.cfg names the stand-ins as $STANDINS/...

The stand-in launcher writes one line per start to the launch record:
  launch [ARG0][ARG1]...       every argument it received, ARG0 being its own path
  old exchange files: NAMES    what lay in c/ when it started ("none")
then, when the case's NAME.expect says "chain", runs the real launcher (the bin folder's
trovstart) with the same arguments so the demo program leaves its part; otherwise it pauses
briefly and puts both old exchange files back, so that the next command's record shows whether
that command removed its own. After the run the runner appends
  exchange files at the end: NAMES

Expected files of a case NAME in the launch folder:
  NAME.script, NAME.trovsol.cfg      the host script and the launcher settings
  NAME.transcript                    the transcript
  NAME.launches                      the launch record
  NAME.dump                          optional: blocks that the drawing dump must hold (a block is
                                     a line that does not start with a blank, with the indented
                                     lines under it)
  NAME.plinth.cfg                    optional: the user configuration
  NAME.expect                        optional, one setting a line: "chain" (see above);
                                     "decoy FILE KIND": a file FILE in the host's working folder
                                     <TMP>, KIND being "launcher" (the stand-in launcher),
                                     "plain" (a file that is no program) or the name of a built
                                     program in <BIN> (a copy of it);
                                     "leave fifo NAME" / "leave zero NAME": the stand-in, in place
                                     of putting the old exchange files back, leaves at c/NAME a
                                     named pipe that nothing writes to, or a symbolic link to
                                     /dev/zero, as a catalogue program that failed might
In expected files <TMP> stands for the run's temporary folder, <BIN> for the folder of the built
programs and <RELEASE> for 2000 or r14.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of compiled files
from e2e_support import check, read, run_environment, write_start_env  # noqa: E402

RECORDER = r'''#!{python}
import os, subprocess, sys, time
record = os.environ["KESTRIX_LAUNCH_RECORD"]
drive = os.environ["KESTRIX_LAUNCH_DRIVE"]
def present():
    names = sorted(os.listdir(drive))
    return " ".join(names) if names else "none"
with open(record, "a", encoding="utf-8", errors="surrogateescape") as f:
    f.write("launch " + "".join("[" + a + "]" for a in sys.argv) + "\n")
    f.write("old exchange files: " + present() + "\n")
chain = os.environ.get("KESTRIX_LAUNCH_CHAIN")
if chain:
    sys.exit(subprocess.call([chain] + sys.argv[1:]))
time.sleep(0.5)
leave = os.environ.get("KESTRIX_LAUNCH_LEAVE")
if leave:
    kind, _, name = leave.partition(" ")
    path = os.path.join(drive, name)
    if os.path.lexists(path):
        os.remove(path)
    if kind == "fifo":
        os.mkfifo(path)
    else:
        os.symlink("/dev/zero", path)
    sys.exit(0)
for name in ("plinth.out", "acadxchg.sat"):
    with open(os.path.join(drive, name), "w") as f:
        f.write("old part\n")
'''


def normalise(text, tmp, bindir):
    for path, name in ((tmp, "<TMP>"), (bindir, "<BIN>")):
        text = text.replace(os.path.realpath(path), name).replace(path, name)
    return text


def main():
    ap = argparse.ArgumentParser()
    for name in ("host", "plugin", "sample", "bin", "cases", "case"):
        ap.add_argument("--" + name, required=True)
    ap.add_argument("--release", required=True, choices=["2000", "r14"])
    args = ap.parse_args()
    for name in ("host", "plugin", "sample", "bin", "cases"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    case = os.path.join(args.cases, args.case)

    tmp = tempfile.mkdtemp(prefix="kestrix-launch-")
    try:
        bindir = os.path.join(tmp, "bin")
        setup = os.path.join(tmp, "setup")
        user = os.path.join(tmp, "user")
        drive = os.path.join(tmp, "c")
        standins = os.path.join(tmp, "stand ins")
        record = os.path.join(tmp, "launches.txt")
        for d in (bindir, drive, standins, os.path.join(tmp, "home"), os.path.join(tmp, "tmp"),
                  os.path.join(tmp, "registry")):
            os.makedirs(d)
        shutil.copytree(os.path.join(args.sample, "setup"), setup)
        shutil.copy2(case + ".trovsol.cfg", os.path.join(setup, "trovsol.cfg"))
        shutil.copytree(os.path.join(args.sample, "user"), user)
        if os.path.exists(case + ".plinth.cfg"):
            shutil.copy2(case + ".plinth.cfg", os.path.join(user, "plinth.cfg"))
        module = os.path.join(bindir, os.path.basename(args.plugin))
        shutil.copy2(args.plugin, module)
        shutil.copy2(os.path.join(args.sample, "setup", "kestrix.lin"), bindir)
        for name in ("plinth.out", "acadxchg.sat"):
            with open(os.path.join(drive, name), "w") as f:
                f.write("old part\n")

        launcher = os.path.join(standins, "trovstart")
        with open(launcher, "w") as f:
            f.write(RECORDER.replace("{python}", os.path.realpath(sys.executable)))
        os.chmod(launcher, 0o755)
        for name in ("viewer", "assembly", "shaft", "not-executable"):
            with open(os.path.join(standins, name), "w") as f:
                f.write("a stand-in that is never run\n")
            os.chmod(os.path.join(standins, name), 0o644)

        variables = {
            "QUORVEL": os.path.join(args.sample, "quorvel"),
            "QUORVEL_SETUP": setup,
            "QUORVEL_USER": user,
            "QUORVEL_LANGUAGE": "english",
            "QUORVEL_BIN": args.bin,
            "STANDINS": standins,
        }
        write_start_env(bindir, variables)
        env = run_environment(variables, tmp, drive)
        env.update({"KESTRIX_LAUNCH_RECORD": record, "KESTRIX_LAUNCH_DRIVE": drive})
        env.pop("KESTRIX_DEMO_PART", None)
        env.pop("KESTRIX_LAUNCH_CHAIN", None)
        env.pop("KESTRIX_LAUNCH_LEAVE", None)
        if os.path.exists(case + ".expect"):
            for number, line in enumerate(read(case + ".expect").splitlines(), 1):
                line = line.strip()
                if not line or line.startswith("#"):
                    continue
                words = line.split()
                if line == "chain":
                    env["KESTRIX_LAUNCH_CHAIN"] = os.path.join(args.bin, "trovstart")
                elif len(words) == 3 and words[0] == "leave" and words[1] in ("fifo", "zero"):
                    env["KESTRIX_LAUNCH_LEAVE"] = words[1] + " " + words[2]
                elif len(words) == 3 and words[0] == "decoy":
                    decoy = os.path.join(tmp, words[1])
                    if words[2] == "plain":
                        with open(decoy, "w") as f:
                            f.write("a decoy that is no program\n")
                        os.chmod(decoy, 0o644)
                    else:
                        source = launcher if words[2] == "launcher" else os.path.join(args.bin, words[2])
                        shutil.copy2(source, decoy)
                else:
                    sys.exit(f"{case}.expect:{number}: not understood: {line}")

        transcript = os.path.join(tmp, "transcript.txt")
        dump = os.path.join(tmp, "dump.txt")
        command = [args.host, "--release", args.release, "--plugin", module,
                   "--transcript", transcript, "--dump", dump, case + ".script"]
        run = subprocess.run(command, cwd=tmp, env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, timeout=120)

        ok = True
        if run.returncode != 0:
            print(f"exit status {run.returncode}, expected 0")
            ok = False
        with open(record, "a") as f:
            names = sorted(os.listdir(drive))
            f.write("exchange files at the end: " + (" ".join(names) if names else "none") + "\n")

        for suffix, path, whole in (("transcript", transcript, True), ("launches", record, True),
                                    ("dump", dump, False)):
            wanted = case + "." + suffix
            actual = normalise(read(path), tmp, args.bin) if os.path.exists(path) else ""
            if not os.path.exists(wanted):
                if suffix != "dump":
                    print(f"missing expected file {wanted}; actual {suffix}:\n{actual}")
                    ok = False
                continue
            expected = read(wanted).replace("<RELEASE>", args.release)
            ok = check(suffix, expected, actual, whole) and ok
        if not ok:
            print("--- standard error:\n" + run.stderr.decode("utf-8", "replace"))
        return 0 if ok else 1
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
