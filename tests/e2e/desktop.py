"""The desktops the program is tested on, each started and ended as one: an X desktop
(Xvfb, openbox, optionally trayer, a session bus, Xfce's panel, an input method), a
Wayland session (weston, with or without XWayland), and the program started on one."""

import os
import socket
import tempfile
import threading

import gi

import xwin
from harness import Processes, program_env, run, wait_for

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def first_line(processes, command, env=None):
    """Starts a server that writes where it listens to a descriptor; returns that line."""
    r, w = os.pipe()
    processes.spawn([part.replace("{fd}", str(w)) for part in command], env, pass_fds=(w,))
    os.close(w)
    with os.fdopen(r) as f:
        line = f.readline().strip()
    if not line:
        raise RuntimeError(command[0] + " did not start")
    return line


def start_session_bus(processes, env=None):
    return first_line(processes, ["dbus-daemon", "--session", "--nofork", "--nosyslog",
                                  "--print-address={fd}"], env)


def clean_env(**extra):
    """The test runner's environment without its display, session bus or platform."""
    drop = ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS",
            "XDG_SESSION_ID", "XDG_RUNTIME_DIR", "DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN")
    return dict({k: v for k, v in os.environ.items() if k not in drop}, **extra)


def write_files(folder, files):
    for name, text in files.items():
        os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
        with open(os.path.join(folder, name), "w") as f:
            f.write(text)
    return folder


class XDesktop(Processes):
    def __init__(self, with_tray=True, session_bus=False, size="1280x1024"):
        super().__init__()
        self.home = self.folder("home-")
        # The program gets a home of its own, apart from the window manager's files.
        self.program_home = self.folder("program-home-")
        self.display = ":" + first_line(self, ["Xvfb", "-displayfd", "{fd}", "-screen", "0",
                                               size + "x24", "-nolisten", "tcp"])
        # A runtime folder of its own: the session's program is reached through it.
        self.env = clean_env(DISPLAY=self.display, HOME=self.home,
                             XDG_RUNTIME_DIR=self.folder("runtime-"))
        # A desktop without a session bus has none at all: no client may start one by
        # X11 autolaunch (dbus-x11), which would outlive the test and write to home.
        self.env["DBUS_SESSION_BUS_ADDRESS"] = (start_session_bus(self) if session_bus
                                                else "unix:path=/nonexistent/session-bus")
        self.screen = xwin.XScreen(self.display)
        self.spawn(["openbox", "--sm-disable"], self.env)
        wait_for(lambda: self.screen.root_has("_NET_SUPPORTING_WM_CHECK"), what="the window manager")
        wait_for(self._map_high_function_keys, what="F13 to F24 on the keyboard")
        if with_tray:
            self.start_tray()

    def close(self):
        self.screen.close()
        super().close()

    def start_tray(self, edge="bottom", align="right", margin=0):
        """Starts the tray host (trayer, an XEmbed notification area) along a screen edge,
        at one end of it (align) or margin pixels from there, and waits for it."""
        self.tray = self.spawn(
            ["trayer", "--edge", edge, "--align", align, "--margin", str(margin),
             "--widthtype", "pixel", "--width", "120", "--height", "32",
             "--transparent", "false", "--tint", "0xcccccc"], self.env)
        wait_for(lambda: self.screen.selection_owned("_NET_SYSTEM_TRAY_S0"), what="the tray host")

    def _map_high_function_keys(self):
        """Gives F13 to F24 key codes of their own. Without them xdotool remaps a spare
        key code for each press, and a key can reach the program before the new mapping."""
        table = run("xmodmap", "-pke", env=self.env).stdout
        free = [line.split()[1] for line in table.splitlines()
                if line.startswith("keycode") and line.rstrip().endswith("=")]
        if " F24" not in table:
            run("xmodmap", *[arg for code, n in zip(free, range(13, 25))
                             for arg in ("-e", "keycode %s = F%d" % (code, n))],
                env=self.env, check=False)
        return " F24" in table

    def xdo(self, *args, check=True):
        return run("xdotool", *map(str, args), env=self.env, check=check).stdout.strip()

    def find_window(self, name="Tovrin", timeout=30.0, poll=0.2, exact=True):
        """The window with that name (or whose name starts so), once it is on the screen."""
        named = lambda w: (self.screen.name(w) or "")[:None if exact else len(name)] == name  # noqa: E731
        return wait_for(lambda: [w for w in self.screen.find() if named(w)], timeout,
                        "window %r" % name, poll)[0]

    def start_xfce_panel(self):
        """Starts Xfce's panel with its status tray plug-in alone, along the bottom left
        of the screen, and waits for it to host status-notifier items."""
        env = dict(self.env, XDG_CONFIG_HOME=write_files(os.path.join(self.home, ".config"), {
            "xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml": XFCE_PANEL}))
        if not bus_has(self.env, "org.xfce.Xfconf"):
            # Its settings daemon, started here: one started by the bus would not see
            # this desktop's settings.
            self.spawn([XFCONFD], env)
            wait_for(lambda: bus_has(self.env, "org.xfce.Xfconf"), what="Xfce's settings daemon")
        self.panel = self.spawn(["xfce4-panel", "--disable-wm-check"], env)
        wait_for(lambda: bus_has(self.env, "org.kde.StatusNotifierWatcher"), what="Xfce's status tray")
        return self.panel

    def start_input_method(self, profile, config):
        """Starts fcitx5 with the settings given; returns the environment it answers in."""
        folder = write_files(self.folder("fcitx5-", self.home),
                             {"fcitx5/profile": profile, "fcitx5/config": config})
        env = dict(self.env, XDG_CONFIG_HOME=folder)
        self.spawn(["fcitx5", "--disable=notificationitem,kimpanel"], env)
        # Asked without starting it: a call to the input method while it is not yet on
        # the bus would have the bus start a second one, with the default settings.
        wait_for(lambda: bus_has(self.env, "org.fcitx.Fcitx5"), what="the input method")
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
        switch_on_assistive_technology(self.env)
        self.tray = StatusNotifierTray(self, self.env)


class FakeX11Display:
    """An X display that nobody serves: it only counts the clients that try it (libxcb
    tries an abstract socket of that name first, and then this file)."""

    def __init__(self):
        self.connections = 0
        number = next(n for n in range(90, 200) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        self.path, self.display = "/tmp/.X11-unix/X%d" % number, ":%d" % number
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.bind(self.path)
        self.socket.listen(8)
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                self.socket.accept()[0].close()
            except OSError:
                return
            self.connections += 1

    def close(self):
        self.socket.close()
        os.unlink(self.path)


class Program:
    """The program started on a desktop against the recording proxy, its standard error
    kept for its trace. With an account (name, home, runtime folder) it runs as that user
    with the browser engine's sandbox on, as people run it. A variable given as None in
    extra_env is taken out of the environment."""

    TRACE = "tovrin.browser.debug=true\ntovrin.window.debug=true\ntovrin.instance.debug=true"

    def __init__(self, desktop, exe, proxy_port, extra_env=None, account=None, logging=TRACE,
                 args=()):
        env = program_env(desktop.env, proxy_port, desktop.program_home, logging)
        command = [exe, *args]
        if account:
            name, home, runtime = account
            env.update(HOME=home, USER=name, LOGNAME=name, XDG_RUNTIME_DIR=runtime)
            env.pop("QTWEBENGINE_DISABLE_SANDBOX", None)
            command = ["setpriv", "--reuid", name, "--regid", name, "--init-groups", "--", *command]
        env.update(extra_env or {})
        env = {k: v for k, v in env.items() if v is not None}
        self.stderr = tempfile.TemporaryFile()
        self.proc = desktop.spawn(command, env, stderr=self.stderr)
        self.pid = self.proc.pid

    def output(self):
        """All the program has written to standard error so far (read without moving the
        file's offset, which the running program shares)."""
        fd = self.stderr.fileno()
        return os.pread(fd, os.fstat(fd).st_size, 0).decode("utf-8", "replace")

    def trace(self, lines=25):
        trace = [l for l in self.output().splitlines() if l.startswith("tovrin.")]
        return "program trace:\n  " + "\n  ".join(trace[-lines:])


# The session bus, as a panel or a screen reader uses it.

PROPERTIES = "org.freedesktop.DBus.Properties"


def bus_call(env, name, path, interface, method, args=None):
    bus = Gio.DBusConnection.new_for_address_sync(
        env["DBUS_SESSION_BUS_ADDRESS"], Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    try:
        reply = bus.call_sync(name, path, interface, method, args, None,
                              Gio.DBusCallFlags.NONE, 10000, None)
        return reply.unpack() if reply else None
    finally:
        bus.close_sync(None)


def bus_property(env, name, path, interface, prop):
    return bus_call(env, name, path, PROPERTIES, "Get", GLib.Variant("(ss)", (interface, prop)))[0]


def bus_has(env, name):
    """Whether a name has an owner on the session bus."""
    return bus_call(env, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                    "NameHasOwner", GLib.Variant("(s)", (name,)))[0]


def answers(call):
    """What a call over the bus gives, or None while nobody answers it."""
    try:
        return call()
    except GLib.Error:
        return None


def switch_on_assistive_technology(env):
    """What a screen reader does when it starts: says so on the accessibility bus."""
    for name in ("IsEnabled", "ScreenReaderEnabled"):
        bus_call(env, "org.a11y.Bus", "/org/a11y/bus", PROPERTIES, "Set",
                 GLib.Variant("(ssv)", ("org.a11y.Status", name, GLib.Variant("b", True))))


class StatusNotifierTray:
    """A status-notifier watcher with a host, and the desktop's notification service (or
    only that, beside a real panel), mocked on the session bus by dbusmock, which keeps
    the calls they get."""

    WATCHER = ("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
    NOTIFICATIONS = ("org.freedesktop.Notifications", "/org/freedesktop/Notifications")
    ITEM = "org.kde.StatusNotifierItem"

    def __init__(self, processes, env, notifications_only=False):
        self.env = env
        # Each mock with a call it answers once its template is loaded.
        ready = {"notification_daemon": lambda: bus_call(
            env, *self.NOTIFICATIONS, self.NOTIFICATIONS[0], "GetCapabilities")}
        if not notifications_only:
            ready[os.path.join(HERE, "status_notifier_watcher.py")] = lambda: bus_property(
                env, *self.WATCHER, self.WATCHER[0], "IsStatusNotifierHostRegistered")
        for template in ready:
            processes.spawn(["/usr/bin/python3", "-m", "dbusmock", "--session", "-t", template], env)
        for answered in ready.values():
            wait_for(lambda: answers(answered), 15, "a mocked tray service")

    def calls(self, service, method):
        """The arguments of each call of that method the mocked service has had."""
        found = bus_call(self.env, *service, "org.freedesktop.DBus.Mock", "GetMethodCalls",
                         GLib.Variant("(s)", (method,)))[0]
        return [args for _, args in found]

    def notifications(self):
        """The balloons shown: (summary, body) of each."""
        return [tuple(args[3:5]) for args in self.calls(self.NOTIFICATIONS, "Notify")]

    def registered_item(self):
        """The item that registered last: its bus name and object path."""
        found = wait_for(lambda: self.calls(self.WATCHER, "RegisterStatusNotifierItem"), 15,
                         "an icon in the tray")
        return item_address(found[-1][0])

    def watched_items(self):
        """The items the watcher on the bus (ours or a panel's) has registered."""
        return answers(lambda: bus_property(self.env, *self.WATCHER, self.WATCHER[0],
                                            "RegisteredStatusNotifierItems")) or []

    def click(self, item, method):
        """A panel's click: "Activate" for the left button, "ContextMenu" for the right."""
        bus_call(self.env, *item, self.ITEM, method, GLib.Variant("(ii)", (600, 1000)))

    def property(self, item, name):
        return bus_property(self.env, *item, self.ITEM, name)


def item_address(registered):
    """An item's bus name and object path, from what it registered with."""
    name, _, path = registered.partition("/")
    return name, "/" + (path or "StatusNotifierItem")


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
