"""Start-up of the real program in a real X server with a window manager."""

import os
import re
import time
import unittest

from desktop import Desktop, stop_process
from recording_proxy import RecordingProxy
from support import CAPTION, ProgramTestCase, url


class StartsWithBuiltInPages(ProgramTestCase):
    def test_window_maps_with_caption_design_size_and_stays_on_top(self):
        self.assertEqual(self.desktop.xdo("getwindowname", self.wid), CAPTION)
        self.wait_for_outer_size(12030, 8595)
        self.assertIn("_NET_WM_STATE_ABOVE", self.net_wm_state())
        icon = self.wait_for_tray_icon()
        self.assertIsNotNone(icon)
        # The greeting balloon comes up once the first page is in.
        self.wait_until(lambda: self.program_windows() - {self.wid, icon},
                        what="the greeting balloon")

    def test_built_in_pages_request_nothing(self):
        time.sleep(1.0)
        self.assertEqual(self.proxy.addresses(), [])

    def test_query_box_starts_focused_with_its_prompt_selected(self):
        # The first key typed replaces the whole prompt.
        self.expect_request(lambda: (self.type_text("first"), self.key("Return")),
                            url("http://www.dreye.com.cn/ews/first--01--.html"))


class StartsWithTheMakersHost(ProgramTestCase):
    exe_variable = "TOVRIN_MAKER_EXE"

    def test_requests_exactly_the_advertisement_and_instruction_pages(self):
        expected = {"http://maker.tovrin.test/gengxin/ad.php",
                    "http://maker.tovrin.test/gengxin/instruction.html"}
        found = self.proxy.wait_for(lambda a: set(a) >= expected, timeout=20)
        self.assertEqual(set(found), expected)
        time.sleep(1.0)
        self.assertEqual(sorted(self.proxy.addresses()), sorted(expected))


class TypedBeforeTheEngineIsUp(unittest.TestCase):
    """A word typed the moment the window takes the keyboard, while the browser engine is
    still starting, is looked up whole, once."""

    def test_keys_typed_at_once_are_all_kept_and_enter_makes_one_request(self):
        exe = os.environ.get("TOVRIN_EXE")
        self.assertTrue(exe and os.path.exists(exe), "TOVRIN_EXE is not set to a built program")
        with RecordingProxy() as proxy, Desktop() as desktop:
            proc = desktop.start(exe, proxy.port, {"QT_LOGGING_RULES": "tovrin.startup.info=true\n"
                                                   "tovrin.browser.debug=true"})
            try:
                # Typed into as soon as the window holds the keyboard, without a pause.
                wid = desktop.find_window(CAPTION, poll=0.01)
                deadline = time.monotonic() + 20
                while desktop.xdo("getwindowfocus", check=False) != wid:
                    self.assertLess(time.monotonic(), deadline, "the window never became active")
                desktop.xdo("type", "--delay", "0", "whole")
                desktop.xdo("key", "Return")
                found = proxy.wait_for(lambda a: len(a) >= 1, timeout=20)
                time.sleep(2.0)  # anything more would come now
                desktop.stderr.seek(0)
                log = desktop.stderr.read().decode("utf-8", "replace")
                self.assertEqual(proxy.addresses(),
                                 [url("http://www.dreye.com.cn/ews/whole--01--.html")],
                                 "\n".join(l for l in log.splitlines() if l.startswith("tovrin.")))
                moments = dict(re.findall(r"tovrin\.startup: ([a-z ]+): (\d+) ms", log))
                print("\nready to type %s ms, first key %s ms, engine started %s ms, "
                      "first page %s ms" % (moments.get("ready to type"), moments.get("first key"),
                                            moments.get("engine started"),
                                            re.search(r"first page loaded \(\w+\): (\d+)", log).group(1)
                                            if "first page loaded" in log else None))
                self.assertTrue(found)
                # The window the keys went to is still the program's one window.
                self.assertEqual(desktop.xdo("search", "--name", "^%s$" % CAPTION).split(), [wid])
            finally:
                stop_process(proc)


if __name__ == "__main__":
    unittest.main(verbosity=2)
