"""The window in a real desktop: tray icon, tray menu, stay-on-top, minimize, resize,
the maker's strip and exit, driven by real clicks and keys."""

import time
import unittest

from desktop import stop_process
from support import ProgramTestCase, px


class WithNotificationArea(ProgramTestCase):
    def shown(self):
        return self.map_state() == "IsViewable"

    def open_tray_menu(self):
        time.sleep(0.5)  # let the window settle: a focus change closes a pop-up menu
        before = self.program_windows()
        self.click_tray(3)
        self.wait_until(lambda: self.program_windows() - before, what="the tray menu")
        time.sleep(0.2)

    def test_1_minimizing_at_start_sends_the_window_to_the_tray(self):
        self.desktop.xdo("windowminimize", self.wid)
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        self.wait_until(lambda: self.wm_state() == "Withdrawn", what="a withdrawn window")
        self.click_tray(1)
        self.wait_until(self.shown, what="the window to come back")
        self.wait_until(lambda: self.wm_state() == "Normal", what="the normal state")

    def test_2_once_shown_from_the_tray_minimizing_keeps_it_on_the_taskbar(self):
        self.desktop.xdo("windowminimize", self.wid)
        self.wait_until(lambda: self.wm_state() == "Iconic", what="the iconic state")
        time.sleep(0.5)
        self.assertEqual(self.wm_state(), "Iconic")
        self.click_tray(1)
        self.wait_until(lambda: self.shown() and self.wm_state() == "Normal",
                        what="the window to come back")

    def test_3_left_click_on_the_icon_hides_and_shows_the_window(self):
        self.assertIsNotNone(self.wait_for_tray_icon())
        self.click_tray(1)
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        self.click_tray(1)
        self.wait_until(self.shown, what="the window to come back")
        self.wait_for_outer_size(12030, 8595)

    def test_4_menu_switches_the_stay_on_top_state(self):
        self.assertIn("_NET_WM_STATE_ABOVE", self.net_wm_state())
        self.open_tray_menu()
        self.key("Down", "Down", "Return")  # "取消置顶"
        self.wait_until(lambda: "_NET_WM_STATE_ABOVE" not in self.net_wm_state(),
                        what="the window to leave the above state")
        self.assertTrue(self.shown())
        self.open_tray_menu()
        self.key("Down", "Down", "Return")  # now "窗口置顶"
        self.wait_until(lambda: "_NET_WM_STATE_ABOVE" in self.net_wm_state(),
                        what="the window to stay on top again")
        self.assertTrue(self.shown())

    def test_5_resizing_below_the_minimum_ends_at_the_minimum(self):
        self.desktop.xdo("windowsize", self.wid, "500", "300")
        time.sleep(0.5)
        self.wait_for_outer_size(12030, 8595)
        self.desktop.xdo("windowsize", self.wid, "900", "700")
        self.wait_until(lambda: self.outer_size()[0] > px(12030), what="a larger window")

    def test_6_closing_the_strip_leaves_the_window_7300_twips_high(self):
        self.desktop.xdo("windowsize", self.wid, str(px(12030) - 2), str(px(8595) - 25))
        self.wait_for_outer_size(12030, 8595)
        self.click_twips(5565, 7595, 900, 375)  # "关闭广告"
        self.wait_for_outer_size(12030, 7300)
        # The closed strip keeps the smaller minimum: the window can grow and shrink again.
        self.desktop.xdo("windowsize", self.wid, "900", "700")
        self.wait_until(lambda: self.outer_size()[1] > px(7300), what="a taller window")
        self.desktop.xdo("windowsize", self.wid, "900", "300")
        self.wait_until(lambda: self.outer_size()[1] == px(7300), what="7300 twips again")

    def test_7_exit_removes_the_icon_and_ends_the_program(self):
        self.open_tray_menu()
        self.key("Up", "Return")  # the last item, "退出"
        self.proc.wait(timeout=20)
        self.assertEqual(self.proc.returncode, 0)
        self.assertIsNone(self.tray_icon())


class NotificationAreaGoesAway(ProgramTestCase):
    def shown(self):
        return self.map_state() == "IsViewable"

    def test_a_tray_that_goes_away_gives_the_window_back_and_returns(self):
        self.assertIsNotNone(self.wait_for_tray_icon())
        self.click_tray(1)
        self.wait_until(lambda: not self.shown(), what="the window to hide")
        stop_process(self.desktop.tray)  # the panel crashes
        self.wait_until(self.shown, what="the window to come back without a tray")
        self.desktop.start_tray()  # and is started again: the icon comes back
        self.assertIsNotNone(self.wait_for_tray_icon(), "no icon in the new tray")
        self.click_tray(1)
        self.wait_until(lambda: not self.shown(), what="the window to hide again")
        self.click_tray(1)
        self.wait_until(self.shown, what="the window back from the new tray")


class UpdatePageFromTheMakersHost(ProgramTestCase):
    exe_variable = "TOVRIN_MAKER_EXE"

    def test_update_button_loads_the_page_each_time_and_switches_back(self):
        self.proxy.wait_for(lambda a: len(a) >= 2)
        update = "http://maker.tovrin.test/gengxin/cidiangengxin.html"
        button = (5565, 7100, 900, 375)
        click = lambda: self.click_twips(*button)  # noqa: E731
        self.expect_request(click, update)
        self.expect_no_request(click)   # "返回": back to the notice
        self.expect_request(click, update)


class WithoutNotificationArea(ProgramTestCase):
    with_tray = False

    def test_minimizing_keeps_the_window_within_reach(self):
        self.assertIsNone(self.tray_icon())
        self.desktop.xdo("windowminimize", self.wid)
        self.wait_until(lambda: self.wm_state() == "Iconic", what="the iconic state")
        time.sleep(0.5)
        self.assertEqual(self.wm_state(), "Iconic")  # not withdrawn: the taskbar keeps it
        self.desktop.xdo("windowactivate", self.wid)
        self.wait_until(lambda: self.map_state() == "IsViewable", what="the window back")


if __name__ == "__main__":
    unittest.main(verbosity=2)
