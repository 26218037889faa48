"""The window as a screen reader sees it: the accessibility tree through AT-SPI, on the
desktop's own accessibility bus, with assistive technology switched on."""

import os
import time
import unittest
import warnings

import gi

gi.require_version("Atspi", "2.0")
gi.require_version("Gio", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

from support import CAPTION, NUMBER, ProgramTestCase  # noqa: E402

WORD_PROMPT = "请输入您要查询的内容，默认使用 ‘译典通’"
NOTICE = "欢迎大家提出宝贵意见和建议\n共同促进本软件的发展\n更好地为大家服务\nQQ:" + NUMBER


def switch_on_assistive_technology(env):
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


class ScreenReader(ProgramTestCase):
    session_bus = True

    @classmethod
    def before_start(cls):
        switch_on_assistive_technology(cls.desktop.env)
        # The reader's side of the bus: this process, on the same desktop.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = cls.desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        os.environ["DISPLAY"] = cls.desktop.env["DISPLAY"]

    def window(self):
        Atspi.init()
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            desktop = Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                if app is None or app.get_name() != "Tovrin":
                    continue
                for j in range(app.get_child_count()):
                    child = app.get_child_at_index(j)
                    if child and child.get_name() == CAPTION:
                        return child
            time.sleep(0.2)
        self.fail("the program's window never appeared on the accessibility bus")

    def walk(self, node):
        """Every accessible below node, with its role and name and whether it shows."""
        found = []
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is None:
                continue
            showing = child.get_state_set().contains(Atspi.StateType.SHOWING)
            found.append((child.get_role_name(), child.get_name(), showing, child))
            found += self.walk(child)
        return found

    def find(self, tree, role, name):
        matches = [a for r, n, showing, a in tree if r == role and n == name and showing]
        self.assertEqual(len(matches), 1, "%s %r: %s" % (role, name, self.describe(tree)))
        return matches[0]

    @staticmethod
    def describe(tree):
        return "\n".join("  %s %r%s" % (r, n, "" if s else " (hidden)") for r, n, s, _ in tree)

    def test_every_control_is_named_and_a_site_button_works_through_its_action(self):
        window = self.window()
        self.assertEqual(window.get_role_name(), "frame")
        tree = self.walk(window)

        query = self.find(tree, "text", WORD_PROMPT)
        self.find(tree, "combo box", "单词查询")
        self.find(tree, "text", "查询类别")
        for caption in ("百度 F1", "有道 F3", "CNKI*F12", "与我联系", "检查更新", "关闭广告"):
            self.find(tree, "push button", caption)
        # Every button that shows has a name, and the hidden rows are not announced.
        unnamed = [(r, n) for r, n, s, _ in tree if r == "push button" and s and not n.strip()]
        self.assertEqual(unnamed, [], self.describe(tree))
        self.assertNotIn("必应 F6", [n for r, n, s, _ in tree if r == "push button" and s])
        notice = self.find(tree, "text", "通知")
        text = notice.get_text_iface() if hasattr(notice, "get_text_iface") else notice
        self.assertEqual(text.get_text(0, -1).replace("\r\n", "\n").replace("\r", "\n"), NOTICE)
        # The result page is a document inside its named view.
        result = self.find(tree, "filler", "查询结果")
        self.assertIn("document web", [r for r, n, s, _ in self.walk(result)])

        # A lookup as a screen reader user makes it: the word put into the box, and the
        # button pressed through its accessible action.
        query.set_text_contents("screen")
        button = self.find(tree, "push button", "有道 F3")
        with warnings.catch_warnings():  # the binding's name for this call is deprecated
            warnings.simplefilter("ignore", DeprecationWarning)
            actions = [button.get_action_name(i) for i in range(button.get_n_actions())]
        self.expect_request(lambda: button.do_action(actions.index("Press")),
                            "http://dict.youdao.com/search?q=screen")
        # The box keeps its name while it holds the user's text.
        self.assertEqual(query.get_name(), WORD_PROMPT)


if __name__ == "__main__":
    unittest.main(verbosity=2)
