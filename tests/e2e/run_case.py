#!/usr/bin/env python3
"""Runs one end-to-end case: kestrix-host loads a plug-in module and runs a script; the transcript
(and, when the case has one, the drawing dump) must equal the expected files.

Every run gets its own temporary folder: the module is copied into <tmp>/bin with a start.env
that points at the sample installation and the sample's line-type file (the user folder is a copy, so nothing is written into the
source tree), drive c: is mapped to <tmp>/c, and HOME, TMPDIR and the registry root lie inside
<tmp>. The same variables are given through the process environment as well.

Expected files of a case NAME in the cases folder:
  NAME.script                  the host script
  NAME.transcript              the transcript (NAME.RELEASE.transcript wins for that release)
  NAME.dump                    optional: blocks the drawing dump must hold (NAME.RELEASE.dump
                               likewise); a block is a line that does not start with a blank with
                               the indented lines under it, and the dump's other blocks are not
                               compared
  NAME.expect                  optional settings of the run, one a line: "exit N" or "exit nonzero"
                               (default 0), "stderr REGEX" (standard error must match), "env
                               NAME=VALUE" (a variable for the host and the programs it starts,
                               such as KESTRIX_DEMO_PART), "measurement 0|1" (the drawing's units),
                               "dxf [SATFILE ...]" (the drawing is saved as DXF and must pass
                               tests/host/dxf_check.py, with the SAT files its solids came from),
                               "extent XMIN,YMIN,XMAX,YMAX" (with "dxf": the model space's extent
                               that the DXF check must find),
                               "copy FILE ..." (files of the sample installation, named relative
                               to it, copied into the run's folder, where the host starts),
                               "folder NAME ..." (empty folders made in the run's folder),
                               "fifo NAME ..." (named pipes made in the run's folder, which
                               nothing writes to), "link NAME TARGET" (a symbolic link NAME
                               in the run's folder pointing at TARGET, such as /dev/zero; both
                               take the place of a file already there),
                               "sample FOLDER" (quorvel or setup: the run uses a copy of that
                               folder of the sample installation, in its own folder, so that
                               fifo and link may replace files in it),
                               "place FILE ..." (files of the cases folder copied into the run's
                               folder),
                               "catalogue FILE" (FILE of the cases folder is the run's English
                               message catalogue, in a copy of the sample's language folders),
                               "saved FILE" (after the run, the user configuration must hold
                               every line of FILE of the cases folder, in that order),
                               "language NAME" (QUORVEL_LANGUAGE of the run; default english;
                               "language none": neither start.env nor the environment sets it),
                               "chmod MODE FILE" (octal mode of FILE, named relative to the run's
                               folder, such as user/plinth.cfg, before the run),
                               "unchanged FILE ..." (after the run FILE must hold the bytes and
                               mode it had before), "unprivileged" (the host runs as a user that
                               file modes apply to; see unprivileged.py)
In expected files, <TMP> stands for the run's temporary folder and <RELEASE> for 2000 or r14.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of compiled files
from e2e_support import check, read, run_environment, write_start_env  # noqa: E402
import unprivileged  # noqa: E402


def expected_file(cases, name, release, suffix):
    for candidate in (f"{name}.{release}.{suffix}", f"{name}.{suffix}"):
        path = os.path.join(cases, candidate)
        if os.path.exists(path):
            return path
    return None


def compare(label, expected_path, actual, tmp, release, whole):
    expected = read(expected_path).replace("<RELEASE>", release)
    actual = actual.replace(os.path.realpath(tmp), "<TMP>").replace(tmp, "<TMP>")
    return check(label, expected, actual, whole, expected_path)


def read_bytes(path):
    """The file's bytes, read whatever its mode says (the runner may have given it away)."""
    mode = os.lstat(path).st_mode
    try:
        with open(path, "rb") as f:
            return f.read()
    except PermissionError:
        os.chmod(path, mode | 0o400)
        try:
            with open(path, "rb") as f:
                return f.read()
        finally:
            os.chmod(path, mode)


# The sample's folders a case may take a copy of, with the variable that names each.
SAMPLE_FOLDERS = {"quorvel": "QUORVEL", "setup": "QUORVEL_SETUP"}


def replaced(tmp, name):
    """Makes room for a pipe or link at NAME in the run's folder: a file there goes."""
    path = os.path.join(tmp, name)
    if os.path.lexists(path) and not os.path.isdir(path):
        os.remove(path)


def saved_lines_hold(expected_path, path):
    """Whether the file holds every line of the expected file, in the same order (other lines may
    come between them)."""
    wanted = read(expected_path).splitlines()
    have = read(path).splitlines() if os.path.exists(path) else []
    at = 0
    for line in wanted:
        while at < len(have) and have[at] != line:
            at += 1
        if at == len(have):
            print(f"--- {path} lacks the line {line!r} of {expected_path} (in its order):")
            print("\n".join(have))
            return False
        at += 1
    return True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--host", required=True)
    ap.add_argument("--plugin", required=True)
    ap.add_argument("--release", required=True, choices=["2000", "r14"])
    ap.add_argument("--sample", required=True, help="the sample installation (examples/)")
    ap.add_argument("--bin", required=True, help="folder of trovstart and the demo programs")
    ap.add_argument("--cases", required=True)
    ap.add_argument("--case", required=True)
    ap.add_argument("--measurement", default=None)
    args = ap.parse_args()
    for name in ("host", "plugin", "sample", "bin", "cases"):
        setattr(args, name, os.path.abspath(getattr(args, name)))

    tmp = tempfile.mkdtemp(prefix="kestrix-e2e-")
    try:
        bindir = os.path.join(tmp, "bin")
        user = os.path.join(tmp, "user")
        for d in (bindir, os.path.join(tmp, "c"), os.path.join(tmp, "home"),
                  os.path.join(tmp, "tmp"), os.path.join(tmp, "registry")):
            os.makedirs(d)
        shutil.copytree(os.path.join(args.sample, "user"), user)
        module = os.path.join(bindir, os.path.basename(args.plugin))
        shutil.copy2(args.plugin, module)
        # The host finds files the plug-in names without a folder beside the plug-in.
        shutil.copy2(os.path.join(args.sample, "setup", "kestrix.lin"), bindir)
        variables = {
            "QUORVEL": os.path.join(args.sample, "quorvel"),
            "QUORVEL_SETUP": os.path.join(args.sample, "setup"),
            "QUORVEL_USER": user,
            "QUORVEL_LANGUAGE": "english",
            "QUORVEL_BIN": args.bin,
        }
        env = run_environment(variables, tmp, os.path.join(tmp, "c"))

        expect = expected_file(args.cases, args.case, args.release, "expect")
        exit_code, stderr_patterns, measurement = "0", [], args.measurement
        dxf_sats = None
        extent = None
        saved = None
        as_unprivileged = False
        unchanged = []
        if expect:
            with open(expect) as f:
                for number, line in enumerate(f, 1):
                    line = line.strip()
                    if not line or line.startswith("#"):
                        continue
                    word, _, rest = line.partition(" ")
                    rest = rest.strip()
                    if word == "exit":
                        exit_code = rest
                    elif word == "stderr":
                        stderr_patterns.append(rest.replace("<RELEASE>", args.release))
                    elif word == "env" and "=" in rest:
                        key, _, value = rest.partition("=")
                        env[key] = value.replace("<TMP>", tmp)
                    elif word == "measurement" and rest in ("0", "1"):
                        measurement = rest
                    elif word == "copy" and rest:
                        for name in rest.split():
                            shutil.copy2(os.path.join(args.sample, name), tmp)
                    elif word == "dxf":
                        dxf_sats = [v.replace("<TMP>", tmp) for v in rest.split()]
                    elif word == "extent" and rest:
                        extent = rest
                    elif word == "place" and rest:
                        for name in rest.split():
                            shutil.copy2(os.path.join(args.cases, name), tmp)
                    elif word == "folder" and rest:
                        for name in rest.split():
                            os.makedirs(os.path.join(tmp, name))
                    elif word == "fifo" and rest:
                        for name in rest.split():
                            replaced(tmp, name)
                            os.mkfifo(os.path.join(tmp, name))
                    elif word == "link" and len(rest.split()) == 2:
                        name, target = rest.split()
                        replaced(tmp, name)
                        os.symlink(target, os.path.join(tmp, name))
                    elif word == "sample" and rest in SAMPLE_FOLDERS:
                        copy = os.path.join(tmp, rest)
                        shutil.copytree(os.path.join(args.sample, rest), copy)
                        variables[SAMPLE_FOLDERS[rest]] = env[SAMPLE_FOLDERS[rest]] = copy
                    elif word == "catalogue" and rest:
                        quorvel = os.path.join(tmp, "quorvel")
                        shutil.copytree(variables["QUORVEL"], quorvel)
                        shutil.copy2(os.path.join(args.cases, rest),
                                     os.path.join(quorvel, "lang", "english", "kestrix.nls"))
                        variables["QUORVEL"] = quorvel
                        env["QUORVEL"] = quorvel
                    elif word == "saved" and rest:
                        saved = os.path.join(args.cases, rest)
                    elif word == "language" and rest == "none":
                        variables.pop("QUORVEL_LANGUAGE")
                        env.pop("QUORVEL_LANGUAGE")
                    elif word == "language" and rest:
                        variables["QUORVEL_LANGUAGE"] = env["QUORVEL_LANGUAGE"] = rest
                    elif word == "chmod" and len(rest.split()) == 2:
                        mode, name = rest.split()
                        os.chmod(os.path.join(tmp, name), int(mode, 8))
                    elif word == "unchanged" and rest:
                        unchanged += [os.path.join(tmp, name) for name in rest.split()]
                    elif word == "unprivileged" and not rest:
                        as_unprivileged = True
                    else:
                        sys.exit(f"{expect}:{number}: not understood: {line}")

        script = os.path.join(args.cases, args.case + ".script")
        host = [args.host]
        if as_unprivileged:
            shutil.copy2(script, tmp)
            script = os.path.join(tmp, os.path.basename(script))
        try:
            if as_unprivileged:
                host = unprivileged.prepare(tmp, args.host, args.plugin, module, variables, env)
            write_start_env(bindir, variables)
            if as_unprivileged:
                unprivileged.hand_over(tmp, host, env)
        except unprivileged.Skip as skip:
            print(f"skipped: {skip}")
            return unprivileged.SKIP
        transcript = os.path.join(tmp, "transcript.txt")
        dump = os.path.join(tmp, "dump.txt")
        command = host + ["--release", args.release, "--plugin", module,
                          "--transcript", transcript, "--dump", dump]
        if measurement is not None:
            command += ["--measurement", measurement]
        dxf = os.path.join(tmp, "drawing.dxf")
        if dxf_sats is not None:
            command += ["--dxf", dxf]
        command.append(script)
        before = {path: (read_bytes(path), os.lstat(path).st_mode) for path in unchanged}
        run = subprocess.run(command, cwd=tmp, env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, timeout=120)
        stderr = run.stderr.decode("utf-8", "replace")

        ok = True
        if exit_code == "nonzero":
            if run.returncode == 0:
                print("expected a non-zero exit status, got 0")
                ok = False
        elif run.returncode != int(exit_code):
            print(f"exit status {run.returncode}, expected {exit_code}")
            ok = False
        for pattern in stderr_patterns:
            if not re.search(pattern, stderr):
                print(f"standard error does not match {pattern!r}")
                ok = False

        for suffix, path in (("transcript", transcript), ("dump", dump)):
            wanted = expected_file(args.cases, args.case, args.release, suffix)
            if wanted is None:
                continue
            actual = read(path) if os.path.exists(path) else ""
            ok = compare(suffix, wanted, actual, tmp, args.release, suffix == "transcript") and ok
        if saved is not None:
            ok = saved_lines_hold(saved, os.path.join(user, "plinth.cfg")) and ok
        for path, (content, mode) in before.items():
            now = (read_bytes(path), os.lstat(path).st_mode) if os.path.lexists(path) else None
            if now != (content, mode):
                print(f"--- {path} changed: mode {mode:o} and {len(content)} bytes before, " +
                      (f"mode {now[1]:o} and {len(now[0])} bytes after" if now else "gone after"))
                ok = False
        if dxf_sats is not None:
            checker = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "host",
                                   "dxf_check.py")
            check_command = ["/usr/bin/python3", checker, dxf, dump]
            for sat in dxf_sats:
                check_command += ["--sat", sat]
            if extent is not None:
                check_command.append("--extent=" + extent)
            checked = subprocess.run(check_command, stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT, timeout=300)
            if checked.returncode != 0:
                print("--- the DXF check failed:\n" + checked.stdout.decode("utf-8", "replace"))
                ok = False
        if not ok:
            print("--- standard error:\n" + stderr)
        return 0 if ok else 1
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
