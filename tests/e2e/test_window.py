"""The window in a real desktop: tray icon, tray menu, stay-on-top, minimize, resize,
the maker's strip and exit, driven by real clicks and keys."""

import time

from app import DESIGN_SIZE, px, url
from harness import stop_process


class TestWithNotificationArea:
    def test_1_minimizing_at_start_sends_the_window_to_the_tray(self, app):
        app.xdo("windowminimize", app.wid)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        app.wait_until(lambda: app.wm_state() == "Withdrawn", what="a withdrawn window")
        app.click_tray(1)
        app.wait_until(app.shown, what="the window to come back")
        app.wait_until(lambda: app.wm_state() == "Normal", what="the normal state")

    def test_2_once_shown_from_the_tray_minimizing_keeps_it_on_the_taskbar(self, app):
        app.query("abc")
        app.key("Left")  # the caret inside the word, nothing selected
        app.xdo("windowminimize", app.wid)
        app.wait_until(lambda: app.wm_state() == "Iconic", what="the iconic state")
        time.sleep(0.5)
        assert app.wm_state() == "Iconic"
        app.click_tray(1)
        app.wait_until(lambda: app.shown() and app.wm_state() == "Normal",
                       what="the window to come back")
        # Brought back by the program: the whole query is selected, ready for a new word.
        app.wait_until(lambda: app.screen.active_window() == app.wid, what="the window active")
        app.type_text("new")
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=new"))

    def test_3_left_click_on_the_icon_hides_and_shows_the_window(self, app):
        app.click_tray(1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        app.click_tray(1)
        app.wait_until(app.shown, what="the window to come back")
        app.wait_for_outer_size(*DESIGN_SIZE)

    def test_4_menu_switches_the_stay_on_top_state(self, app):
        assert "_NET_WM_STATE_ABOVE" in app.net_wm_state()
        app.open_tray_menu()
        app.key("Down", "Down", "Return")  # "取消置顶"
        app.wait_until(lambda: "_NET_WM_STATE_ABOVE" not in app.net_wm_state(),
                       what="the window to leave the above state")
        assert app.shown()
        app.open_tray_menu()
        app.key("Down", "Down", "Return")  # now "窗口置顶"
        app.wait_until(lambda: "_NET_WM_STATE_ABOVE" in app.net_wm_state(),
                       what="the window to stay on top again")
        assert app.shown()

    def test_5_resizing_below_the_minimum_ends_at_the_minimum(self, app):
        app.xdo("windowsize", app.wid, 500, 300)
        time.sleep(0.5)
        app.wait_for_outer_size(*DESIGN_SIZE)
        app.xdo("windowsize", app.wid, 900, 700)
        app.wait_until(lambda: app.outer_size()[0] > px(12030), what="a larger window")

    def test_6_closing_the_strip_leaves_the_window_7300_twips_high(self, app):
        app.xdo("windowsize", app.wid, px(12030) - 2, px(8595) - 25)
        app.wait_for_outer_size(*DESIGN_SIZE)
        app.click_twips(5565, 7595, 900, 375)  # "关闭广告"
        app.wait_for_outer_size(12030, 7300)
        # The closed strip keeps the smaller minimum: the window can grow and shrink again.
        app.xdo("windowsize", app.wid, 900, 700)
        app.wait_until(lambda: app.outer_size()[1] > px(7300), what="a taller window")
        app.xdo("windowsize", app.wid, 900, 300)
        app.wait_until(lambda: app.outer_size()[1] == px(7300), what="7300 twips again")

    def test_7_exit_removes_the_icon_and_ends_the_program(self, app):
        app.open_tray_menu()
        app.key("Up", "Return")  # the last item, "退出"
        assert app.proc.wait(timeout=20) == 0
        assert app.tray_icon() is None


class TestNotificationAreaGoesAway:
    def test_a_tray_that_goes_away_gives_the_window_back_and_returns(self, app):
        app.click_tray(1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        stop_process(app.desktop.tray)  # the panel crashes
        app.wait_until(app.shown, what="the window to come back without a tray")
        app.desktop.start_tray()  # and is started again: the icon comes back
        app.click_tray(1)
        app.wait_until(lambda: not app.shown(), what="the window to hide again")
        app.click_tray(1)
        app.wait_until(app.shown, what="the window back from the new tray")


class TestUpdatePageFromTheMakersHost:
    exe = "TOVRIN_MAKER_EXE"

    def test_update_button_loads_the_page_each_time_and_switches_back(self, app):
        app.proxy.wait_for(lambda a: len(a) >= 2)
        update = "http://maker.tovrin.test/gengxin/cidiangengxin.html"
        click = lambda: app.click_twips(5565, 7100, 900, 375)  # noqa: E731
        app.expect_request(click, update)
        app.expect_no_request(click)   # "返回": back to the notice
        app.expect_request(click, update)


class TestWithoutNotificationArea:
    with_tray = False

    def test_minimizing_keeps_the_window_within_reach(self, app):
        assert app.tray_icon() is None
        app.xdo("windowminimize", app.wid)
        app.wait_until(lambda: app.wm_state() == "Iconic", what="the iconic state")
        time.sleep(0.5)
        assert app.wm_state() == "Iconic"  # not withdrawn: the taskbar keeps it
        app.xdo("windowactivate", app.wid)
        app.wait_until(app.shown, what="the window back")
