"""Lookups through the real window: typed words, function keys, Enter and site buttons,
checked against what the browser engine requests."""

import time
import unittest

from support import NUMBER, ProgramTestCase, px, wire, url

# The catalogue as a reader would draw it: number, host, path, suffix; path None marks a
# fixed address (the query is not used). Paths are written as they go over the wire.
DICTIONARY = [
    (1, "dict.baidu.com", "/s?wd=", ""),
    (2, "www.google.com.hk", "/dictionary?langpair=en%7Czh-CN&q=", ""),
    (3, "dict.youdao.com", "/search?q=", ""),
    (4, "www.iciba.com", "/", ""),
    (5, "www.dreye.com.cn", "/ews/", "--01--.html"),
    (6, "dict.cn", "/", ""),
    (7, "dict.hjenglish.com", "/app/w/", ""),
    (8, "dict.netat.net", "/searchw.jsp?word=", ""),
    (9, "www.cibo.cn", "/search.php?dictkeyword=", ""),
    (10, "dictionary.cambridge.org", "/search/british/?q=", ""),
    (11, "www.jukuu.com", "/search.php?q=", ""),
    (12, "dict.cnki.net", "/dict_result.aspx?searchword=", ""),
]
TRANSLATION = [
    (1, url("http://fy.iciba.com/")),
    (2, url("http://fanyi.youdao.com/translate?i=well&keyfrom=dict.top")),
    (3, url("http://dict.cn/fy/")),
    (4, url("http://fanyi.cn.yahoo.com/")),
    (5, url("http://translate.google.com/")),  # "/#": the fragment stays in the browser
    (6, url("http://www.microsofttranslator.com/")),
    (7, url("http://www.netat.net/")),
    (8, url("http://www.hjtrans.com/")),
    (9, url("http://dict.bigear.cn/")),
]
SEARCH = [
    (1, "www.baidu.com", "/s?wd=", ""),
    (2, "www.google.com.hk", "/search?hl=zh-CN&newwindow=1&safe=strict&q=", ""),
    (3, "cn.bing.com", "/search?q=", ""),
    (4, "search.cn.yahoo.com", "/s?p=", ""),
    (5, "www.soso.com", "/q?pid=s.idx&ch=s.idx&w=", ""),
    (6, "www.sogou.com", "/web?query=", ""),
    (7, "www.ask.com", "/web?q=", ""),
    (8, "www.youdao.com", "/search?q=", ""),
    (9, "search.sina.com.cn", "/?q=", "&c=news"),
    (10, "p.zhongsou.com", "/p?v=%E7%BD%91%E9%A1%B5&y=9&k=com&netid=&w=", ""),
    (11, "www.yisou.com", "/s/?q=", ""),
    (12, "www.qihoo.com", "/wenda.php?kw=", "&ff=1&do=search&noq=q&src=nindex"),
    (13, "www.gougou.com", "/search?search=", ""),
]

# Button rows: index -> (left, width) in twips; all at top 430, 300 high.
DICTIONARY_BUTTONS = {1: (0, 800), 2: (960, 800), 3: (1920, 800), 4: (2880, 800),
                      5: (3840, 915), 6: (4920, 800), 7: (5880, 800), 8: (6840, 800),
                      9: (7800, 800), 10: (8760, 800), 11: (9720, 800), 12: (10680, 915)}
TRANSLATION_BUTTONS = {1: (0, 1035), 2: (1200, 795), 3: (2160, 800), 4: (3120, 795),
                       5: (4080, 795), 6: (5040, 800), 7: (6000, 800), 8: (6960, 1155),
                       9: (8280, 1035)}
SEARCH_BUTTONS = {n: ((n - 1) * 900, 900) for n in range(1, 14)}

QUERIES = ["word", "a&b#c d", "词典"]


def address(row, query):
    _, host, path, suffix = row
    return "http://" + host + path + wire(query) + suffix


FOCUS_PAGE = "http://focus.test/keys"


class Lookups(ProgramTestCase):
    # A page that tells which keys it received.
    pages = {FOCUS_PAGE: ("text/html; charset=utf-8",
                          "<!DOCTYPE html><html><body><p>keys</p><script>"
                          "document.onkeydown = e => { new Image().src = '/key?' + e.key; };"
                          "</script></body></html>", {})}
    def press_button(self, row, index):
        left, width = row[index]
        self.click_twips(left, 430, width, 300)

    def test_1_word_lookup_by_key_button_and_enter(self):
        self.choose_category(0)
        for q in QUERIES:
            self.query(q)
            for row in DICTIONARY:
                n = row[0]
                self.expect_request(lambda: self.key("F%d" % n), address(row, q))
            self.expect_request(lambda: self.key("Return"), address(DICTIONARY[4], q))
            for row in DICTIONARY:
                self.expect_request(lambda: self.press_button(DICTIONARY_BUTTONS, row[0]),
                                    address(row, q))

    def test_2_lookup_rearms_the_query_box(self):
        self.choose_category(0)
        self.query("one")
        self.expect_request(lambda: self.key("F3"), address(DICTIONARY[2], "one"))
        # The whole text is selected and focused: typing replaces it.
        self.expect_request(lambda: (self.type_text("two"), self.key("F3")),
                            address(DICTIONARY[2], "two"))

    def test_3_online_translation(self):
        self.choose_category(1)
        self.query("词典")
        for n, expected in TRANSLATION:
            self.expect_request(lambda: self.key("F%d" % n), expected)
        for n, expected in TRANSLATION:
            self.expect_request(lambda: self.press_button(TRANSLATION_BUTTONS, n), expected)
        self.query("word")
        self.expect_request(lambda: self.key("Return"), TRANSLATION[0][1])
        self.expect_no_request(lambda: self.key("F10"), wait=1.0)

    def test_4_search_engines(self):
        self.choose_category(3)
        for q in QUERIES:
            self.query(q)
            for row in SEARCH:
                n = row[0]
                self.expect_request(lambda: self.key("F%d" % n), address(row, q))
            self.expect_request(lambda: self.key("Return"), address(SEARCH[0], q))
            for row in SEARCH:
                self.expect_request(lambda: self.press_button(SEARCH_BUTTONS, row[0]),
                                    address(row, q))
        self.query("word")
        self.expect_no_request(lambda: [self.key("F%d" % n) for n in range(14, 19)])

    def test_5_web_browsing(self):
        self.choose_category(2)
        self.query("www.example.test/path?q=1")
        self.expect_request(lambda: self.key("Return"), "http://www.example.test/path?q=1")
        self.query("http://other.example.test/a")
        self.expect_request(lambda: self.click_twips(7560, 0, 375, 375),
                            "http://other.example.test/a")
        self.expect_no_request(lambda: self.key("F1"), wait=1.0)

    def test_6_literature_search_opens_nothing(self):
        self.choose_category(4)
        self.query("word")
        self.expect_no_request(lambda: (self.key("Return"), self.key("F5")))

    def test_7_contact_button_opens_the_contact_link_only(self):
        self.assertIn("_NET_WM_STATE_ABOVE", self.net_wm_state())
        # After the first layout the contact button sits at the result browser's corner.
        since = self.proxy.count()
        self.expect_request(lambda: self.click_twips(10715, 6505, 1215, 375),
                            url("http://wpa.qq.com/msgrd?v=1&uin=%s&site=qq&menu=yes") % NUMBER)
        time.sleep(1.0)
        self.assertEqual([a for a in self.proxy.addresses(since) if "wpa.qq.com" not in a], [])
        self.wait_until(lambda: "_NET_WM_STATE_ABOVE" not in self.net_wm_state(),
                        what="the window to leave the always-on-top state")

    def test_8_keys_belong_to_the_control_that_has_the_focus(self):
        # Arrow keys and Enter in the category selector choose a category, nothing more.
        self.choose_category(0)
        self.choose_category(3)
        self.expect_no_request(lambda: self.key("Return"))
        self.choose_category(0)
        # Tab from the query box to the third site button; Enter opens that button's site.
        self.query("tab")
        for _ in range(3):
            self.key("Tab")
        self.expect_request(lambda: self.key("Return"), url("http://dict.youdao.com/search?q=tab"))
        # After a lookup the page has used up the focus return: the user's first click
        # into it keeps the focus in the page, and keys go there.
        self.choose_category(2)
        self.query(FOCUS_PAGE)
        self.expect_request(lambda: self.key("Return"), FOCUS_PAGE)
        self.wait_loaded(FOCUS_PAGE)
        self.click(px(5000), px(3500))
        self.expect_request(lambda: self.key("k"), "http://focus.test/key?k")


if __name__ == "__main__":
    unittest.main(verbosity=2)
