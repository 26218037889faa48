"""What the end-to-end tests and the measurements share: running and stopping processes,
waiting for a condition, the process tree and its memory, and the environment the
program starts in."""

import contextlib
import os
import shutil
import subprocess
import tempfile
import time


def run(*args, env=None, check=True, timeout=20):
    return subprocess.run(list(args), env=env, check=check, timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def wait_for(predicate, timeout=20.0, what="condition", interval=0.1):
    """Waits until predicate() gives something true and returns it; fails the test if it
    never does. what may be a function, to describe what was last seen."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError("timed out waiting for " + (what() if callable(what) else what))
        time.sleep(interval)


def stop_process(proc, timeout=15):
    """Terminates a process, and kills it if it does not end in time."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def _read(path, mode="r"):
    try:
        with open(path, mode) as f:
            return f.read()
    except OSError:
        return None


def processes():
    """Every process: its parent and its command line, by process."""
    table = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        stat, cmdline = _read("/proc/%s/stat" % pid), _read("/proc/%s/cmdline" % pid, "rb")
        if stat:
            table[int(pid)] = (int(stat.rsplit(")", 1)[1].split()[1]),
                               (cmdline or b"").replace(b"\0", b" ").decode(errors="replace"))
    return table


def process_tree(root, table=None):
    """A process and all the processes below it."""
    table = table or processes()
    tree = [root]
    for pid in tree:
        tree += [p for p, (parent, _) in table.items() if parent == pid]
    return tree


def command_lines(root):
    table = processes()
    return [table[p][1] for p in process_tree(root, table) if p in table]


def renderer_pids(root):
    """The browser engine's renderers below a process: forked by the engine's zygote, with
    no children of their own (with the sandbox on, the zygote runs below a first one)."""
    table = processes()
    parents = {parent for parent, _ in table.values()}
    return [p for p in process_tree(root, table)[1:] if p not in parents and p in table
            and "--type=zygote" in table.get(table[p][0], (0, ""))[1]]


def files_below(folder, newer_than=0.0, folders=False):
    """What lies below a folder (changed since a time, if given), files and, if asked,
    folders."""
    found = []
    for root, dirs, files in os.walk(folder):
        for path in (os.path.join(root, name) for name in files + (dirs if folders else [])):
            with contextlib.suppress(OSError):
                if os.lstat(path).st_mtime >= newer_than:
                    found.append(path)
    return sorted(found)


def pss_mib(pids):
    """The proportional set size of the processes given, in MiB."""
    return sum(int(line.split()[1]) for pid in pids
               for line in (_read("/proc/%d/smaps_rollup" % pid) or "").splitlines()
               if line.startswith("Pss:")) / 1024.0


def engine_flags(proxy_port):
    """Every request of the browser engine through the recording proxy, loopback included,
    and no traffic of its own."""
    return ("--proxy-server=http://127.0.0.1:%d --proxy-bypass-list=<-loopback> "
            "--disable-background-networking --disable-component-update" % proxy_port)


def program_env(base, proxy_port, home, logging=None):
    """The environment the program (or the bare engine program) starts in: the desktop's,
    a home of its own, the proxy, and as root the engine's sandbox off (it refuses root)."""
    env = {k: v for k, v in base.items() if k not in ("XDG_CACHE_HOME", "XDG_CONFIG_HOME",
                                                     "XDG_DATA_HOME")}
    env.update(HOME=home, QTWEBENGINE_CHROMIUM_FLAGS=engine_flags(proxy_port))
    if os.geteuid() == 0:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    if logging is not None:
        env["QT_LOGGING_RULES"] = logging
    return env


class Processes:
    """Processes and temporary folders that end together, the last started first."""

    def __init__(self):
        self.procs = []
        self.folders = []

    def folder(self, prefix, parent=None):
        path = tempfile.mkdtemp(prefix="tovrin-e2e-" + prefix, dir=parent)
        self.folders.append(path)
        return path

    def spawn(self, command, env, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        proc = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL, **kwargs)
        self.procs.append(proc)
        return proc

    def close(self):
        for proc in reversed(self.procs):
            stop_process(proc, timeout=10)
        for path in self.folders:
            shutil.rmtree(path, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
