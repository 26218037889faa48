"""Lookups through the real window: typed words, function keys, Enter and site buttons,
checked against what the browser engine requests."""

import time

from app import NUMBER, px, url, wire

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


def press_button(app, row, index):
    left, width = row[index]
    app.click_twips(left, 430, width, 300)


def click_into_focus_page(app, key):
    """Opens the page that reports its keys, clicks into it and checks a key reaches it."""
    app.choose_category(2)
    app.query(FOCUS_PAGE)
    app.expect_request(lambda: app.key("Return"), FOCUS_PAGE)
    app.wait_loaded(FOCUS_PAGE)
    app.click(px(5000), px(3500))
    app.expect_request(lambda: app.key(key), "http://focus.test/key?" + key)


class TestLookups:
    # A page that tells which keys it received.
    pages = {FOCUS_PAGE: ("text/html; charset=utf-8",
                          "<!DOCTYPE html><html><body><p>keys</p><script>"
                          "document.onkeydown = e => { new Image().src = '/key?' + e.key; };"
                          "</script></body></html>", {})}

    def test_1_word_lookup_by_key_button_and_enter(self, app):
        app.choose_category(0)
        for q in QUERIES:
            app.query(q)
            for row in DICTIONARY:
                n = row[0]
                app.expect_request(lambda: app.key("F%d" % n), address(row, q))
            app.expect_request(lambda: app.key("Return"), address(DICTIONARY[4], q))
            for row in DICTIONARY:
                app.expect_request(lambda: press_button(app, DICTIONARY_BUTTONS, row[0]),
                                    address(row, q))

    def test_2_lookup_rearms_the_query_box(self, app):
        app.choose_category(0)
        app.query("one")
        app.expect_request(lambda: app.key("F3"), address(DICTIONARY[2], "one"))
        # The whole text is selected and focused: typing replaces it.
        app.expect_request(lambda: (app.type_text("two"), app.key("F3")),
                            address(DICTIONARY[2], "two"))

    def test_3_online_translation(self, app):
        app.choose_category(1)
        app.query("词典")
        for n, expected in TRANSLATION:
            app.expect_request(lambda: app.key("F%d" % n), expected)
        for n, expected in TRANSLATION:
            app.expect_request(lambda: press_button(app, TRANSLATION_BUTTONS, n), expected)
        app.query("word")
        app.expect_request(lambda: app.key("Return"), TRANSLATION[0][1])
        app.expect_no_request(lambda: app.key("F10"), wait=1.0)

    def test_4_search_engines(self, app):
        app.choose_category(3)
        for q in QUERIES:
            app.query(q)
            for row in SEARCH:
                n = row[0]
                app.expect_request(lambda: app.key("F%d" % n), address(row, q))
            app.expect_request(lambda: app.key("Return"), address(SEARCH[0], q))
            for row in SEARCH:
                app.expect_request(lambda: press_button(app, SEARCH_BUTTONS, row[0]),
                                    address(row, q))
        app.query("word")
        app.expect_no_request(lambda: [app.key("F%d" % n) for n in range(14, 19)])

    def test_5_web_browsing(self, app):
        app.choose_category(2)
        app.query("www.example.test/path?q=1")
        app.expect_request(lambda: app.key("Return"), "http://www.example.test/path?q=1")
        app.query("http://other.example.test/a")
        app.expect_request(lambda: app.click_twips(7560, 0, 375, 375),
                            "http://other.example.test/a")
        app.expect_no_request(lambda: app.key("F1"), wait=1.0)

    def test_6_literature_search_opens_nothing(self, app):
        app.choose_category(4)
        app.query("word")
        app.expect_no_request(lambda: (app.key("Return"), app.key("F5")))

    def test_7_contact_button_opens_the_contact_link_only(self, app):
        assert "_NET_WM_STATE_ABOVE" in app.net_wm_state()
        # After the first layout the contact button sits at the result browser's corner.
        since = app.proxy.count()
        app.expect_request(lambda: app.click_twips(10715, 6505, 1215, 375),
                            url("http://wpa.qq.com/msgrd?v=1&uin=%s&site=qq&menu=yes") % NUMBER)
        time.sleep(1.0)
        assert [a for a in app.proxy.addresses(since) if "wpa.qq.com" not in a] == []
        app.wait_until(lambda: "_NET_WM_STATE_ABOVE" not in app.net_wm_state(),
                        what="the window to leave the always-on-top state")

    def test_8_keys_belong_to_the_control_that_has_the_focus(self, app):
        # Arrow keys and Enter in the category selector choose a category, nothing more.
        app.choose_category(0)
        app.choose_category(3)
        app.expect_no_request(lambda: app.key("Return"))
        app.choose_category(0)
        # Tab from the query box to the third site button; Enter opens that button's site.
        app.query("tab")
        for _ in range(3):
            app.key("Tab")
        app.expect_request(lambda: app.key("Return"), url("http://dict.youdao.com/search?q=tab"))
        # After a lookup the page has used up the focus return: the user's first click
        # into it keeps the focus in the page, and keys go there.
        click_into_focus_page(app, "k")

    def test_9_after_a_site_button_the_keys_go_back_to_the_query_box(self, app):
        # The click leaves the focus on the button until its page is in; then the keys
        # the user types go on in the query box.
        app.choose_category(0)
        app.query("apple")
        address = url("http://dict.youdao.com/search?q=apple")
        app.expect_request(lambda: press_button(app, DICTIONARY_BUTTONS, 3), address)
        app.wait_loaded(address)
        app.type_text("s")
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=apples"))

    def test_10_back_from_another_program_the_focus_is_where_it_was(self, app):
        other = app.screen.open_window()

        def away_and_back():
            for window in (other, app.wid):
                app.xdo("windowactivate", window)
                app.wait_until(lambda: app.screen.active_window() == window,
                               what="window %s to be active" % window)
            time.sleep(0.3)

        # In the query box the caret stays where the user put it...
        app.choose_category(0)
        app.query("abc")
        app.key("Left")
        away_and_back()
        app.type_text("x")
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=abxc"))
        # ...and in the page the keys go on going to the page.
        click_into_focus_page(app, "a")
        away_and_back()
        app.expect_request(lambda: app.key("z"), "http://focus.test/key?z")
