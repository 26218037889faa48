"""The tray on desktops whose panels speak the status-notifier protocol over D-Bus, with
no XEmbed notification area at all: Xfce's panel with its status tray plug-in, clicked
as a user clicks it, and a notification service of the test's own for the balloon."""

import time

from desktop import item_address
from harness import stop_process


def item(app):
    """The program's item, once the panel has registered it."""
    return item_address(app.wait_until(app.desktop.notifications.watched_items,
                                       what="the program's item in the panel")[0])


def click_icon(app, button):
    """Clicks the icon where the panel draws it: the first place of the status tray."""
    time.sleep(0.6)  # a settled window, and no double click
    panel = app.wait_until(lambda: [w for w in app.windows("xfce4-panel")
                                    if app.screen.geometry(w)[2] > 40], what="the panel")
    x, y, w, h = app.screen.geometry(panel[0])
    app.xdo("mousemove", x + 12, y + h // 2)
    app.xdo("click", button)


class TestXfcePanel:
    desktop = "xfce"
    with_tray = False

    def test_every_tray_behaviour_in_a_status_notifier_panel(self, app):
        notifications = app.desktop.notifications
        assert notifications.property(item(app), "ToolTip")[2] == "欢迎使用Tovrin"
        balloons = app.wait_until(notifications.notifications,
                                  what="a greeting through the notification service")
        assert balloons == [("欢迎使用Tovrin", "单击本图标将显示/隐藏主程序")]

        # Left click hides and shows the window.
        click_icon(app, 1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        click_icon(app, 1)
        app.wait_until(app.shown, what="the window to come back")

        # Right click: the panel draws the tray menu; its first item hides and shows.
        menu = lambda: app.open_tray_menu(lambda: click_icon(app, 3), None)  # noqa: E731
        menu()
        app.key("Down", "Return")
        app.wait_until(lambda: not app.shown(), what="the menu to hide the window")
        menu()
        app.key("Down", "Return")
        app.wait_until(app.shown, what="the menu to show the window")

        # The panel crashes while the window is hidden in it: the window comes back, and
        # the icon returns to the panel when it is started again.
        click_icon(app, 1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        app.desktop.panel.kill()
        app.wait_until(app.shown, what="the window to come back without a panel")
        stop_process(app.desktop.panel)
        app.desktop.start_xfce_panel()
        item(app)
        click_icon(app, 1)
        app.wait_until(lambda: not app.shown(), what="the window to hide in the new panel")
        click_icon(app, 1)
        app.wait_until(app.shown, what="the window to come back from the new panel")

        # "退出", the menu's last item, ends the program and takes the icon away.
        menu()
        app.key("Up", "Return")
        assert app.proc.wait(timeout=20) == 0
        app.wait_until(lambda: not notifications.watched_items(),
                       what="the item to leave the panel")
