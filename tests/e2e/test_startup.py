"""Start-up of the real program in a real X server with a window manager."""

import time
import unittest

from support import CAPTION, ProgramTestCase


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
                            "http://www.dreye.com.cn/ews/first--01--.html")


class StartsWithTheMakersHost(ProgramTestCase):
    exe_variable = "TOVRIN_MAKER_EXE"

    def test_requests_exactly_the_advertisement_and_instruction_pages(self):
        expected = {"http://maker.tovrin.test/gengxin/ad.php",
                    "http://maker.tovrin.test/gengxin/instruction.html"}
        found = self.proxy.wait_for(lambda a: set(a) >= expected, timeout=20)
        self.assertEqual(set(found), expected)
        time.sleep(1.0)
        self.assertEqual(sorted(self.proxy.addresses()), sorted(expected))


if __name__ == "__main__":
    unittest.main(verbosity=2)
