#!/usr/bin/python3
"""Runs a command through scripts/with-wine in a Wine session of its own, on a throw-away copy of
the project's prefix: what the command installs machine-wide (Program Files, the all-users
Start menu, HKEY_LOCAL_MACHINE) never reaches the prefix that the other tests share. The copy,
its session and the session's lock files are gone when this ends, also after a failure, Ctrl-C
or a SIGTERM; a copy whose runner was killed outright is removed by the next run. The command
sees QUORREL_PREFIX_COPY=1.

Usage: in_prefix_copy.py SOURCE-FOLDER COMMAND [ARGUMENT...]"""
import hashlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Wine only reads the system libraries: the copy shares them by hard links. Everything else
# (the registry files are rewritten in place) is copied.
SHARED = ("drive_c/windows/system32", "drive_c/windows/winsxs")
# The copies' folder names in the temporary folder: this, the runner's process id, a dash.
COPY_NAME = "quorrel-prefix-copy-"


def copy_prefix(original, copy):
    def link_or_copy(source, target):
        relative = os.path.relpath(source, original)
        if any(relative.startswith(folder + os.sep) for folder in SHARED):
            os.link(source, target)
        else:
            shutil.copy2(source, target)

    def other_tests_files(folder, names):
        # The temporary folders of the tests running meanwhile come and go while this copies;
        # the copy needs none of them.
        parts = os.path.relpath(folder, original).split(os.sep)
        temp = len(parts) == 4 and parts[:2] == ["drive_c", "users"] and parts[3] == "Temp"
        return names if temp else []

    shutil.copytree(original, copy, symlinks=True, copy_function=link_or_copy, ignore=other_tests_files)


def session_files(prefix):
    """with-wine's state files for a prefix (its session base name)."""
    state = f"/tmp/quorrel-wine-{os.getuid()}"
    base = os.path.join(state, hashlib.sha1(prefix.encode()).hexdigest()[:16])
    return base, [base + suffix for suffix in (".members", ".setup", ".session", ".displayfd", ".ready")]


def wait_for_session_end(prefix, limit=60):
    """The session's watcher ends the wineserver (which saves the registry into the prefix) once
    the last member is gone: wait for it before the prefix is removed."""
    base, _ = session_files(prefix)
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        try:
            with open(base + ".session") as f:
                watcher = int(f.read().split()[1])
        except (OSError, ValueError, IndexError):
            return
        if not os.path.exists(f"/proc/{watcher}"):
            return
        time.sleep(0.1)
    print(f"in_prefix_copy: the Wine session of {prefix} did not end within {limit} s", file=sys.stderr)


def remove_copy(work):
    prefix = os.path.join(work, "prefix")
    wait_for_session_end(prefix)
    shutil.rmtree(work, ignore_errors=True)
    for path in session_files(prefix)[1]:
        try:
            os.remove(path)
        except FileNotFoundError:
            pass


def remove_orphans(temp, original):
    """Copies of the same prefix left by runners that were killed (a SIGKILL gives no chance to
    clean up); a copy whose runner still lives, or of another prefix, is left alone."""
    for name in os.listdir(temp):
        parts = name.split("-")
        if not (name.startswith(COPY_NAME) and len(parts) == 5 and parts[3].isdigit()):
            continue
        work = os.path.join(temp, name)
        try:
            with open(os.path.join(work, "original")) as f:
                mine = f.read() == original
        except OSError:
            mine = False
        if mine and not os.path.exists(f"/proc/{parts[3]}"):
            remove_copy(work)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    source, command = os.path.abspath(sys.argv[1]), sys.argv[2:]
    original = os.path.realpath(os.environ.get("QUORREL_WINEPREFIX") or os.path.join(source, "build", "wineprefix"))
    if not os.path.isfile(os.path.join(original, ".quorrel-ready")):
        sys.exit(f"in_prefix_copy: no prefix at {original} (scripts/with-wine makes it)")

    child = None

    def stop(signum, _frame):
        if child is not None and child.poll() is None:
            child.send_signal(signal.SIGTERM)  # with-wine ends the command and its processes
        raise SystemExit(128 + signum)

    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, stop)

    temp = os.path.realpath(tempfile.gettempdir())
    remove_orphans(temp, original)
    work = tempfile.mkdtemp(prefix=f"{COPY_NAME}{os.getpid()}-", dir=temp)
    prefix = os.path.join(work, "prefix")
    status = 1
    try:
        with open(os.path.join(work, "original"), "w") as f:
            f.write(original)
        copy_prefix(original, prefix)
        environment = dict(os.environ, QUORREL_WINEPREFIX=prefix, QUORREL_PREFIX_COPY="1")
        child = subprocess.Popen([os.path.join(source, "scripts", "with-wine"), *command], env=environment)
        status = child.wait()
    finally:
        for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(signum, signal.SIG_IGN)
        if child is not None:
            try:
                child.wait(timeout=30)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()
        remove_copy(work)
    return status


sys.exit(main())
