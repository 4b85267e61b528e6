"""Pieces shared by the end-to-end runners: comparing a run's output with an expected file, and
the start.env and process environment that isolate one run inside its temporary folder."""
import difflib
import os
import sys


def read(path):
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        return f.read()


def blocks(text):
    """A block is a line that does not start with a blank, with the indented lines under it."""
    out = []
    for line in text.splitlines(True):
        if out and line[:1] in (" ", "\t"):
            out[-1] += line
        else:
            out.append(line)
    return out


def check(label, expected, actual, whole, origin=None):
    """Whether actual equals expected (whole) or holds every block of expected; otherwise prints
    the difference and the actual text. origin names the expected file in the messages."""
    if whole:
        if expected == actual:
            return True
        where = f" from {origin}" if origin else ""
        sys.stdout.write(f"--- {label} differs{where}:\n")
        sys.stdout.writelines(difflib.unified_diff(
            expected.splitlines(True), actual.splitlines(True), "expected", "actual"))
    else:
        have = blocks(actual)
        missing = [b for b in blocks(expected) if b not in have]
        if not missing:
            return True
        where = f" of {origin}" if origin else ""
        sys.stdout.write(f"--- {label} lacks these blocks{where}:\n")
        sys.stdout.writelines(missing)
    sys.stdout.write(f"\n--- actual {label}:\n{actual}\n")
    return False


def write_start_env(bindir, variables):
    """The start.env beside the module: the variables the plug-in reads at load time."""
    with open(os.path.join(bindir, "start.env"), "w") as f:
        f.write("[ENVIRONS]\n")
        for key, value in variables.items():
            f.write(f"{key}={value}\n")


def run_environment(variables, tmp, drive):
    """This process's environment with the variables, drive c: mapped to drive, and HOME, TMPDIR
    and the registry root inside tmp."""
    env = dict(os.environ)
    env.update(variables)
    env.update({
        "KESTRIX_DRIVES": "c=" + drive,
        "KESTRIX_REGISTRY": os.path.join(tmp, "registry"),
        "HOME": os.path.join(tmp, "home"),
        "TMPDIR": os.path.join(tmp, "tmp"),
    })
    env.pop("XDG_CONFIG_HOME", None)
    return env
