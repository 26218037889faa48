"""The desktops the program is tested on, each started and ended as one: an X desktop
(Xvfb, openbox, optionally trayer, a session bus, Xfce's panel, an input method), a
Wayland session (weston, with or without XWayland), and the program started on one."""

import json
import os
import socket
import subprocess
import tempfile
import threading

import gi

import xwin
from harness import Processes, program_env, run, wait_for

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

# The tools each kind of desktop needs, for a skip that names the one missing.
X_TOOLS = ("Xvfb", "openbox", "xdotool")
TRAY_TOOLS = ("trayer",)
BUS_TOOLS = ("dbus-daemon",)
XFCE_TOOLS = ("xfce4-panel",)
WAYLAND_TOOLS = ("weston",)
INPUT_METHOD_TOOLS = ("fcitx5", "fcitx5-remote")


def start_session_bus(processes, env=None):
    """Starts a private session bus and returns its address."""
    r, w = os.pipe()
    processes.spawn(["dbus-daemon", "--session", "--nofork", "--nosyslog",
                     "--print-address=%d" % w], env, pass_fds=(w,))
    os.close(w)
    with os.fdopen(r) as f:
        address = f.readline().strip()
    if not address:
        raise RuntimeError("the session bus did not start")
    return address


def clean_env(**extra):
    """The test runner's environment without its display, session bus or platform."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                        "DBUS_SESSION_BUS_ADDRESS")}
    env.update(extra)
    return env


class XDesktop(Processes):
    def __init__(self, with_tray=True, session_bus=False, size="1280x1024"):
        super().__init__()
        self.home = self.folder("home-")
        # The program gets a home of its own, apart from the window manager's files.
        self.program_home = self.folder("program-home-")
        r, w = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(w), "-screen", "0", size + "x24", "-nolisten", "tcp"],
                   None, pass_fds=(w,))
        os.close(w)
        with os.fdopen(r) as f:
            self.display = ":" + f.readline().strip()
        self.env = clean_env(DISPLAY=self.display, HOME=self.home)
        if session_bus:
            self.env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(self)
        self.screen = xwin.XScreen(self.display)
        self.spawn(["openbox", "--sm-disable"], self.env)
        wait_for(lambda: self.screen.root_has("_NET_SUPPORTING_WM_CHECK"), what="the window manager")
        wait_for(self._map_high_function_keys, what="F13 to F24 on the keyboard")
        if with_tray:
            self.start_tray()

    def close(self):
        self.screen.close()
        super().close()

    def start_tray(self):
        """Starts the tray host (trayer, an XEmbed notification area) and waits for it."""
        self.tray = self.spawn(
            ["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
             "--width", "120", "--height", "32", "--transparent", "false", "--tint", "0xcccccc"],
            self.env)
        wait_for(lambda: self.screen.selection_owned("_NET_SYSTEM_TRAY_S0"), what="the tray host")

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

    def xdo(self, *args, check=True):
        return run("xdotool", *args, env=self.env, check=check).stdout.strip()

    def find_window(self, name="Tovrin", timeout=30.0, poll=0.2, exact=True):
        """The window with that name (or whose name starts so), once it is on the screen."""
        found = lambda: [w for w in self.screen.find()  # noqa: E731
                         if (self.screen.name(w) or "") == name
                         or (not exact and (self.screen.name(w) or "").startswith(name))]
        return wait_for(found, timeout, "window %r" % name, poll)[0]

    def bus_has(self, name):
        """Whether a name has an owner on the desktop's session bus."""
        return StatusNotifierTray.call_on(
            self.env, ("org.freedesktop.DBus", "/org/freedesktop/DBus"), "NameHasOwner",
            GLib.Variant("(s)", (name,)), "org.freedesktop.DBus")[0]

    def start_status_notifier_tray(self, notifications_only=False):
        """A status-notifier tray of the test's own on the session bus (or only its
        notification service)."""
        return StatusNotifierTray(self, self.env, notifications_only)

    def start_xfce_panel(self):
        """Starts Xfce's panel with its status tray plug-in alone, along the bottom left
        of the screen, and waits for it to host status-notifier items."""
        config = os.path.join(self.home, ".config")
        channel = os.path.join(config, "xfce4", "xfconf", "xfce-perchannel-xml")
        os.makedirs(channel, exist_ok=True)
        with open(os.path.join(channel, "xfce4-panel.xml"), "w") as f:
            f.write(XFCE_PANEL)
        env = dict(self.env, XDG_CONFIG_HOME=config)
        if not self.bus_has("org.xfce.Xfconf"):
            # Its settings daemon, started here: one started by the bus would not see
            # this desktop's settings.
            self.spawn([XFCONFD], env)
            wait_for(lambda: self.bus_has("org.xfce.Xfconf"), what="Xfce's settings daemon")
        self.panel = self.spawn(["xfce4-panel", "--disable-wm-check"], env)
        wait_for(lambda: self.bus_has("org.kde.StatusNotifierWatcher"), what="Xfce's status tray")
        return self.panel

    def start_input_method(self, profile, config):
        """Starts fcitx5 with the settings given; returns the environment it answers in."""
        folder = self.folder("fcitx5-", self.home)
        os.makedirs(os.path.join(folder, "fcitx5"))
        for name, text in (("profile", profile), ("config", config)):
            with open(os.path.join(folder, "fcitx5", name), "w") as f:
                f.write(text)
        env = dict(self.env, XDG_CONFIG_HOME=folder)
        self.spawn(["fcitx5", "--disable=notificationitem,kimpanel"], env)
        # Asked without starting it: a call to the input method while it is not yet on
        # the bus would have the bus start a second one, with the default settings.
        wait_for(lambda: self.bus_has("org.fcitx.Fcitx5"), what="the input method")
        return env

    def screenshot(self, path):
        run("import", "-window", "root", path, env=self.env, check=False, timeout=30)


class WaylandSession(Processes):
    """A headless weston with a session bus, a status-notifier tray and assistive
    technology on (for lookups without a keyboard to drive), with or without XWayland."""

    def __init__(self, xwayland):
        super().__init__()
        self.runtime = self.folder("runtime-")
        self.program_home = self.folder("program-home-")
        log = os.path.join(self.runtime, "weston.log")
        self.env = clean_env(XDG_RUNTIME_DIR=self.runtime, HOME=self.program_home,
                             XDG_SESSION_TYPE="wayland")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(self, self.env)
        self.spawn(["weston", "--backend=headless-backend.so", "--socket=wayland-tovrin",
                    "--width=1280", "--height=1024", "--idle-time=0", "--log=" + log]
                   + (["--xwayland"] if xwayland else []), self.env)
        wait_for(lambda: os.path.exists(os.path.join(self.runtime, "wayland-tovrin")),
                 what="the compositor")
        self.env["WAYLAND_DISPLAY"] = "wayland-tovrin"
        if xwayland:
            marker = "xserver listening on display "

            def x_display():
                with open(log) as f:
                    text = f.read()
                return text.find(marker) >= 0 and text.split(marker, 1)[1].split()[0]

            self.env["DISPLAY"] = wait_for(x_display, what="XWayland")
        import screen_reader
        screen_reader.switch_on(self.env)
        self.tray = StatusNotifierTray(self, self.env)


class FakeX11Display:
    """An X display that nobody serves: it only counts the clients that try it."""

    def __init__(self):
        self.connections = 0
        self.sockets = []
        number = next(n for n in range(90, 200) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        self.path = "/tmp/.X11-unix/X%d" % number
        self.display = ":%d" % number
        # libxcb tries the abstract socket first, then the file.
        for address in ("\0" + self.path, self.path):
            s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            s.bind(address)
            s.listen(8)
            self.sockets.append(s)
            threading.Thread(target=self._accept, args=(s,), daemon=True).start()

    def _accept(self, s):
        while True:
            try:
                s.accept()[0].close()
            except OSError:
                return
            self.connections += 1

    def close(self):
        for s in self.sockets:
            s.close()
        os.unlink(self.path)


class Program:
    """The program started on a desktop against the recording proxy, its standard error
    kept for its trace. With an account (name, home, runtime folder) it runs as that user
    with the browser engine's sandbox on, as people run it. A variable given as None in
    extra_env is taken out of the environment."""

    TRACE = "tovrin.browser.debug=true\ntovrin.window.debug=true"

    def __init__(self, processes, exe, base_env, proxy_port, home, extra_env=None,
                 account=None, logging=TRACE, argv=()):
        env = program_env(base_env, proxy_port, home, logging)
        command = [exe, *argv]
        if account:
            name, account_home, runtime = account
            env.update(HOME=account_home, USER=name, LOGNAME=name, XDG_RUNTIME_DIR=runtime)
            env.pop("QTWEBENGINE_DISABLE_SANDBOX", None)
            command = ["setpriv", "--reuid", name, "--regid", name, "--init-groups", "--", exe]
        for name, value in (extra_env or {}).items():
            if value is None:
                env.pop(name, None)
            else:
                env[name] = value
        self.stderr = tempfile.TemporaryFile()
        self.proc = processes.spawn(command, env, stderr=self.stderr)
        self.pid = self.proc.pid

    def output(self):
        """All the program has written to standard error so far (read without moving the
        file's offset, which the running program shares)."""
        fd = self.stderr.fileno()
        return os.pread(fd, os.fstat(fd).st_size, 0).decode("utf-8", "replace")

    def trace(self, lines=25):
        trace = [l for l in self.output().splitlines() if l.startswith("tovrin.")]
        return "program trace:\n  " + "\n  ".join(trace[-lines:])


class StatusNotifierTray:
    """The test's status-notifier watcher, host and notification service, and what they
    have seen, as a list of events."""

    ITEM = "org.kde.StatusNotifierItem"

    def __init__(self, processes, env, notifications_only=False):
        self.env = env
        self.events = []
        command = ["/usr/bin/python3", os.path.join(HERE, "status_notifier_host.py")]
        if notifications_only:
            command.append("--notifications-only")
        self.proc = processes.spawn(command, env, stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self._read, daemon=True).start()
        wait_for(lambda: self.find(lambda e: e["event"] == "ready"), 15,
                 "the status-notifier tray")

    def _read(self):
        for line in self.proc.stdout:
            self.events.append(json.loads(line))

    def find(self, match, since=0):
        return next((e for e in self.events[since:] if match(e)), None)

    def wait_for(self, match, timeout=15.0, since=0, what="an event of the tray"):
        return wait_for(lambda: self.find(match, since), timeout, what)

    def registered_item(self, since=0):
        """The item that registered last: its bus name and object path."""
        event = self.wait_for(lambda e: e["event"] == "registered", since=since,
                              what="an icon in the tray")
        name, _, path = event["item"].partition("/")
        return name, "/" + (path or "StatusNotifierItem")

    def call(self, item, method, args=None, interface=ITEM):
        """Calls a method of an item over the session bus, as a panel does."""
        return self.call_on(self.env, item, method, args, interface)

    @staticmethod
    def call_on(env, item, method, args=None, interface=ITEM):
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
        try:
            return self.call(("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher"), "Get",
                             GLib.Variant("(ss)", ("org.kde.StatusNotifierWatcher",
                                                   "RegisteredStatusNotifierItems")),
                             "org.freedesktop.DBus.Properties")[0]
        except Exception:  # no watcher on the bus
            return []

    def click(self, item, method):
        """A panel's click: "Activate" for the left button, "ContextMenu" for the right."""
        self.call(item, method, GLib.Variant("(ii)", (600, 1000)))

    def property(self, item, name):
        return self.call(item, "Get", GLib.Variant("(ss)", (self.ITEM, name)),
                         "org.freedesktop.DBus.Properties")[0]


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
