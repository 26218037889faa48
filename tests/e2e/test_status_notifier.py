"""The tray on desktops whose panels speak the status-notifier protocol over D-Bus (no
XEmbed notification area at all): the test's own watcher and host stand in for the
panel, and click the program's item over the bus as a panel does."""

import time
import unittest

from support import ProgramTestCase


class StatusNotifierTray(ProgramTestCase):
    with_tray = False
    session_bus = True

    @classmethod
    def before_start(cls):
        cls.tray = cls.desktop.start_status_notifier_tray()

    def shown(self):
        return self.map_state() == "IsViewable"

    def registered_item(self, since=0):
        item = self.tray.registered_item(since)
        self.assertIsNotNone(item, "the program's icon never registered with the tray")
        return item

    def click(self, item, method):
        time.sleep(0.5)  # a click lands on a settled window, as a person's does
        self.tray.click(item, method)

    def open_menu(self, item):
        before = self.program_windows()
        self.click(item, "ContextMenu")
        self.wait_until(lambda: self.program_windows() - before, what="the tray menu")
        time.sleep(0.2)

    def test_every_tray_behaviour_through_a_status_notifier_panel(self):
        item = self.registered_item()
        tooltip = self.tray.property(item, "ToolTip")
        self.assertEqual(tooltip[2], "欢迎使用Tovrin")
        balloon = self.tray.wait_for(lambda e: e["event"] == "notify")
        self.assertIsNotNone(balloon, "no greeting through the notification service")
        self.assertEqual((balloon["summary"], balloon["body"]),
                         ("欢迎使用Tovrin", "单击本图标将显示/隐藏主程序"))

        # Left click hides and shows the window.
        self.click(item, "Activate")
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        self.click(item, "Activate")
        self.wait_until(self.shown, what="the window to come back")

        # Right click: the tray menu, its default item first ("隐藏窗口" while shown).
        self.open_menu(item)
        self.key("Down", "Return")
        self.wait_until(lambda: not self.shown(), what="the menu to hide the window")
        self.open_menu(item)
        self.key("Down", "Return")  # now "显示窗口"
        self.wait_until(self.shown, what="the menu to show the window")

        # The panel goes away while the window is hidden in it: the window comes back,
        # and the icon returns to a panel that starts again.
        self.click(item, "Activate")
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        self.tray.stop()
        self.wait_until(self.shown, what="the window to come back without a tray")
        type(self).tray = self.desktop.start_status_notifier_tray()
        item = self.registered_item()
        self.click(item, "Activate")
        self.wait_until(lambda: not self.shown(), what="the window to hide in the new tray")
        self.click(item, "Activate")
        self.wait_until(self.shown, what="the window to come back from the new tray")

        # "退出" removes the item and ends the program.
        since = len(self.tray.events)
        self.open_menu(item)
        self.key("Up", "Return")
        self.proc.wait(timeout=20)
        self.assertEqual(self.proc.returncode, 0)
        gone = self.tray.wait_for(lambda e: e["event"] == "unregistered", since=since)
        self.assertIsNotNone(gone, "the item stayed in the tray")


if __name__ == "__main__":
    unittest.main(verbosity=2)
