"""The window as a screen reader sees it: the accessibility tree through AT-SPI, on the
desktop's own accessibility bus, with assistive technology switched on."""

import screen_reader
from app import CAPTION, NUMBER, url

WORD_PROMPT = "请输入您要查询的内容，默认使用 ‘译典通’"
NOTICE = "欢迎大家提出宝贵意见和建议\n共同促进本软件的发展\n更好地为大家服务\nQQ:" + NUMBER


def describe(tree):
    return "\n".join("  %s %r%s" % (r, n, "" if s else " (hidden)") for r, n, s, _ in tree)


def find(tree, role, name):
    matches = screen_reader.showing(tree, role, name)
    assert len(matches) == 1, "%s %r: %s" % (role, name, describe(tree))
    return matches[0]


class TestScreenReader:
    desktop = "screen_reader"

    def test_every_control_is_named_and_a_site_button_works_through_its_action(self, app):
        window = screen_reader.find_window(CAPTION)
        assert window.get_role_name() == "frame"
        tree = screen_reader.walk(window)

        query = find(tree, "text", WORD_PROMPT)
        find(tree, "combo box", "单词查询")
        find(tree, "text", "查询类别")
        for caption in ("百度 F1", "有道 F3", "CNKI*F12", "与我联系", "检查更新", "关闭广告"):
            find(tree, "push button", caption)
        # Every button that shows has a name, and the hidden rows are not announced.
        unnamed = [(r, n) for r, n, s, _ in tree if r == "push button" and s and not n.strip()]
        assert unnamed == [], describe(tree)
        assert "必应 F6" not in [n for r, n, s, _ in tree if r == "push button" and s]
        notice = find(tree, "text", "通知")
        assert notice.get_text(0, -1).replace("\r\n", "\n") == NOTICE
        # Each page is a document inside its view, which is named for the page's title, or
        # for the view while the page has none (the advertisement).
        # The advertisement follows the first page.
        for view, page in (("查询结果", "Tovrin 使用说明"), ("广告", "广告")):
            def page_in_view():
                views = screen_reader.showing(screen_reader.walk(window), "filler", view)
                inside = screen_reader.walk(views[0]) if views else []
                return [(r, n) for r, n, s, _ in inside[:1]] + [r for r, _, _, _ in inside[1:2]] \
                    == [("filler", page), "document web"]
            app.wait_until(page_in_view, 10, "%s's page, named %r" % (view, page))

        # A lookup as a screen reader user makes it: the word put into the box, and the
        # button pressed through its accessible action.
        query.set_text_contents("screen")
        button = find(tree, "push button", "有道 F3")
        app.expect_request(lambda: screen_reader.press(button),
                           url("http://dict.youdao.com/search?q=screen"))
        # The box keeps its name while it holds the user's text.
        assert query.get_name() == WORD_PROMPT
