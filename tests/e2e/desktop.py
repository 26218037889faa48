"""A real X desktop for end-to-end tests: Xvfb, openbox, optionally trayer, and the
program started against a recording proxy, driven with xdotool."""

import json
import os
import shutil
import subprocess
import tempfile
import threading
import time


def run(*args, env=None, check=True, timeout=20):
    return subprocess.run(list(args), env=env, check=check, timeout=timeout,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def wait_for(predicate, failure, timeout=20.0):
    """Waits until predicate() is true; raises RuntimeError(failure) if it never is."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    raise RuntimeError(failure)


def start_session_bus(env=None):
    """Starts a private session bus; returns its process and its address."""
    r, w = os.pipe()
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nosyslog",
                            "--print-address=%d" % w], pass_fds=(w,), env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as f:
        address = f.readline().strip()
    if not address:
        bus.kill()
        raise RuntimeError("the session bus did not start")
    return bus, address


def stop_process(proc, timeout=15):
    """Terminates a process, and kills it if it does not end in time."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Desktop:
    def __init__(self, with_tray=True, size="1280x1024", session_bus=False):
        self.with_tray = with_tray
        self.session_bus = session_bus
        self.size = size
        self.procs = []
        self.display = None
        self.home = tempfile.mkdtemp(prefix="tovrin-e2e-home-")
        # The program gets a home of its own, apart from the window manager's files.
        self.program_home = tempfile.mkdtemp(prefix="tovrin-e2e-program-home-")

    def __enter__(self):
        r, w = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", self.size + "x24",
                                 "-nolisten", "tcp"], pass_fds=(w,),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        self.procs.append(xvfb)
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display, HOME=self.home)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        # The desktop's own session bus, or none: never the bus of whoever runs the tests.
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        if self.session_bus:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self.start_session_bus()
        self.procs.append(subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self._wait(lambda: self.xprop_root("_NET_SUPPORTING_WM_CHECK"), "window manager")
        self._wait(self._map_high_function_keys, "F13 to F24 on the keyboard")
        if self.with_tray:
            self.start_tray()
        return self

    def start_tray(self):
        """Starts the tray host (trayer, an XEmbed notification area) and waits for it."""
        self.tray = subprocess.Popen(
            ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
             "--width", "120", "--height", "32", "--transparent", "false", "--tint", "0xcccccc"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(self.tray)
        self._wait(self.tray_owned, "tray host")

    def start_session_bus(self):
        """Starts a private session bus and returns its address."""
        bus, address = start_session_bus()
        self.procs.append(bus)
        return address

    def start_status_notifier_tray(self, notifications_only=False):
        """Starts a status-notifier tray of the test's own on the session bus (or only
        its notification service)."""
        tray = StatusNotifierTray(self.env, notifications_only)
        self.procs.append(tray.proc)
        return tray

    def start_xfce_panel(self):
        """Starts Xfce's panel with its status tray plug-in alone, along the bottom left
        of the screen, and waits for it to host status-notifier items."""
        channel = os.path.join(self.home, ".config", "xfce4", "xfconf", "xfce-perchannel-xml")
        os.makedirs(channel, exist_ok=True)
        with open(os.path.join(channel, "xfce4-panel.xml"), "w") as f:
            f.write(XFCE_PANEL)
        env = dict(self.env, XDG_CONFIG_HOME=os.path.join(self.home, ".config"))
        if not any(p.args[0].endswith("xfconfd") for p in self.procs):
            # Its settings daemon, started here: one started by the bus would not see
            # this desktop's settings.
            self.procs.append(subprocess.Popen([XFCONFD], env=env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
            self._wait(lambda: self.bus_has("org.xfce.Xfconf"), "Xfce's settings daemon")
        self.panel = subprocess.Popen(["xfce4-panel", "--disable-wm-check"], env=env,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(self.panel)
        self._wait(lambda: self.bus_has("org.kde.StatusNotifierWatcher"), "Xfce's status tray")
        return self.panel

    def bus_has(self, name):
        """Whether a name has an owner on the desktop's session bus."""
        from gi.repository import GLib
        owned = StatusNotifierTray.call_on(self.env, ("org.freedesktop.DBus", "/org/freedesktop/DBus"),
                                           "NameHasOwner", GLib.Variant("(s)", (name,)),
                                           "org.freedesktop.DBus")
        return owned[0]

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            stop_process(p, timeout=10)
        shutil.rmtree(self.home, ignore_errors=True)
        shutil.rmtree(self.program_home, ignore_errors=True)

    def _map_high_function_keys(self):
        """Gives F13 to F24 key codes of their own. Without them xdotool remaps a spare
        key code for each press, and a key can reach the program before the new mapping."""
        table = run("xmodmap", "-pke", env=self.env).stdout
        if " F24" in table:
            return True
        free = [line.split()[1] for line in table.splitlines()
                if line.startswith("keycode") and line.rstrip().endswith("=")]
        args = ["xmodmap"]
        for code, n in zip(free, range(13, 25)):
            args += ["-e", "keycode %s = F%d" % (code, n)]
        run(*args, env=self.env, check=False)
        return False

    def _wait(self, predicate, what, timeout=20.0):
        wait_for(predicate, "timed out waiting for " + what, timeout)

    def xprop_root(self, prop):
        r = run("xprop", "-root", prop, env=self.env, check=False)
        return r.returncode == 0 and "not found" not in r.stdout and "no such" not in r.stdout

    def tray_owned(self):
        r = run("xdotool", "search", "--classname", "trayer", env=self.env, check=False)
        return r.returncode == 0 and r.stdout.strip() != ""

    def start(self, exe, proxy_port, extra_env=None, account=None):
        """Starts the program. With an account (name, home, runtime folder) it runs as
        that user with the browser engine's sandbox on, as people run it."""
        env = dict(self.env, HOME=self.program_home)
        env.pop("XDG_CACHE_HOME", None)
        env.pop("XDG_CONFIG_HOME", None)
        env.pop("XDG_DATA_HOME", None)
        env["QTWEBENGINE_CHROMIUM_FLAGS"] = (
            "--proxy-server=http://127.0.0.1:%d --proxy-bypass-list=<-loopback> "
            "--disable-background-networking --disable-component-update" % proxy_port)
        command = [exe]
        if account:
            name, home, runtime = account
            env.update(HOME=home, USER=name, LOGNAME=name, XDG_RUNTIME_DIR=runtime)
            env.pop("QTWEBENGINE_DISABLE_SANDBOX", None)
            command = ["setpriv", "--reuid", name, "--regid", name, "--init-groups", "--", exe]
        elif os.geteuid() == 0:
            env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        # The program's own trace of page loads and window sizes, shown when a test fails.
        env.setdefault("QT_LOGGING_RULES", "tovrin.browser.debug=true\ntovrin.window.debug=true")
        env.update(extra_env or {})
        self.stderr = tempfile.TemporaryFile()
        proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=self.stderr,
                                stdin=subprocess.DEVNULL)
        self.procs.append(proc)
        return proc

    def xdo(self, *args, check=True):
        return run("xdotool", *args, env=self.env, check=check).stdout.strip()

    def find_window(self, name, timeout=30.0, poll=0.2):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            r = run("xdotool", "search", "--onlyvisible", "--name", "^" + name + "$",
                    env=self.env, check=False)
            ids = r.stdout.split()
            if ids:
                return ids[0]
            time.sleep(poll)
        raise RuntimeError("window %r never appeared" % name)

    def window_state(self, wid):
        return run("xprop", "-id", wid, "_NET_WM_STATE", env=self.env, check=False).stdout

    def frame_size(self, wid):
        """Outer size (frame included) of a client window, in pixels."""
        r = run("xwininfo", "-id", wid, env=self.env).stdout
        info = {}
        for line in r.splitlines():
            if ":" in line:
                k, v = line.split(":", 1)
                info[k.strip()] = v.strip()
        w, h = int(info["Width"]), int(info["Height"])
        ext = run("xprop", "-id", wid, "_NET_FRAME_EXTENTS", env=self.env, check=False).stdout
        if "=" in ext:
            l, r_, t, b = (int(x) for x in ext.split("=", 1)[1].split(","))
            return w + l + r_, h + t + b
        return w, h

    def screenshot(self, path):
        run("import", "-window", "root", path, env=self.env, check=False, timeout=30)


XFCONFD = "/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd"
XFCE_PANEL = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=8;x=0;y=0"/>
      <property name="length" type="uint" value="10"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
"""


class StatusNotifierTray:
    """The test's status-notifier watcher, host and notification service, and what they
    have seen, as a list of events."""

    ITEM = "org.kde.StatusNotifierItem"

    def __init__(self, env, notifications_only=False):
        here = os.path.dirname(os.path.abspath(__file__))
        self.env = env
        self.events = []
        command = ["/usr/bin/python3", os.path.join(here, "status_notifier_host.py")]
        if notifications_only:
            command.append("--notifications-only")
        self.proc = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True)
        threading.Thread(target=self._read, daemon=True).start()
        if not self.wait_for(lambda e: e["event"] == "ready", timeout=15):
            raise RuntimeError("the status-notifier tray did not start")

    def _read(self):
        for line in self.proc.stdout:
            self.events.append(json.loads(line))

    def wait_for(self, match, timeout=15.0, since=0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = [e for e in self.events[since:] if match(e)]
            if found:
                return found[0]
            time.sleep(0.1)
        return None

    def stop(self):
        stop_process(self.proc)

    def registered_item(self, since=0, timeout=15.0):
        """The item that registered last (its bus name and object path), or None."""
        event = self.wait_for(lambda e: e["event"] == "registered", timeout, since)
        if not event:
            return None
        name, _, path = event["item"].partition("/")
        return name, "/" + (path or "StatusNotifierItem")

    def call(self, item, method, args=None, interface=ITEM):
        """Calls a method of an item over the session bus, as a panel does."""
        return self.call_on(self.env, item, method, args, interface)

    @staticmethod
    def call_on(env, item, method, args=None, interface=ITEM):
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio
        bus = Gio.DBusConnection.new_for_address_sync(
            env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        try:
            reply = bus.call_sync(item[0], item[1], interface, method, args, None,
                                  Gio.DBusCallFlags.NONE, 5000, None)
            return reply.unpack() if reply else None
        finally:
            bus.close_sync(None)

    def watched_items(self):
        """The items the watcher on the bus (ours or a panel's) has registered."""
        from gi.repository import GLib
        try:
            return self.call(("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher"), "Get",
                             GLib.Variant("(ss)", ("org.kde.StatusNotifierWatcher",
                                                   "RegisteredStatusNotifierItems")),
                             "org.freedesktop.DBus.Properties")[0]
        except Exception:  # no watcher on the bus
            return []

    def click(self, item, method):
        """A panel's click: "Activate" for the left button, "ContextMenu" for the right."""
        from gi.repository import GLib
        self.call(item, method, GLib.Variant("(ii)", (600, 1000)))

    def property(self, item, name):
        from gi.repository import GLib
        return self.call(item, "Get", GLib.Variant("(ss)", (self.ITEM, name)),
                         "org.freedesktop.DBus.Properties")[0]
