"""Start-up of the real program in a real X server with a window manager."""

import re
import time

from app import CAPTION, DESIGN_SIZE, url
from conftest import program_path
from desktop import Program
from harness import wait_for


class TestStartsWithBuiltInPages:
    keep_greeting = True

    def test_window_maps_with_caption_design_size_and_stays_on_top(self, app):
        assert app.screen.name(app.wid) == CAPTION
        app.wait_for_outer_size(*DESIGN_SIZE)
        assert "_NET_WM_STATE_ABOVE" in app.net_wm_state()
        icon = app.wait_for_tray_icon()
        # The greeting balloon comes up once the first page is in.
        app.wait_until(lambda: app.windows() - {app.wid, icon}, what="the greeting balloon")

    def test_built_in_pages_request_nothing(self, app):
        time.sleep(1.0)
        assert app.proxy.addresses() == []

    def test_query_box_starts_focused_with_its_prompt_selected(self, app):
        # The first key typed replaces the whole prompt.
        app.expect_request(lambda: (app.type_text("first"), app.key("Return")),
                           url("http://www.dreye.com.cn/ews/first--01--.html"))


class TestStartsWithTheMakersHost:
    exe = "TOVRIN_MAKER_EXE"

    def test_requests_exactly_the_advertisement_and_instruction_pages(self, app):
        expected = {"http://maker.tovrin.test/gengxin/ad.php",
                    "http://maker.tovrin.test/gengxin/instruction.html"}
        assert set(app.proxy.wait_for(lambda a: set(a) >= expected, timeout=20)) == expected
        time.sleep(1.0)
        assert sorted(app.proxy.addresses()) == sorted(expected)


def test_keys_typed_at_once_are_all_kept_and_enter_makes_one_request(x_desktop, proxy):
    """A word typed the moment the window takes the keyboard, while the browser engine is
    still starting, is looked up whole, once."""
    program = Program(x_desktop, program_path("TOVRIN_EXE"), proxy.port,
                      logging="tovrin.startup.info=true\ntovrin.browser.debug=true")
    # Typed into as soon as the window holds the keyboard, without a pause.
    wid = x_desktop.find_window(CAPTION, poll=0.01)
    screen = x_desktop.screen
    wait_for(lambda: screen.active_window() == wid, 20, "the window to become active", 0.005)
    x_desktop.xdo("type", "--delay", "0", "whole")
    x_desktop.xdo("key", "Return")
    found = proxy.wait_for(lambda a: len(a) >= 1, timeout=20)
    time.sleep(2.0)  # anything more would come now
    log = program.output()
    assert proxy.addresses() == [url("http://www.dreye.com.cn/ews/whole--01--.html")], \
        program.trace()
    moments = dict(re.findall(r"tovrin\.startup: ([a-z ]+): (\d+) ms", log))
    print("\nready to type %s ms, engine started %s ms" % (moments.get("ready to type"),
                                                         moments.get("engine started")))
    assert found
    # The window the keys went to is still the program's one window.
    assert screen.find(name=CAPTION) == [wid]
