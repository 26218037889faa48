"""Chinese typed as most users type it: through a real input method (fcitx5 with its
pinyin engine) on the desktop's session bus."""

import os
import subprocess
import tempfile
import time
import unittest

from desktop import run
from support import ProgramTestCase, px, wire, url

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


class Pinyin(ProgramTestCase):
    session_bus = True
    extra_env = {"QT_IM_MODULE": "fcitx"}

    @classmethod
    def before_start(cls):
        config = tempfile.mkdtemp(dir=cls.desktop.home, prefix="fcitx5-")
        os.makedirs(os.path.join(config, "fcitx5"))
        for name, text in (("profile", PROFILE), ("config", CONFIG)):
            with open(os.path.join(config, "fcitx5", name), "w") as f:
                f.write(text)
        env = dict(cls.desktop.env, XDG_CONFIG_HOME=config)
        cls.desktop.procs.append(subprocess.Popen(
            ["fcitx5", "--disable=notificationitem,kimpanel"], env=env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        cls.im_env = env
        # Asked without starting it: a call to the input method while it is not yet on
        # the bus would have the bus start a second one, with the default settings.
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if cls.desktop.bus_has("org.fcitx.Fcitx5"):
                return
            time.sleep(0.2)
        raise RuntimeError("the input method did not start")

    def im_state(self):
        """0: no input context has the focus; 1: pinyin off; 2: pinyin on."""
        return run("fcitx5-remote", env=self.im_env, check=False).stdout.strip()

    def pinyin_on(self):
        """Whether pinyin is on in the query box; if not, turns it on as a user would. The
        window can take the focus before the program's input context has reached the
        input method, which then knows no focused context: a click gives it one."""
        state = self.im_state()
        if state == "0":
            self.click(px(3000), px(180))
        elif state == "1":
            run("fcitx5-remote", "-o", env=self.im_env, check=False)
        return state == "2"

    def compose(self, letters):
        """Types pinyin letters; the composition stays open."""
        self.desktop.xdo("type", "--delay", "30", letters)
        time.sleep(0.5)

    def test_composed_text_is_looked_up_and_half_typed_text_is_not(self):
        self.wait_until(self.pinyin_on, what=lambda: "pinyin to be on in the query box (state %s)"
                        % self.im_state())
        # Space commits the first candidate; the lookup uses the committed text.
        self.compose("cidian")
        self.key("space")
        time.sleep(0.3)
        self.expect_request(lambda: self.key("F3"), youdao("词典"))

        # While a composition is open, a function key and Enter start nothing: the
        # function key reaches the box unused, and Enter commits the letters as typed.
        self.compose("shu")
        self.expect_no_request(lambda: self.key("F3"))
        self.expect_no_request(lambda: self.key("Return"))
        # Once committed, Enter looks the committed text up, and only that: the word
        # before it was selected after the last lookup and has been replaced.
        self.expect_request(lambda: self.key("Return"),
                            url("http://www.dreye.com.cn/ews/shu--01--.html"))

        # The committed text is selected after the lookup like any other: the next
        # composed word replaces it.
        self.compose("nihao")
        self.key("space")
        time.sleep(0.3)
        self.expect_request(lambda: self.key("F3"), youdao("你好"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
