"""Chinese typed as most users type it: through a real input method (fcitx5 with its
pinyin engine) on the desktop's session bus."""

import time

from app import px, url, wire
from harness import run

PROFILE = """[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
"""

# Pinyin is on in every new text field, as a user who types Chinese keeps it.
CONFIG = """[Behavior]
ActiveByDefault=True
ShareInputState=All
"""


def youdao(word):
    return url("http://dict.youdao.com/search?q=") + wire(word)


def im_state(app):
    """0: no input context has the focus; 1: pinyin off; 2: pinyin on."""
    return run("fcitx5-remote", env=app.desktop.im_env, check=False).stdout.strip()


def pinyin_on(app):
    """Whether pinyin is on in the query box; if not, turns it on as a user would. The
    window can take the focus before the program's input context has reached the input
    method, which then knows no focused context: a click gives it one."""
    state = im_state(app)
    if state == "0":
        app.click(px(3000), px(180))
    elif state == "1":
        run("fcitx5-remote", "-o", env=app.desktop.im_env, check=False)
    return state == "2"


def compose(app, letters):
    """Types pinyin letters; the composition stays open."""
    app.xdo("type", "--delay", "30", letters)
    time.sleep(0.5)


class TestPinyin:
    desktop = "input_method"
    extra_env = {"QT_IM_MODULE": "fcitx"}

    def test_composed_text_is_looked_up_and_half_typed_text_is_not(self, app):
        app.wait_until(lambda: pinyin_on(app), what=lambda: "pinyin to be on in the query box "
                       "(state %s)" % im_state(app))
        # Space commits the first candidate; the lookup uses the committed text.
        compose(app, "cidian")
        app.key("space")
        time.sleep(0.3)
        app.expect_request(lambda: app.key("F3"), youdao("词典"))

        # While a composition is open, a function key and Enter start nothing: the
        # function key reaches the box unused, and Enter commits the letters as typed.
        compose(app, "shu")
        app.expect_no_request(lambda: app.key("F3"))
        app.expect_no_request(lambda: app.key("Return"))
        # Once committed, Enter looks the committed text up, and only that: the word
        # before it was selected after the last lookup and has been replaced.
        app.expect_request(lambda: app.key("Return"),
                            url("http://www.dreye.com.cn/ews/shu--01--.html"))

        # The committed text is selected after the lookup like any other: the next
        # composed word replaces it.
        compose(app, "nihao")
        app.key("space")
        time.sleep(0.3)
        app.expect_request(lambda: app.key("F3"), youdao("你好"))

