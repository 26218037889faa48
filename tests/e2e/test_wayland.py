"""The program in a Wayland session: a headless compositor, with and without XWayland,
a status-notifier tray on the session bus, and the recording proxy."""

import os
import re
import signal
import subprocess
import time

import pytest

from app import CAPTION, url
from conftest import program_path
from desktop import FakeX11Display, Program, bus_has
from harness import process_tree, wait_for

MAKER_PAGES = {"http://maker.tovrin.test/gengxin/ad.php",
               "http://maker.tovrin.test/gengxin/instruction.html"}
HERE = os.path.dirname(os.path.abspath(__file__))


@pytest.mark.parametrize("xwayland", [True, False], ids=["with XWayland", "Wayland alone"])
def test_wayland_session(wayland_session, proxy, xwayland):
    session = wayland_session(xwayland)
    # With XWayland the program prefers it: the window is designed to start centred and
    # on top, which only X11 lets a window ask for. Wayland alone, as a user who chose it
    # gets it: no X11 call of any kind, even with an X display named in the environment.
    x11 = None if xwayland else FakeX11Display()
    extra = {} if xwayland else {"QT_QPA_PLATFORM": "wayland", "DISPLAY": x11.display}
    try:
        program = Program(session, program_path("TOVRIN_MAKER_EXE"), proxy.port, extra,
                          logging="tovrin.startup.info=true\ntovrin.window.debug=true")
        check_session(program, proxy, session, "xcb" if xwayland else "wayland")
        if x11:
            assert x11.connections == 0, "the program connected to an X display"
    finally:
        if x11:
            x11.close()


def check_session(program, proxy, session, platform):
    trace = lambda: program.output()[-3000:]  # noqa: E731
    # It lives, on the platform expected, and loads its first pages through the proxy.
    found = proxy.wait_for(lambda a: set(a) >= MAKER_PAGES, timeout=30)
    assert set(found or []) == MAKER_PAGES, trace()
    assert program.proc.poll() is None, "the program has ended"
    assert re.search(r"application: \d+ ms on %s\n" % platform, program.output()), trace()

    # It looks words up (driven as a screen reader drives it: no input can be injected
    # into a Wayland session).
    since = proxy.count()
    subprocess.run(["/usr/bin/python3", os.path.join(HERE, "screen_reader.py"), CAPTION,
                    "请输入您要查询的内容，默认使用 ‘译典通’", "wayland", "有道 F3"],
                   env=session.env, check=True, timeout=60)
    found = proxy.wait_for(lambda a: len(a) >= 1, timeout=15, since=since)
    assert found == [url("http://dict.youdao.com/search?q=wayland")], trace()

    # Its icon is in the tray, which hides and shows the window.
    item = session.tray.registered_item()
    for state in ("hidden", "shown"):
        since = program.output().count("\n")
        time.sleep(0.5)
        session.tray.click(item, "Activate")
        wait_for(lambda: ("tovrin.window: " + state) in program.output().split("\n", since)[-1],
                 15, lambda: "the window to be %s\n%s" % (state, trace()))

    # It ends cleanly when the session asks it to: its icon and its engine go with it.
    engine = process_tree(program.pid)[1:]
    assert engine, "no browser engine processes"
    program.proc.send_signal(signal.SIGTERM)
    assert program.proc.wait(timeout=20) == 0
    wait_for(lambda: not bus_has(session.env, item[0]), 15, "the icon to leave the tray")
    wait_for(lambda: not [p for p in engine if os.path.exists("/proc/%d" % p)], 15,
             lambda: "the engine's processes to end\n" + trace())
