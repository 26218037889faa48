"""A status-notifier tray of the test's own, on the session bus it is started on: the
watcher that items register with, a host (so that items know they are shown), and the
desktop's notification service that balloons go to (alone, with --notifications-only,
beside a real panel). Each thing it sees is printed as one
JSON line on standard output; the test clicks the items itself, over the bus."""

import json
import os
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

WATCHER = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>"""

NOTIFICATIONS = """
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
      <arg type="u" direction="out"/>
    </method>
    <method name="CloseNotification"><arg type="u" direction="in"/></method>
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="GetServerInformation">
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
      <arg type="s" direction="out"/><arg type="s" direction="out"/>
    </method>
    <signal name="NotificationClosed"><arg type="u"/><arg type="u"/></signal>
  </interface>
</node>"""


def say(**event):
    print(json.dumps(event, ensure_ascii=False), flush=True)


class Tray:
    def __init__(self, bus):
        self.bus = bus
        self.items = []
        self.notifications = 0
        bus.signal_subscribe("org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
                             "/org/freedesktop/DBus", None, Gio.DBusSignalFlags.NONE,
                             self.name_owner_changed)

    def watcher_call(self, bus, sender, path, iface, method, args, invocation):
        if method == "RegisterStatusNotifierItem":
            (where,) = args.unpack()
            # An item names its bus name, or only its object path on the caller's name.
            item = sender + where if where.startswith("/") else where
            if item not in self.items:
                self.items.append(item)
            say(event="registered", item=item, sender=sender)
            bus.emit_signal(None, path, iface, "StatusNotifierItemRegistered",
                            GLib.Variant("(s)", (item,)))
        elif method == "RegisterStatusNotifierHost":
            bus.emit_signal(None, path, iface, "StatusNotifierHostRegistered", None)
        invocation.return_value(None)

    def watcher_property(self, bus, sender, path, iface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", self.items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", True)
        return GLib.Variant("i", 0)

    def notifications_call(self, bus, sender, path, iface, method, args, invocation):
        if method == "Notify":
            app, replaces, icon, summary, body, actions, hints, timeout = args.unpack()
            self.notifications += 1
            say(event="notify", app=app, summary=summary, body=body, timeout=timeout,
                sender=sender)
            invocation.return_value(GLib.Variant("(u)", (self.notifications,)))
        elif method == "GetCapabilities":
            invocation.return_value(GLib.Variant("(as)", (["body"],)))
        elif method == "GetServerInformation":
            invocation.return_value(GLib.Variant("(ssss)", ("test tray", "tovrin", "1", "1.2")))
        else:
            invocation.return_value(None)

    def name_owner_changed(self, bus, sender, path, iface, signal, args):
        name, old, new = args.unpack()
        if new:
            return
        for item in [i for i in self.items if i == name or i.startswith(name + "/")]:
            self.items.remove(item)
            say(event="unregistered", item=item)
            bus.emit_signal(None, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                            "StatusNotifierItemUnregistered", GLib.Variant("(s)", (item,)))


def main():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    tray = Tray(bus)
    watcher = Gio.DBusNodeInfo.new_for_xml(WATCHER).interfaces[0]
    bus.register_object("/StatusNotifierWatcher", watcher, tray.watcher_call,
                        tray.watcher_property, None)
    notifications = Gio.DBusNodeInfo.new_for_xml(NOTIFICATIONS).interfaces[0]
    bus.register_object("/org/freedesktop/Notifications", notifications,
                        tray.notifications_call, None, None)
    names = ["org.freedesktop.Notifications"]
    if "--notifications-only" not in sys.argv:  # else a real panel is the tray
        # The watcher last: it says the tray is ready.
        names += ["org.kde.StatusNotifierHost-%d" % os.getpid(), "org.kde.StatusNotifierWatcher"]
    for name in names:
        reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                              "org.freedesktop.DBus", "RequestName",
                              GLib.Variant("(su)", (name, 4)), GLib.VariantType("(u)"),
                              Gio.DBusCallFlags.NONE, -1, None)
        if reply.unpack()[0] != 1:
            sys.exit("could not own " + name)
    say(event="ready")
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
