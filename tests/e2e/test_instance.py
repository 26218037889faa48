"""One Tovrin a session: later launches hand their words (or the selection) to the running
window and end; a crash blocks nothing; each session has its own program."""

import glob
import os
import signal
import socket
import subprocess
import time

from app import CAPTION, url, wire
from conftest import program_path
from desktop import Program, XDesktop
from harness import process_tree, program_env, wait_for


def dreye(words):
    return url("http://www.dreye.com.cn/ews/%s--01--.html" % wire(words))


def launch(desktop, proxy, *args, env=None, timeout=10):
    """A later launch, as a launcher or a desktop shortcut starts it; it ends by itself."""
    launch_env = dict(program_env(desktop.env, proxy.port, desktop.program_home), **(env or {}))
    command = [os.fsencode(program_path("TOVRIN_EXE"))] + [
        a if isinstance(a, bytes) else os.fsencode(a) for a in args]
    return subprocess.run(command, env=launch_env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=timeout)


def endpoint(desktop):
    return glob.glob(os.path.join(desktop.env["XDG_RUNTIME_DIR"], "tovrin-*.socket"))[0]


def select(desktop, which, text):
    """Sets the primary selection or the clipboard, as a program the user selects in."""
    subprocess.run(["xclip", "-selection", which, "-i"], input=text.encode(), env=desktop.env,
                   check=True, timeout=10)


class TestOneProgramASession:
    needs = ("xclip",)

    def test_1_a_second_launch_brings_the_hidden_window_back(self, app):
        engine = len(process_tree(app.proc.pid))
        app.click_tray(1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        assert launch(app.desktop, app.proxy).returncode == 0
        app.wait_until(lambda: app.shown() and app.screen.active_window() == app.wid,
                       what="the window back and active")
        assert app.screen.find(name=CAPTION) == [app.wid]
        assert len(app.screen.tray_icons()) == 1
        assert len(process_tree(app.proc.pid)) == engine  # no second engine anywhere

    def test_2_words_are_handed_over_and_left_selected(self, app):
        for args, words in ((["apple"], "apple"), (["two", "words"], "two words"),
                            (["词典"], "词典")):
            app.expect_request(lambda: launch(app.desktop, app.proxy, *args), dreye(words))
        app.type_text("next")  # the box holds the words wholly selected
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=next"))
        # A category first, as a click in the selector, and a word that starts with "-".
        app.expect_request(lambda: launch(app.desktop, app.proxy, "--category", "4", "--", "-v"),
                           url("http://www.baidu.com/s?wd=-v"))
        app.category = 3
        app.choose_category(0)

    def test_3_the_selection_else_the_clipboard_else_only_the_window(self, app):
        select(app.desktop, "clipboard", "")
        select(app.desktop, "primary", "  selected  ")
        app.expect_request(lambda: launch(app.desktop, app.proxy, "--selection"),
                           dreye("selected"))
        select(app.desktop, "primary", "")
        select(app.desktop, "clipboard", "copied")
        app.expect_request(lambda: launch(app.desktop, app.proxy, "--selection"), dreye("copied"))
        select(app.desktop, "clipboard", "")
        other = app.screen.open_window()
        app.wait_until(lambda: app.screen.active_window() == other, what="another window active")
        app.expect_no_request(lambda: launch(app.desktop, app.proxy, "--selection"))
        app.wait_until(lambda: app.screen.active_window() == app.wid, what="the window forward")

    def test_4_junk_a_cut_off_frame_a_huge_one_and_silence_hold_nothing_up(self, app):
        clients = []
        for sent in (b"GET / HTTP/1.0\r\n\r\n", b"TOVR\x01\x00\x00\x00\x10w\x00",
                     b"TOVR\x01\x00\x10\x00\x00" + b"w" * 4096, b""):
            client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            client.connect(endpoint(app.desktop))
            client.sendall(sent)
            clients.append(client)  # the last says nothing, and none hangs up
        started = time.monotonic()
        app.expect_request(lambda: launch(app.desktop, app.proxy, "still"), dreye("still"))
        assert time.monotonic() - started < 1.5
        app.wait_until(lambda: app.trace().count("request dropped") >= 4, 5,
                       what="each bad client dropped")
        for client in clients:
            client.close()

    def test_5_the_launchs_startup_id_goes_on_the_window(self, app):
        startup_id = "tovrin-test-%d_TIME1234" % os.getpid()
        assert launch(app.desktop, app.proxy, env={"DESKTOP_STARTUP_ID": startup_id}).returncode == 0
        app.wait_until(lambda: app.screen.utf8_property(app.wid, "_NET_STARTUP_ID") == startup_id,
                       what="the startup id on the window")


def test_refused_words_and_a_program_that_does_not_answer_end_with_a_message(x_desktop, proxy):
    refused = launch(x_desktop, proxy, b"\xffword")
    assert refused.returncode != 0 and b"UTF-8" in refused.stderr
    program = Program(x_desktop, program_path("TOVRIN_EXE"), proxy.port)
    x_desktop.find_window(CAPTION)
    wait_for(lambda: glob.glob(os.path.join(x_desktop.env["XDG_RUNTIME_DIR"], "*.socket")), 10,
             "the endpoint")
    program.proc.send_signal(signal.SIGSTOP)
    try:
        started = time.monotonic()
        stopped = launch(x_desktop, proxy, "word")
        assert stopped.returncode != 0 and b"did not answer" in stopped.stderr
        assert time.monotonic() - started < 3
    finally:
        program.proc.send_signal(signal.SIGCONT)


def test_after_a_crash_two_launches_at_once_give_one_program(x_desktop, proxy):
    first = Program(x_desktop, program_path("TOVRIN_EXE"), proxy.port)
    x_desktop.find_window(CAPTION)
    wait_for(lambda: glob.glob(os.path.join(x_desktop.env["XDG_RUNTIME_DIR"], "*.socket")), 10,
             "the endpoint")
    os.kill(first.pid, signal.SIGKILL)
    first.proc.wait()
    wait_for(lambda: not x_desktop.screen.find(name=CAPTION), 10, "the window gone")
    both = [Program(x_desktop, program_path("TOVRIN_EXE"), proxy.port, args=["once"])
            for _ in range(2)]
    proxy.wait_for(lambda a: dreye("once") in a, 30)
    time.sleep(2.0)
    assert len(x_desktop.screen.find(name=CAPTION)) == 1
    assert sorted(p.proc.poll() is None for p in both) == [False, True]
    assert [p.proc.returncode for p in both if p.proc.poll() is not None] == [0]


def test_each_session_has_its_own_program(x_desktop, proxy):
    with XDesktop() as other:
        programs = [Program(d, program_path("TOVRIN_EXE"), proxy.port) for d in (x_desktop, other)]
        for d in (x_desktop, other):
            d.find_window(CAPTION)
        assert all(p.proc.poll() is None for p in programs)


def test_started_with_words_the_lookup_is_the_first_page(x_desktop, proxy):
    Program(x_desktop, program_path("TOVRIN_MAKER_EXE"), proxy.port, args=["first"])
    advertisement = "http://maker.tovrin.test/gengxin/ad.php"
    found = proxy.wait_for(lambda a: advertisement in a, 30)
    assert found[0] == dreye("first")
    assert "http://maker.tovrin.test/gengxin/instruction.html" not in proxy.addresses()
