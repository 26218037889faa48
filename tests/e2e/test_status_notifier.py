"""The tray on desktops whose panels speak the status-notifier protocol over D-Bus, with
no XEmbed notification area at all: Xfce's panel with its status tray plug-in, clicked
as a user clicks it, and a notification service of the test's own for the balloon."""

import re
import time
import unittest

from desktop import run, stop_process
from support import ProgramTestCase


class XfcePanel(ProgramTestCase):
    with_tray = False
    session_bus = True

    @classmethod
    def before_start(cls):
        cls.notifications = cls.desktop.start_status_notifier_tray(notifications_only=True)
        cls.desktop.start_xfce_panel()

    def shown(self):
        return self.map_state() == "IsViewable"

    def item(self):
        """The program's item, once the panel has registered it."""
        found = []
        self.wait_until(lambda: found.extend(self.notifications.watched_items()) or found,
                        what="the program's item in the panel")
        name, _, path = found[0].partition("/")
        return name, "/" + (path or "StatusNotifierItem")

    def click_icon(self, button):
        """Clicks the icon where the panel draws it: the first place of the status tray."""
        time.sleep(0.6)  # a settled window, and no double click
        panel = [w for w in self.desktop.xdo("search", "--onlyvisible", "--classname",
                                             "xfce4-panel", check=False).split()
                 if self.geometry(w)[2] > 40]
        self.assertTrue(panel, "no panel on the screen")
        x, y, w, h = self.geometry(panel[0])
        self.desktop.xdo("mousemove", str(x + 12), str(y + h // 2))
        self.desktop.xdo("click", str(button))

    def geometry(self, wid):
        info = run("xwininfo", "-id", wid, env=self.desktop.env, check=False).stdout
        value = lambda key: int(re.search(key + r":\s*(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"),
                value("Width"), value("Height"))

    def open_menu(self):
        before = set(self.desktop.xdo("search", "--onlyvisible", "--name", ".*", check=False).split())
        self.click_icon(3)
        self.wait_until(lambda: set(self.desktop.xdo("search", "--onlyvisible", "--name", ".*",
                                                     check=False).split()) - before,
                        what="the tray menu")
        time.sleep(0.3)

    def test_every_tray_behaviour_in_a_status_notifier_panel(self):
        item = self.item()
        tooltip = self.notifications.property(item, "ToolTip")
        self.assertEqual(tooltip[2], "欢迎使用Tovrin")
        balloon = self.notifications.wait_for(lambda e: e["event"] == "notify")
        self.assertIsNotNone(balloon, "no greeting through the notification service")
        self.assertEqual((balloon["summary"], balloon["body"]),
                         ("欢迎使用Tovrin", "单击本图标将显示/隐藏主程序"))

        # Left click hides and shows the window.
        self.click_icon(1)
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        self.click_icon(1)
        self.wait_until(self.shown, what="the window to come back")

        # Right click: the panel draws the tray menu; its first item hides and shows.
        self.open_menu()
        self.key("Down", "Return")
        self.wait_until(lambda: not self.shown(), what="the menu to hide the window")
        self.open_menu()
        self.key("Down", "Return")
        self.wait_until(self.shown, what="the menu to show the window")

        # The panel crashes while the window is hidden in it: the window comes back, and
        # the icon returns to the panel when it is started again.
        self.click_icon(1)
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        self.desktop.panel.kill()
        self.wait_until(self.shown, what="the window to come back without a panel")
        stop_process(self.desktop.panel)
        self.desktop.start_xfce_panel()
        self.item()
        self.click_icon(1)
        self.wait_until(lambda: not self.shown(), what="the window to hide in the new panel")
        self.click_icon(1)
        self.wait_until(self.shown, what="the window to come back from the new panel")

        # "退出", the menu's last item, ends the program and takes the icon away.
        self.open_menu()
        self.key("Up", "Return")
        self.proc.wait(timeout=20)
        self.assertEqual(self.proc.returncode, 0)
        self.wait_until(lambda: not self.notifications.watched_items(),
                        what="the item to leave the panel")


if __name__ == "__main__":
    unittest.main(verbosity=2)
