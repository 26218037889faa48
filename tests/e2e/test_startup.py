"""Start-up of the real program in a real X server with a window manager."""

import re
import subprocess
import time

import pytest

from app import CAPTION, DESIGN_SIZE, px, url
from conftest import program_path
from desktop import Program
from harness import wait_for


class TestStartsWithBuiltInPages:
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


@pytest.mark.parametrize("busy", [False, True], ids=["idle", "the other core busy"])
def test_window_starts_centred_on_every_start(x_desktop, proxy, busy):
    """Twenty starts in a row: each time the window is first seen at its design size, its
    frame is centred in the work area."""
    screen = x_desktop.screen
    hog = subprocess.Popen(["sh", "-c", "while :; do :; done"]) if busy else None
    try:
        seen = []
        for _ in range(20):
            program = Program(x_desktop, program_path("TOVRIN_EXE"), proxy.port)
            wid = x_desktop.find_window(CAPTION, poll=0.02)
            wait_for(lambda: screen.active_window() == wid
                     and screen.outer_size(wid) == (px(DESIGN_SIZE[0]), px(DESIGN_SIZE[1])),
                     20, lambda: "the window active at its design size\n" + program.trace(),
                     0.01)
            x, y, w, h = screen.frame_geometry(wid)
            seen.append((x + w / 2, y + h / 2))
            program.proc.terminate()
            assert program.proc.wait(20) == 0
        ax, ay, aw, ah = screen.work_area()
        off = [(cx, cy) for cx, cy in seen
               if abs(cx - (ax + aw / 2)) > 2 or abs(cy - (ay + ah / 2)) > 2]
        assert off == [], "frame centres off the work area's centre %s" % ((ax + aw / 2, ay + ah / 2),)
    finally:
        if hog:
            hog.kill()


def by(balloon, icon):
    """Whether a balloon stands beside an icon: apart from it by a few pixels on one axis,
    and overlapping it on the other."""
    (bx, by_, bw, bh), (ix, iy, iw, ih) = balloon, icon
    gap_x = max(bx - (ix + iw), ix - (bx + bw))
    gap_y = max(by_ - (iy + ih), iy - (by_ + bh))
    return (0 <= gap_x <= 8 and gap_y < 0) or (0 <= gap_y <= 8 and gap_x < 0)


# Where an XEmbed panel can put the icon: each edge, the icon at a corner or along an edge.
TRAYS = [("bottom", "right", 0), ("bottom", "left", 0), ("top", "right", 0), ("top", "left", 300),
         ("left", "left", 300), ("left", "right", 0), ("right", "right", 200)]


@pytest.mark.desktop(with_tray=False)
@pytest.mark.parametrize("edge,align,margin", TRAYS)
def test_greeting_balloon_stands_by_its_icon(x_desktop, proxy, edge, align, margin):
    x_desktop.start_tray(edge, align, margin)
    program = Program(x_desktop, program_path("TOVRIN_EXE"), proxy.port)
    screen = x_desktop.screen
    wid = x_desktop.find_window(CAPTION)
    icon = wait_for(lambda: screen.tray_icons(), 15, "the tray icon")[0]
    balloon = wait_for(lambda: set(screen.find(wm_class="tovrin")) - {wid, icon}, 15,
                       lambda: "the greeting balloon\n" + program.trace())
    assert len(balloon) == 1
    balloon = balloon.pop()
    # A panel still settling at its edge moves the icon; the balloon follows it.
    wait_for(lambda: by(screen.geometry(balloon), screen.geometry(icon)), 3,
             lambda: "balloon %s, icon %s" % (screen.geometry(balloon), screen.geometry(icon)))
    x, y, w, h = screen.geometry(balloon)
    width, height = screen.geometry(screen.root)[2:]
    assert x >= 0 and y >= 0 and x + w <= width and y + h <= height
