"""A screen reader's view of the program through AT-SPI: its window and the tree below.
Run as a command, it makes one lookup the way a screen reader user does (for sessions
this process is not part of):

    screen_reader.py CAPTION QUERY_NAME TEXT BUTTON
"""

import sys
import warnings

import gi

from harness import wait_for

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def children(node):
    return [c for c in map(node.get_child_at_index, range(node.get_child_count())) if c]


def find_window(caption, timeout=20.0):
    """The program's main window on the accessibility bus of this process's session."""
    Atspi.init()
    return wait_for(lambda: next((w for app in children(Atspi.get_desktop(0))
                                  if app.get_name() == "Tovrin" for w in children(app)
                                  if w.get_name() == caption), None),
                    timeout, "the program's window on the accessibility bus", 0.2)


def walk(node):
    """Every accessible below node: (role, name, showing, accessible)."""
    found = []
    for child in children(node):
        showing = child.get_state_set().contains(Atspi.StateType.SHOWING)
        found += [(child.get_role_name(), child.get_name(), showing, child)] + walk(child)
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
    tree = walk(find_window(caption))
    query, button = showing(tree, "text", query_name), showing(tree, "push button", button_name)
    if len(query) != 1 or len(button) != 1:
        sys.exit("no single query box %r and button %r" % (query_name, button_name))
    query[0].set_text_contents(text)
    press(button[0])


if __name__ == "__main__":
    look_up(*sys.argv[1:5])
