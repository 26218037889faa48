"""Bad input and faults through the real window: the program stays up and usable."""

import os
import pwd
import subprocess
import tempfile
import time
import unittest

from desktop import run
from support import ProgramTestCase, px, renderer_pids, url


class Hardening(ProgramTestCase):

    def paste(self, data):
        """Puts bytes on the clipboard and pastes them over the query box's text."""
        with tempfile.NamedTemporaryFile(delete=False) as f:
            f.write(data)
        try:
            subprocess.run(["xclip", "-selection", "clipboard", "-i", f.name],
                           env=self.desktop.env, check=True, timeout=30)
        finally:
            os.unlink(f.name)
        self.click(px(3000), px(180))  # selects the whole text
        self.key("ctrl+v")
        time.sleep(0.3)

    def test_1_bad_input_in_every_category_leaves_the_program_running(self):
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
        windows_before = self.program_windows()
        for category in (0, 1, 2, 3):
            self.choose_category(category)
            for data in inputs:
                self.paste(data)
                for key in ("Return", "F1", "F5", "F13"):
                    self.key(key)
                    tried += 1
                time.sleep(0.2)
                if self.proc.poll() is not None:
                    crashes += 1
                    break
            # The prompt, untouched.
            self.choose_category((category + 1) % 4)
            self.key("Return")
            tried += 1
        time.sleep(1.0)
        print("\nbad inputs tried: %d, crashes: %d" % (tried, crashes))
        self.assertEqual(crashes, 0)
        self.alive_and_responsive()
        # No dialog of any kind came up.
        self.assertEqual(self.program_windows() - windows_before, set())
        # And the window still looks words up.
        self.choose_category(0)
        self.paste(b"after")
        self.expect_request(lambda: self.key("F3"), url("http://dict.youdao.com/search?q=after"))

    def test_2_a_killed_renderer_is_replaced_in_place(self):
        self.choose_category(0)
        self.paste(b"renderer")
        address = url("http://dict.youdao.com/search?q=renderer")
        self.expect_request(lambda: self.key("F3"), address)
        self.wait_loaded(address)  # its renderer is the page's own by then
        victims = renderer_pids(self.proc.pid)
        self.assertTrue(victims, "no renderer process found")
        # The view reloads its page in a new renderer.
        self.expect_request(lambda: self.kill_renderers(victims), address)
        self.alive_and_responsive()
        self.expect_request(lambda: self.key("F1"), url("http://dict.baidu.com/s?wd=renderer"))

    def test_3_the_program_writes_nothing_under_home(self):
        # $HOME, and the account's own home, where some libraries (the graphics drivers'
        # shader caches among them) look instead.
        written = []
        for root, dirs, files in os.walk(self.desktop.program_home):
            written += [os.path.join(root, f) for f in files]
        account_home = pwd.getpwuid(os.getuid()).pw_dir
        for place in (".cache", ".config", ".local", ".pki", "Downloads"):
            for root, dirs, files in os.walk(os.path.join(account_home, place)):
                for f in files:
                    path = os.path.join(root, f)
                    try:
                        if os.stat(path).st_mtime >= self.started:
                            written.append(path)
                    except OSError:
                        pass
        self.assertEqual(written, [])


class NoNetworkAndMakerHostDown(ProgramTestCase):
    """Every connection is refused: the maker's pages and every service fail to load."""
    exe_variable = "TOVRIN_MAKER_EXE"
    refuse = True

    def test_start_up_completes_and_every_control_works(self):
        self.wait_for_outer_size(12030, 8595)
        self.assertIsNotNone(self.wait_for_tray_icon())
        # Lookups are still sent on their way.
        self.type_text("word")
        self.expect_request(lambda: self.key("Return"),
                            url("http://www.dreye.com.cn/ews/word--01--.html"))
        self.expect_request(lambda: self.click_twips(5565, 7100, 900, 375),  # 检查更新
                            "http://maker.tovrin.test/gengxin/cidiangengxin.html")
        self.click_twips(5565, 7595, 900, 375)  # 关闭广告
        self.wait_until(lambda: self.outer_size()[1] == px(7300), what="the strip to close")
        self.click_tray(1)
        self.wait_until(lambda: self.map_state() != "IsViewable", what="the window to hide")
        self.click_tray(1)
        self.wait_until(lambda: self.map_state() == "IsViewable", what="the window back")
        self.assertIsNone(self.proc.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
