"""The window as a screen reader sees it: the accessibility tree through AT-SPI, on the
desktop's own accessibility bus, with assistive technology switched on."""

import os
import unittest

import screen_reader
from support import CAPTION, NUMBER, ProgramTestCase, url

WORD_PROMPT = "请输入您要查询的内容，默认使用 ‘译典通’"
NOTICE = "欢迎大家提出宝贵意见和建议\n共同促进本软件的发展\n更好地为大家服务\nQQ:" + NUMBER


class ScreenReader(ProgramTestCase):
    session_bus = True

    @classmethod
    def before_start(cls):
        screen_reader.switch_on(cls.desktop.env)
        # The reader's side of the bus: this process, on the same desktop.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = cls.desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        os.environ["DISPLAY"] = cls.desktop.env["DISPLAY"]

    def find(self, tree, role, name):
        matches = screen_reader.showing(tree, role, name)
        self.assertEqual(len(matches), 1, "%s %r: %s" % (role, name, self.describe(tree)))
        return matches[0]

    @staticmethod
    def describe(tree):
        return "\n".join("  %s %r%s" % (r, n, "" if s else " (hidden)") for r, n, s, _ in tree)

    def test_every_control_is_named_and_a_site_button_works_through_its_action(self):
        window = screen_reader.find_window(CAPTION)
        self.assertIsNotNone(window, "the program's window never appeared on the accessibility bus")
        self.assertEqual(window.get_role_name(), "frame")
        tree = screen_reader.walk(window)

        query = self.find(tree, "text", WORD_PROMPT)
        self.find(tree, "combo box", "单词查询")
        self.find(tree, "text", "查询类别")
        for caption in ("百度 F1", "有道 F3", "CNKI*F12", "与我联系", "检查更新", "关闭广告"):
            self.find(tree, "push button", caption)
        # Every button that shows has a name, and the hidden rows are not announced.
        unnamed = [(r, n) for r, n, s, _ in tree if r == "push button" and s and not n.strip()]
        self.assertEqual(unnamed, [], self.describe(tree))
        self.assertNotIn("必应 F6", [n for r, n, s, _ in tree if r == "push button" and s])
        notice = self.find(tree, "text", "通知")
        self.assertEqual(notice.get_text(0, -1).replace("\r\n", "\n"), NOTICE)
        # The result page is a document inside its named view.
        result = self.find(tree, "filler", "查询结果")
        self.assertIn("document web", [r for r, n, s, _ in screen_reader.walk(result)])

        # A lookup as a screen reader user makes it: the word put into the box, and the
        # button pressed through its accessible action.
        query.set_text_contents("screen")
        button = self.find(tree, "push button", "有道 F3")
        self.expect_request(lambda: screen_reader.press(button),
                            url("http://dict.youdao.com/search?q=screen"))
        # The box keeps its name while it holds the user's text.
        self.assertEqual(query.get_name(), WORD_PROMPT)


if __name__ == "__main__":
    unittest.main(verbosity=2)
