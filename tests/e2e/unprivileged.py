"""Running the host of an end-to-end case as a user that file modes apply to.

Root reads and writes a file whatever its mode, so a case about protected or unreadable files runs
its host as the user "nobody" when the runner is root (through setpriv, without supplementary
groups). That user must reach everything the run uses, so the host, the libraries it loads from
the build tree and the sample installation's folders are copied into the run's temporary folder,
which is then given to that user. Run as another user, the host runs as it is: the modes apply.
Where the user cannot be changed, the case is skipped (SKIP, the exit status ctest is told of),
saying why.
"""
import os
import pwd
import shutil
import subprocess

SKIP = 77


class Skip(Exception):
    """The case cannot run as an unprivileged user here; the text says why."""


def _build_libraries(binary, folders):
    """The shared libraries that binary loads from one of the folders (the build tree's)."""
    listed = subprocess.run(["ldd", binary], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            universal_newlines=True).stdout
    for line in listed.splitlines():
        _, arrow, rest = line.partition("=>")
        path = rest.split("(")[0].strip() if arrow else ""
        if path and os.path.dirname(os.path.realpath(path)) in folders:
            yield os.path.realpath(path)


def prepare(tmp, host, plugin, module, variables, env):
    """Copies what an unprivileged host needs into the run's folder and returns the command that
    starts the host (a list to which the host's arguments are appended). host and plugin are the
    build tree's files, module the plug-in's copy in the run's folder; variables and env are
    changed to point at the copies. Raises Skip when no unprivileged user can be had. hand_over
    then gives the folder away."""
    if os.geteuid() != 0:
        return [host]
    try:
        nobody = pwd.getpwnam("nobody")
    except KeyError:
        raise Skip('the runner is root and the system has no user "nobody"')
    setpriv = shutil.which("setpriv")
    if not setpriv or nobody.pw_uid == 0:
        raise Skip('the runner is root and cannot become the user "nobody" (no setpriv)')
    bindir = os.path.dirname(module)
    folders = {os.path.dirname(os.path.realpath(host)), os.path.dirname(os.path.realpath(plugin))}
    for binary in (host, plugin):
        for library in _build_libraries(binary, folders):
            shutil.copy2(library, bindir)
    host_copy = os.path.join(bindir, os.path.basename(host))
    shutil.copy2(host, host_copy)
    for name in ("QUORVEL", "QUORVEL_SETUP"):
        copy = os.path.join(tmp, "unprivileged-" + name.lower())
        shutil.copytree(variables[name], copy)
        variables[name] = env[name] = copy
    env["LD_LIBRARY_PATH"] = bindir + (":" + env["LD_LIBRARY_PATH"]
                                       if env.get("LD_LIBRARY_PATH") else "")
    return [setpriv, "--reuid=%d" % nobody.pw_uid, "--regid=%d" % nobody.pw_gid,
            "--clear-groups", "--", host_copy]


def hand_over(tmp, command, env):
    """Gives the run's folder, once it holds everything, to the user that command runs as, and
    checks that this user can use it. Raises Skip when it cannot."""
    if os.geteuid() != 0:
        return
    nobody = pwd.getpwnam("nobody")
    for folder, subfolders, files in os.walk(tmp):
        for name in [folder] + [os.path.join(folder, n) for n in subfolders + files]:
            os.lchown(name, nobody.pw_uid, nobody.pw_gid)
    probe = subprocess.run(command[:-1] + ["/bin/sh", "-c", 'test -w "$0" && test -x "$1"', tmp,
                                           command[-1]], env=env, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT)
    if probe.returncode != 0:
        raise Skip('the user "nobody" cannot use the run\'s folder %s: %s' %
                   (tmp, probe.stdout.decode("utf-8", "replace").strip() or "refused"))
