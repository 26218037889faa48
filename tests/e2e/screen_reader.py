"""A screen reader's view of the program through AT-SPI: switching assistive technology
on, finding the program's window, walking its tree. Run as a command, it makes one lookup
the way a screen reader user does (for sessions this process is not part of):

    screen_reader.py CAPTION QUERY_NAME TEXT BUTTON
"""

import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
gi.require_version("Gio", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402


def switch_on(env):
    """What a screen reader does when it starts: says so on the accessibility bus."""
    bus = Gio.DBusConnection.new_for_address_sync(
        env["DBUS_SESSION_BUS_ADDRESS"],
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    for name in ("IsEnabled", "ScreenReaderEnabled"):
        bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                      GLib.Variant("(ssv)", ("org.a11y.Status", name, GLib.Variant("b", True))),
                      None, Gio.DBusCallFlags.NONE, 10000, None)
    bus.close_sync(None)


def find_window(caption, timeout=20.0):
    """The program's main window on the accessibility bus of this process's session."""
    Atspi.init()
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is None or app.get_name() != "Tovrin":
                continue
            for j in range(app.get_child_count()):
                child = app.get_child_at_index(j)
                if child and child.get_name() == caption:
                    return child
        time.sleep(0.2)
    return None


def walk(node):
    """Every accessible below node: (role, name, showing, accessible)."""
    found = []
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        showing = child.get_state_set().contains(Atspi.StateType.SHOWING)
        found.append((child.get_role_name(), child.get_name(), showing, child))
        found += walk(child)
    return found


def showing(tree, role, name):
    return [a for r, n, s, a in tree if r == role and n == name and s]


def press(button):
    """Presses a button through its accessible action, as a screen reader does."""
    with warnings.catch_warnings():  # the binding's name for this call is deprecated
        warnings.simplefilter("ignore", DeprecationWarning)
        actions = [button.get_action_name(i) for i in range(button.get_n_actions())]
    button.do_action(actions.index("Press"))


def look_up(caption, query_name, text, button_name):
    window = find_window(caption)
    if window is None:
        sys.exit("the program's window never appeared on the accessibility bus")
    tree = walk(window)
    query, button = showing(tree, "text", query_name), showing(tree, "push button", button_name)
    if len(query) != 1 or len(button) != 1:
        sys.exit("no single query box %r and button %r" % (query_name, button_name))
    query[0].set_text_contents(text)
    press(button[0])


if __name__ == "__main__":
    look_up(*sys.argv[1:5])
