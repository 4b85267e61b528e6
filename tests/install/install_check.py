#!/usr/bin/python3
"""Checks the installation of a build tree: `cmake --install BUILD --prefix <tmp>/staged`, then
one of these, chosen with --check:

  run       the installed tree is moved to another folder and runs there: for each deliverable
            (releases 2000 and r14), the viewer command and the open-metafile command play the
            e2e cases viewer-washer and open-parts through the installed kestrix-host with
            nothing in the environment but the drive table and the registry folder; transcript,
            dump and DXF (tests/host/dxf_check.py: ezdxf strictly, and GDAL) must be as in the
            build tree, and the viewer's drawing holds the washer block, placed
  paths     no installed file holds the absolute path of the source folder, of the build folder
            or of the folder it was installed into; start.env names folders only through
            %DirOfThisFile%; the sample installation is installed whole. With --sanitized (a
            build with the address and UB sanitizers, whose instrumentation records the
            absolute source file names) the programs and libraries are checked only for their
            run paths
  package   cpack, run under umask 077, makes a TGZ archive (and a DEB package where dpkg-deb is
            at hand) that lists exactly the installed files, every folder with mode 0755 and every
            file 0644 or 0755; the DEB package's conffiles are the files that users and
            administrators change
  dpkg      the DEB package, installed into a private dpkg root, keeps what its users and
            administrators changed: the options dialog's saves in user/plinth.cfg and an edited
            start.env survive a reinstall, an upgrade to a higher release, a removal and a later
            install, and go only with --purge. Never touches the machine's own dpkg database.
            Skipped (exit status 77) where dpkg is not at hand

Everything happens in a temporary folder that is removed at the end. Exit status 0 when the check
passes.
"""
import argparse
import os
import re
import shutil
import stat
import subprocess
import sys
import tarfile
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of compiled files
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from e2e_support import check, read  # noqa: E402

DXF_CHECK = os.path.join(HERE, "..", "host", "dxf_check.py")
SAMPLE = os.path.join("share", "kestrix")
# Programs, modules and support files an installation must hold, besides the sample installation.
REQUIRED = ["bin/kestrix-host", "bin/libkestrix2000.so", "bin/libkestrix.so", "bin/start.env",
            "bin/kestrix.lin", "bin/support/acad.lin", "bin/trovstart", "bin/demo-viewer",
            "bin/demo-shaft", "bin/demo-assembly", "bin/demo-connect", "lib/libkxplatform.so",
            "lib/libkestrixhost.so"]
SAMPLE_FOLDERS = ("quorvel", "setup", "user", "parts")
DEB_PREFIX = "/opt/kestrix"
# What users and administrators change, so the DEB package's conffiles: start.env, the line-type
# files the user configuration names, the launcher settings, dialog and definition files, and the
# user configuration that the options dialog saves into.
EDITED = ("bin/start.env", "bin/kestrix.lin", "bin/support/", SAMPLE + "/setup/",
          SAMPLE + "/user/")
SKIPPED = 77  # the exit status ctest reports as a skip
# The options dialog as a user works it: a hidden-layer setting and a named configuration saved.
OPTIONS_SAVE = ("command TROVoptions\ntile layer_hidden UNSICHTBAR\npress save\n"
                "tile cfgname Werk A\npress accept\npress accept\n")

failures = []


def fail(text):
    failures.append(text)
    print("FAIL: " + text)


def files_under(root):
    """Paths of every file and symbolic link under root, relative to it, with '/'."""
    out = []
    for folder, _, names in os.walk(root):
        for name in names:
            out.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return sorted(out)


def install(args, prefix):
    run = subprocess.run([args.cmake, "--install", args.build, "--prefix", prefix],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
    if run.returncode != 0:
        sys.exit("FAIL: cmake --install failed:\n" + run.stdout.decode(errors="replace"))


def check_paths(args, root, staged, sanitized):
    installed = files_under(root)
    for name in REQUIRED:
        if name not in installed:
            fail("%s is not installed" % name)
    for folder in SAMPLE_FOLDERS:
        source = os.path.join(args.source, "examples", folder)
        for name in files_under(source):
            target = os.path.join(root, SAMPLE, folder, name)
            if not os.path.isfile(target):
                fail("%s/%s of the sample installation is not installed" % (folder, name))
            elif read(target) != read(os.path.join(source, name)):
                fail("%s/%s is installed with other content" % (folder, name))

    forbidden = {os.path.abspath(args.source), os.path.realpath(args.source),
                 os.path.abspath(args.build), os.path.realpath(args.build), staged,
                 os.path.realpath(staged)}
    for name in installed:
        path = os.path.join(root, name)
        if os.path.islink(path):
            text = os.readlink(path).encode()
        else:
            with open(path, "rb") as f:
                text = f.read()
        if sanitized and text.startswith(b"\x7fELF"):
            text = subprocess.run(["readelf", "-d", path], stdout=subprocess.PIPE,
                                  check=True).stdout
        for folder in forbidden:
            if folder.encode() in text:
                fail("%s holds the absolute path %s" % (name, folder))

    start_env = read(os.path.join(root, "bin", "start.env"))
    environs = {}
    block = None
    for line in start_env.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            block = line[1:-1].upper()
        elif block == "ENVIRONS" and "=" in line and not line.startswith(";"):
            key, _, value = line.partition("=")
            environs[key.strip().upper()] = value.strip()
    for key in ("QUORVEL", "QUORVEL_SETUP", "QUORVEL_USER", "QUORVEL_BIN"):
        value = environs.get(key)
        if value is None:
            fail("start.env does not set %s" % key)
        elif not value.lower().startswith("%dirofthisfile%"):
            fail("start.env names %s=%s, not through %%DirOfThisFile%%" % (key, value))
    if environs.get("QUORVEL_LANGUAGE") != "english":
        fail("start.env sets QUORVEL_LANGUAGE=%r" % environs.get("QUORVEL_LANGUAGE"))


def case_settings(cases, name):
    """The files a case copies into its run folder (named relative to the sample installation)."""
    copies = []
    path = os.path.join(cases, name + ".expect")
    if os.path.exists(path):
        for line in read(path).splitlines():
            word, _, rest = line.strip().partition(" ")
            if word == "copy":
                copies += rest.split()
    return copies


def check_washer_block(dxf):
    """The viewer's drawing: one INSERT of the washer block at 100,50 turned by 30 degrees; the
    block holds the washer's two circles and two lines."""
    import ezdxf
    doc = ezdxf.readfile(dxf)
    inserts = [e for e in doc.modelspace()]
    if len(inserts) != 1 or inserts[0].dxftype() != "INSERT":
        fail("the viewer's drawing holds %r" % [e.dxftype() for e in inserts])
        return
    insert = inserts[0]
    if insert.dxf.name != "Washer 10.5 View1":
        fail("the viewer inserted block %r" % insert.dxf.name)
        return
    if (abs(insert.dxf.insert.x - 100) > 1e-9 or abs(insert.dxf.insert.y - 50) > 1e-9
            or abs(insert.dxf.rotation - 30) > 1e-9):
        fail("the washer lies at %r turned by %r" % (insert.dxf.insert, insert.dxf.rotation))
    kinds = sorted(e.dxftype() for e in doc.blocks.get(insert.dxf.name))
    if kinds != ["CIRCLE", "CIRCLE", "LINE", "LINE"]:
        fail("the washer block holds %r" % kinds)


def check_run(args, root, tmp):
    host = os.path.join(root, "bin", "kestrix-host")
    for release in ("2000", "r14"):
        # The viewer hands over its first part, the washer, when no part is chosen.
        for case in ("viewer-washer", "open-parts"):
            label = "%s.%s" % (case, release)
            work = os.path.join(tmp, "run", label)
            for d in ("c", "registry"):
                os.makedirs(os.path.join(work, d))
            for name in case_settings(args.cases, case):
                shutil.copy2(os.path.join(root, SAMPLE, name), work)
            transcript = os.path.join(work, "transcript.txt")
            dump = os.path.join(work, "dump.txt")
            dxf = os.path.join(work, "drawing.dxf")
            env = {"KESTRIX_DRIVES": "c=" + os.path.join(work, "c"),
                   "KESTRIX_REGISTRY": os.path.join(work, "registry")}
            run = subprocess.run([host, "--release", release, "--transcript", transcript,
                                  "--dump", dump, "--dxf", dxf,
                                  os.path.join(args.cases, case + ".script")],
                                 cwd=work, env=env, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, timeout=120)
            if run.returncode != 0:
                fail("%s: the installed kestrix-host exits with %d:\n%s"
                     % (label, run.returncode, run.stderr.decode(errors="replace")))
                continue
            for suffix, path, whole in (("transcript", transcript, True), ("dump", dump, False)):
                expected = read(os.path.join(args.cases, "%s.%s" % (case, suffix)))
                actual = read(path) if os.path.exists(path) else ""
                if not check("%s %s" % (label, suffix), expected, actual, whole):
                    fail("%s: the %s differs from the build tree's" % (label, suffix))
            checked = subprocess.run(["/usr/bin/python3", DXF_CHECK, dxf, dump],
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                     timeout=300)
            if checked.returncode != 0:
                fail("%s: the DXF check failed:\n%s"
                     % (label, checked.stdout.decode(errors="replace")))
            if case == "viewer-washer":
                check_washer_block(dxf)


def cpack(args, generator, folder, *defines, umask=-1):
    """The package cpack makes of the build tree into folder with the generator, each define a
    NAME=VALUE overriding a CPack setting, under umask (-1: this process's); None when it
    failed."""
    command = [args.cpack, "-G", generator, "-B", folder]
    for define in defines:
        command += ["-D", define]
    run = subprocess.run(command + ["--config", os.path.join(args.build, "CPackConfig.cmake")],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300,
                         umask=umask)
    out = run.stdout.decode(errors="replace")
    made = re.findall(r"package: (\S+) generated", out)
    if run.returncode != 0 or not made:
        fail("cpack -G %s failed:\n%s" % (generator, out))
        return None
    return made[0]


def archive_modes(data):
    """The name and mode ('drwxr-xr-x') of each member of the tar archive that data holds, an
    open file read through once."""
    with tarfile.open(fileobj=data, mode="r|*") as archive:
        return [(m.name, stat.filemode(m.mode | (stat.S_IFDIR if m.isdir() else
                                                 stat.S_IFLNK if m.issym() else stat.S_IFREG)))
                for m in archive]


def check_modes(generator, members):
    """Folders 0755, files 0644 or 0755: the tree is usable by everyone it is installed for."""
    for name, mode in members:
        if mode not in ("drwxr-xr-x", "-rw-r--r--", "-rwxr-xr-x", "lrwxrwxrwx"):
            fail("%s holds %s with mode %s" % (generator, name, mode))


def deb_modes(package, part):
    """The names and modes of the DEB package's files (part "fsys") or control files ("ctrl")."""
    extract = subprocess.Popen(["dpkg-deb", "--%s-tarfile" % part, package],
                               stdout=subprocess.PIPE)
    members = archive_modes(extract.stdout)
    extract.stdout.close()
    if extract.wait() != 0:
        fail("dpkg-deb --%s-tarfile %s exits with %d" % (part, package, extract.returncode))
    return members


def check_package(args, root, tmp):
    installed = set(files_under(root))
    pack = os.path.join(tmp, "pack")
    generators = ["TGZ"] + (["DEB"] if shutil.which("dpkg-deb") else [])
    for generator in generators:
        # Packed as by a packager whose umask lets no one else read what they make.
        package = cpack(args, generator, pack, umask=0o077)
        if package is None:
            continue
        if generator == "TGZ":
            with open(package, "rb") as f:
                members = archive_modes(f)
            check_modes(generator, members)
            names = [name for name, mode in members if not mode.startswith("d")]
            top = os.path.basename(package)[:-len(".tar.gz")] + "/"
            listed = {n[len(top):] for n in names if n.startswith(top)}
            if len(listed) != len(names):
                fail("the archive holds files outside %s" % top)
        else:
            members = deb_modes(package, "fsys")
            check_modes(generator, members + deb_modes(package, "ctrl"))
            listed = set()
            for name, mode in members:
                if mode.startswith("d"):
                    continue
                if not name.startswith("." + DEB_PREFIX + "/"):
                    fail("the DEB package installs %s outside %s" % (name, DEB_PREFIX))
                listed.add(name[len("." + DEB_PREFIX + "/"):])
            info = subprocess.run(["dpkg-deb", "-f", package, "Package", "Version"],
                                  stdout=subprocess.PIPE, check=True).stdout.decode()
            if "Package: kestrix" not in info or "Version: " not in info:
                fail("the DEB package's control fields: %s" % info)
            conffiles = set(subprocess.run(["dpkg-deb", "--info", package, "conffiles"],
                                           stdout=subprocess.PIPE).stdout.decode().split())
            edited = {DEB_PREFIX + "/" + name for name in installed
                      if any(name == e or e.endswith("/") and name.startswith(e) for e in EDITED)}
            if conffiles != edited:
                fail("the DEB package's conffiles list %s more and lack %s"
                     % (sorted(conffiles - edited), sorted(edited - conffiles)))
        if listed != installed:
            fail("%s lists %s more and lacks %s" % (generator, sorted(listed - installed),
                                                    sorted(installed - listed)))
        print("%s: %s, %d files" % (generator, os.path.basename(package), len(listed)))


def check_dpkg(args, tmp):
    missing = [tool for tool in ("dpkg", "dpkg-deb", "dpkg-query") if not shutil.which(tool)]
    if missing:
        print("SKIP: %s not at hand, so no DEB package is made here" % ", ".join(missing))
        return SKIPPED
    machine_status = "/var/lib/dpkg/status"
    machine_before = read(machine_status) if os.path.exists(machine_status) else None

    first = cpack(args, "DEB", os.path.join(tmp, "first"))
    if first is None:
        return
    version = subprocess.run(["dpkg-deb", "-f", first, "Version"], stdout=subprocess.PIPE,
                             check=True).stdout.decode().strip()
    higher = version + ".1"
    second = cpack(args, "DEB", os.path.join(tmp, "second"), "CPACK_PACKAGE_VERSION=" + higher)
    if second is None:
        return

    # A database of its own: dpkg installs below root and records there, nowhere else.
    root = os.path.join(tmp, "root")
    admin = os.path.join(root, "var", "lib", "dpkg")
    for folder in ("info", "updates", "triggers"):
        os.makedirs(os.path.join(admin, folder))
    for name in ("status", "available"):
        open(os.path.join(admin, name), "w").close()
    options = ["--root=" + root, "--admindir=" + admin, "--log=" + os.path.join(tmp, "dpkg.log")]
    # The private database holds none of the run-time packages the DEB depends on; dpkg wants
    # ldconfig and start-stop-daemon on the PATH, and lets others than root use a root of their
    # own only when told so. Standard input is closed: a conffile question fails the step.
    options.append("--force-depends")
    if os.geteuid() != 0:
        options.append("--force-not-root")
    env = dict(os.environ)
    env["PATH"] = env.get("PATH", "/usr/bin:/bin") + ":/usr/sbin:/sbin"

    def dpkg(step, *arguments):
        run = subprocess.run(["dpkg"] + options + list(arguments), env=env,
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.STDOUT, timeout=300)
        if run.returncode != 0:
            fail("%s: dpkg %s exits with %d:\n%s" % (step, " ".join(arguments), run.returncode,
                                                     run.stdout.decode(errors="replace")))
        return run.returncode == 0

    def status():
        run = subprocess.run(["dpkg-query", "--admindir=" + admin, "-W",
                              "-f=${db:Status-Abbrev}${Version}", "kestrix"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return run.stdout.decode().strip() if run.returncode == 0 else "unknown"

    tree = root + DEB_PREFIX
    if not dpkg("install", "--install", first):
        return

    # The user saves options; the administrator edits start.env.
    user_cfg = os.path.join(tree, SAMPLE, "user", "plinth.cfg")
    packaged = read(user_cfg)
    work = os.path.join(tmp, "work")
    for folder in ("c", "registry"):
        os.makedirs(os.path.join(work, folder))
    script = os.path.join(work, "save.script")
    with open(script, "w") as f:
        f.write(OPTIONS_SAVE)
    transcript = os.path.join(work, "transcript.txt")
    run = subprocess.run([os.path.join(tree, "bin", "kestrix-host"), "--release", "2000",
                          "--transcript", transcript, script], cwd=work,
                         env={"KESTRIX_DRIVES": "c=" + os.path.join(work, "c"),
                              "KESTRIX_REGISTRY": os.path.join(work, "registry")},
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
    saved = read(user_cfg)
    if run.returncode != 0 or saved == packaged or "UNSICHTBAR" not in saved \
            or "Werk A" not in saved:
        fail("the options dialog did not save into the installed plinth.cfg (exit %d):\n%s\n%s"
             % (run.returncode, run.stdout.decode(errors="replace"),
                read(transcript) if os.path.exists(transcript) else ""))
        return
    start_env = os.path.join(tree, "bin", "start.env")
    with open(start_env, "a") as f:
        f.write("; the administrator's note\n")
    edited = {path: read(path) for path in (user_cfg, start_env)}

    for step, arguments, expected in (
            ("reinstall", ["--install", first], "ii " + version),
            ("upgrade", ["--install", second], "ii " + higher),
            ("remove", ["--remove", "kestrix"], "rc " + higher),
            ("install after removal", ["--install", second], "ii " + higher)):
        if not dpkg(step, *arguments):
            return
        if status() != expected:
            fail("%s: the package's state is %r, not %r" % (step, status(), expected))
        for path, text in edited.items():
            name = os.path.relpath(path, tree)
            if not os.path.exists(path):
                fail("%s: %s is gone" % (step, name))
            elif read(path) != text:
                fail("%s: %s is replaced" % (step, name))
        leftovers = [name for name in files_under(tree) if ".dpkg-" in name]
        if leftovers:
            fail("%s: dpkg left %s" % (step, leftovers))
        host_there = os.path.exists(os.path.join(tree, "bin", "kestrix-host"))
        if host_there != expected.startswith("ii"):
            fail("%s: kestrix-host is %s" % (step, "there" if host_there else "gone"))

    if not dpkg("purge", "--purge", "kestrix"):
        return
    if os.path.exists(tree):
        fail("purge: %s is left with %s" % (DEB_PREFIX, files_under(tree)))
    if status() != "unknown":
        fail("purge: the package's state is %r" % status())
    if machine_before is not None and read(machine_status) != machine_before:
        fail("the machine's own dpkg database changed")


def check_staged(args, tmp):
    """The checks of the tree that cmake --install lays out in tmp."""
    staged = os.path.join(tmp, "staged")
    install(args, staged)
    if args.check == "paths":
        check_paths(args, staged, staged, args.sanitized)
    elif args.check == "package":
        check_package(args, staged, tmp)
    else:
        # Moved, as an administrator copies the installation to another place.
        root = os.path.join(tmp, "elsewhere", "kestrix")
        os.makedirs(os.path.dirname(root))
        os.rename(staged, root)
        check_run(args, root, tmp)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--check", required=True, choices=["run", "paths", "package", "dpkg"])
    ap.add_argument("--cmake", required=True)
    ap.add_argument("--cpack", required=True)
    ap.add_argument("--build", required=True, help="the build tree to install")
    ap.add_argument("--source", required=True, help="the source tree")
    ap.add_argument("--cases", required=True, help="the e2e cases folder")
    ap.add_argument("--sanitized", action="store_true", help="a build with the sanitizers")
    args = ap.parse_args()
    for name in ("build", "source", "cases"):
        setattr(args, name, os.path.abspath(getattr(args, name)))

    tmp = tempfile.mkdtemp(prefix="kestrix-install-")
    try:
        if args.check == "dpkg":
            # cpack installs the build tree itself: nothing to stage.
            if check_dpkg(args, tmp) == SKIPPED:
                return SKIPPED
        else:
            check_staged(args, tmp)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("install check %s passed" % args.check)
    return 0


if __name__ == "__main__":
    sys.exit(main())
