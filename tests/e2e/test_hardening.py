"""Bad input and faults through the real window: the program stays up and usable."""

import os
import pwd
import subprocess
import tempfile
import time

from app import DESIGN_SIZE, px, url
from harness import files_below, renderer_pids


def paste(app, data):
    """Puts bytes on the clipboard and pastes them over the query box's text."""
    with tempfile.NamedTemporaryFile(delete=False) as f:
        f.write(data)
    try:
        subprocess.run(["xclip", "-selection", "clipboard", "-i", f.name],
                       env=app.desktop.env, check=True, timeout=30)
    finally:
        os.unlink(f.name)
    app.click(px(3000), px(180))  # selects the whole text
    app.key("ctrl+v")
    time.sleep(0.3)


class TestHardening:
    needs = ("xclip",)

    def test_1_bad_input_in_every_category_leaves_the_program_running(self, app):
        inputs = [
            b"x" * (1 << 20),                       # a 1 MB paste
            "汉".encode() * 300000,                 # about 1 MB of Chinese
            b"\xed\xa0\x80 \xed\xb0\x80 lone",      # surrogate halves, as a clipboard gives them
            b"a\x00b\x01c\x1b\x7f\td",               # NUL and other control characters
            b"http://long.test/" + b"y" * 10000,    # a 10,000-character address
            b"",                                    # an empty address
            b"javascript:alert(1)",
            b"javascript:confirm('leave?');prompt('x')",
            b"http://[::1",
            b"http://",
            b"::::",
            b"%",
            b"%E8%AF",
        ]
        tried = crashes = 0
        windows_before = app.windows()
        for category in (0, 1, 2, 3):
            app.choose_category(category)
            for data in inputs:
                paste(app, data)
                for key in ("Return", "F1", "F5", "F13"):
                    app.key(key)
                    tried += 1
                time.sleep(0.2)
                if app.proc.poll() is not None:
                    crashes += 1
                    break
            # The prompt, untouched.
            app.choose_category((category + 1) % 4)
            app.key("Return")
            tried += 1
        time.sleep(1.0)
        print("\nbad inputs tried: %d, crashes: %d" % (tried, crashes))
        assert crashes == 0
        app.alive_and_responsive()
        # No dialog of any kind came up.
        assert app.windows() - windows_before == set()
        # And the window still looks words up.
        app.choose_category(0)
        paste(app, b"after")
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=after"))

    def test_2_a_killed_renderer_is_replaced_in_place(self, app):
        app.choose_category(0)
        paste(app, b"renderer")
        address = url("http://dict.youdao.com/search?q=renderer")
        app.expect_request(lambda: app.key("F3"), address)
        app.wait_loaded(address)  # its renderer is the page's own by then
        victims = renderer_pids(app.proc.pid)
        assert victims, "no renderer process found"
        # The view reloads its page in a new renderer.
        app.expect_request(lambda: app.kill_renderers(victims), address)
        app.alive_and_responsive()
        app.expect_request(lambda: app.key("F1"), url("http://dict.baidu.com/s?wd=renderer"))

    def test_3_the_program_writes_nothing_under_home(self, app):
        # $HOME, and the account's own home, where some libraries (the graphics drivers'
        # shader caches among them) look instead.
        written = files_below(app.desktop.program_home)
        account_home = pwd.getpwuid(os.getuid()).pw_dir
        for place in (".cache", ".config", ".local", ".pki", "Downloads"):
            written += files_below(os.path.join(account_home, place), newer_than=app.started)
        assert written == []


class TestNoNetworkAndMakerHostDown:
    """Every connection is refused: the maker's pages and every service fail to load."""
    exe = "TOVRIN_MAKER_EXE"
    refuse = True

    def test_start_up_completes_and_every_control_works(self, app):
        app.wait_for_outer_size(*DESIGN_SIZE)
        app.wait_for_tray_icon()
        # Lookups are still sent on their way.
        app.type_text("word")
        app.expect_request(lambda: app.key("Return"),
                            url("http://www.dreye.com.cn/ews/word--01--.html"))
        app.expect_request(lambda: app.click_twips(5565, 7100, 900, 375),  # 检查更新
                            "http://maker.tovrin.test/gengxin/cidiangengxin.html")
        app.click_twips(5565, 7595, 900, 375)  # 关闭广告
        app.wait_until(lambda: app.outer_size()[1] == px(7300), what="the strip to close")
        app.click_tray(1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        app.click_tray(1)
        app.wait_until(lambda: app.shown(), what="the window back")
        assert app.proc.poll() is None

