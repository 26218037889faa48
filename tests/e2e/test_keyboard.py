"""Lookups through the real window: typed words, function keys, Enter and site buttons,
checked against what the browser engine requests."""

import time

from app import NUMBER, px, site, url

# Button rows: site number -> (left, width) in twips; all at top 430, 300 high. The
# addresses they open are the catalogue's, as the unit tests check it.
DICTIONARY_BUTTONS = {1: (0, 800), 2: (960, 800), 3: (1920, 800), 4: (2880, 800),
                      5: (3840, 915), 6: (4920, 800), 7: (5880, 800), 8: (6840, 800),
                      9: (7800, 800), 10: (8760, 800), 11: (9720, 800), 12: (10680, 915)}
TRANSLATION_BUTTONS = {1: (0, 1035), 2: (1200, 795), 3: (2160, 800), 4: (3120, 795),
                       5: (4080, 795), 6: (5040, 800), 7: (6000, 800), 8: (6960, 1155),
                       9: (8280, 1035)}
SEARCH_BUTTONS = {n: ((n - 1) * 900, 900) for n in range(1, 14)}

QUERIES = ["word", "a&b#c d", "词典"]
FOCUS_PAGE = "http://focus.test/keys"


def press_button(app, row, index):
    left, width = row[index]
    app.click_twips(left, 430, width, 300)


def walk(app, category, table, buttons, enter, queries=QUERIES):
    """Every function key of a category, Enter, and every site button, for each query."""
    app.choose_category(category)
    for q in queries:
        app.query(q)
        for n in buttons:
            app.expect_request(lambda: app.key("F%d" % n), site(table, n, q))
        app.expect_request(lambda: app.key("Return"), site(table, enter, q))
        for n in buttons:
            app.expect_request(lambda: press_button(app, buttons, n), site(table, n, q))


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
        walk(app, 0, "Dictionary", DICTIONARY_BUTTONS, 5)

    def test_2_lookup_rearms_the_query_box(self, app):
        app.choose_category(0)
        app.query("one")
        app.expect_request(lambda: app.key("F3"), site("Dictionary", 3, "one"))
        # The whole text is selected and focused: typing replaces it.
        app.expect_request(lambda: (app.type_text("two"), app.key("F3")),
                           site("Dictionary", 3, "two"))

    def test_3_online_translation(self, app):
        walk(app, 1, "Translation", TRANSLATION_BUTTONS, 1, ["词典"])
        app.expect_no_request(lambda: app.key("F10"), wait=1.0)

    def test_4_search_engines(self, app):
        walk(app, 3, "Search", SEARCH_BUTTONS, 1)
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
