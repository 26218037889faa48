"""The program in a Wayland session: a headless compositor, with and without XWayland,
a status-notifier tray on the session bus, and the recording proxy."""

import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time
import unittest

import screen_reader
from desktop import StatusNotifierTray, start_session_bus, stop_process, wait_for
from recording_proxy import RecordingProxy
from support import CAPTION, descendants, url

MAKER_PAGES = {"http://maker.tovrin.test/gengxin/ad.php",
               "http://maker.tovrin.test/gengxin/instruction.html"}


class FakeX11Display:
    """An X display that nobody serves: it only counts the clients that try it."""

    def __init__(self):
        self.connections = 0
        self.sockets = []
        for number in range(90, 200):
            path = "/tmp/.X11-unix/X%d" % number
            if os.path.exists(path):
                continue
            os.makedirs("/tmp/.X11-unix", exist_ok=True)
            self.path = path
            # libxcb tries the abstract socket first, then the file.
            for address in ("\0" + path, path):
                s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                s.bind(address)
                s.listen(8)
                self.sockets.append(s)
                threading.Thread(target=self._accept, args=(s,), daemon=True).start()
            self.display = ":%d" % number
            return
        raise RuntimeError("no free X display number")

    def _accept(self, s):
        while True:
            try:
                conn, _ = s.accept()
            except OSError:
                return
            self.connections += 1
            conn.close()

    def close(self):
        for s in self.sockets:
            s.close()
        os.unlink(self.path)


class WaylandSession:
    def __init__(self, xwayland):
        self.xwayland = xwayland
        self.procs = []
        self.runtime = tempfile.mkdtemp(prefix="tovrin-e2e-runtime-")
        self.home = tempfile.mkdtemp(prefix="tovrin-e2e-program-home-")
        self.log = os.path.join(self.runtime, "weston.log")

    def __enter__(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                            "DBUS_SESSION_BUS_ADDRESS")}
        env.update(XDG_RUNTIME_DIR=self.runtime, HOME=self.home, XDG_SESSION_TYPE="wayland")
        bus, env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus()
        self.procs.append(bus)
        command = ["weston", "--backend=headless-backend.so", "--socket=wayland-tovrin",
                   "--width=1280", "--height=1024", "--idle-time=0", "--log=" + self.log]
        if self.xwayland:
            command.append("--xwayland")
        self.procs.append(subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))
        self._wait(lambda: os.path.exists(os.path.join(self.runtime, "wayland-tovrin")),
                   "the compositor")
        env["WAYLAND_DISPLAY"] = "wayland-tovrin"
        if self.xwayland:
            self._wait(lambda: self._x_display(), "XWayland")
            env["DISPLAY"] = self._x_display()
        self.env = env
        screen_reader.switch_on(env)  # for lookups without a keyboard to drive
        self.tray = StatusNotifierTray(env)
        self.procs.append(self.tray.proc)
        return self

    def _x_display(self):
        try:
            with open(self.log) as f:
                m = re.search(r"xserver listening on display (:\d+)", f.read())
        except OSError:
            return None
        return m.group(1) if m else None

    def _wait(self, predicate, what):
        wait_for(predicate, "the Wayland session could not start: no %s" % what)

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            stop_process(p, timeout=10)
        shutil.rmtree(self.runtime, ignore_errors=True)
        shutil.rmtree(self.home, ignore_errors=True)


class WaylandSessions(unittest.TestCase):

    def run_in_session(self, xwayland, extra_env, platform):
        exe = os.environ.get("TOVRIN_MAKER_EXE")
        self.assertTrue(exe and os.path.exists(exe), "TOVRIN_MAKER_EXE is not set to a built program")
        with RecordingProxy() as proxy, WaylandSession(xwayland) as session:
            env = dict(session.env, **extra_env)
            env["QTWEBENGINE_CHROMIUM_FLAGS"] = (
                "--proxy-server=http://127.0.0.1:%d --proxy-bypass-list=<-loopback> "
                "--disable-background-networking --disable-component-update" % proxy.port)
            env["QT_LOGGING_RULES"] = "tovrin.startup.info=true\ntovrin.window.debug=true"
            if os.geteuid() == 0:
                env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
            with tempfile.TemporaryFile() as err:
                proc = subprocess.Popen([exe], env=env, stdout=subprocess.DEVNULL, stderr=err,
                                        stdin=subprocess.DEVNULL)
                try:
                    trace = lambda: (os.pread(err.fileno(), 1 << 20, 0)
                                     .decode("utf-8", "replace"))
                    self.check_session(proc, proxy, session.tray, trace, platform, env)
                finally:
                    stop_process(proc)
                    if proc.returncode != 0:
                        print(trace()[-3000:])

    def check_session(self, proc, proxy, tray, trace, platform, env):
        # It lives, on the platform expected, and loads its first pages through the proxy.
        found = proxy.wait_for(lambda a: set(a) >= MAKER_PAGES, timeout=30)
        self.assertEqual(set(found or []), MAKER_PAGES, trace())
        self.assertIsNone(proc.poll(), "the program has ended")
        self.assertRegex(trace(), r"application: \d+ ms on %s\n" % platform)

        # It looks words up (driven as a screen reader drives it: no input can be
        # injected into a Wayland session).
        here = os.path.dirname(os.path.abspath(__file__))
        since = proxy.count()
        subprocess.run(["/usr/bin/python3", os.path.join(here, "screen_reader.py"), CAPTION,
                        "请输入您要查询的内容，默认使用 ‘译典通’", "wayland", "有道 F3"],
                       env=env, check=True, timeout=60)
        found = proxy.wait_for(lambda a: len(a) >= 1, timeout=15, since=since)
        self.assertEqual(found, [url("http://dict.youdao.com/search?q=wayland")], trace())

        # Its icon is in the tray, which hides and shows the window.
        item = tray.registered_item()
        self.assertIsNotNone(item, "no icon in the tray\n" + trace())
        for state in ("hidden", "shown"):
            since = trace().count("\n")
            time.sleep(0.5)
            tray.click(item, "Activate")
            self.wait(lambda: ("tovrin.window: " + state) in trace().split("\n", since)[-1],
                      "the window to be " + state, trace)

        # It ends cleanly when the session asks it to: its icon and its engine go with it.
        engine = descendants(proc.pid)
        self.assertTrue(engine, "no browser engine processes")
        since = len(tray.events)
        proc.send_signal(signal.SIGTERM)
        self.assertEqual(proc.wait(timeout=20), 0)
        self.assertIsNotNone(tray.wait_for(lambda e: e["event"] == "unregistered", since=since))
        self.wait(lambda: not [p for p in engine if os.path.exists("/proc/%d" % p)],
                  "the engine's processes to end", trace)

    def wait(self, predicate, what, trace, timeout=15.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if predicate():
                return
            time.sleep(0.1)
        self.fail("timed out waiting for %s\n%s" % (what, trace()[-3000:]))

    def test_wayland_sessions_with_and_without_xwayland(self):
        # With XWayland the program prefers it: the window is designed to start centred
        # and on top, which only X11 lets a window ask for.
        with self.subTest("with XWayland"):
            self.run_in_session(True, {}, "xcb")
        # Wayland alone, as a user who chose it gets it: no X11 call of any kind, even
        # with an X display named in the environment.
        with self.subTest("Wayland alone"):
            x11 = FakeX11Display()
            try:
                self.run_in_session(False, {"QT_QPA_PLATFORM": "wayland", "DISPLAY": x11.display},
                                    "wayland")
                self.assertEqual(x11.connections, 0, "the program connected to an X display")
            finally:
                x11.close()


if __name__ == "__main__":
    unittest.main(verbosity=2)
