"""The program as people run it: under an ordinary account, with the browser engine's
sandbox on, leaving nothing in the account's home folder or in /tmp. And as root with the
sandbox on, where the sandbox cannot start: the program says so and stays up.

Needs root, to run the program as the test account (scripts/test.sh creates it)."""

import contextlib
import glob
import os
import pwd
import shutil
import subprocess
import time

import pytest

from app import CAPTION, url
from conftest import program_path
from desktop import Program
from harness import command_lines, files_below

ACCOUNT = "tovrin-test"
INSTRUCTION = "http://maker.tovrin.test/gengxin/instruction.html"
needs_root = pytest.mark.skipif(os.geteuid() != 0, reason="needs root to run as " + ACCOUNT)


def owned_in_tmp(uid):
    """What the account owns in /tmp, one level down."""
    def owner(path):
        with contextlib.suppress(OSError):
            return os.lstat(path).st_uid

    return sorted(p for pattern in ("/tmp/*", "/tmp/*/*")
                  for p in glob.glob(pattern, include_hidden=True) if owner(p) == uid)


@needs_root
class TestOrdinaryUserWithSandbox:
    exe = "TOVRIN_MAKER_EXE"

    @classmethod
    def before_start(cls, desktop, launch):
        try:
            user = pwd.getpwnam(ACCOUNT)
        except KeyError:
            pytest.fail("no account %s: scripts/test.sh creates it" % ACCOUNT, pytrace=False)
        cls.uid = user.pw_uid
        # A fresh, empty home, named as the account's home in the password database, a
        # runtime folder as a login session has, and the program where the account can
        # run it.
        place = desktop.folder("user-", "/var/tmp")
        os.chmod(place, 0o755)
        cls.home, runtime = os.path.join(place, "home"), os.path.join(place, "run")
        for folder in (cls.home, runtime):
            os.mkdir(folder, 0o700)
            os.chown(folder, user.pw_uid, user.pw_gid)
        subprocess.run(["usermod", "--home", cls.home, ACCOUNT], check=True)
        exe = os.path.join(place, "tovrin")
        shutil.copy(launch["exe"], exe)
        # The window program it loads, beside it, where the account can read it.
        window = os.path.join(os.path.dirname(program_path("TOVRIN_EXE")), "libtovrin-window.so")
        shutil.copy(window, os.path.join(place, "libtovrin-window.so"))
        cls.tmp_before = owned_in_tmp(cls.uid)
        return {"exe": exe, "account": (ACCOUNT, cls.home, runtime)}

    def test_start_lookups_tray_renderer_and_nothing_left(self, app):
        # Up, with the sandbox on: no engine process was told to go without it.
        assert app.proxy.wait_for(lambda a: INSTRUCTION in a, timeout=20), \
            "the first page was not requested\n" + app.trace()
        tree = command_lines(app.proc.pid)
        assert [c for c in tree if "--type=zygote" in c], tree
        assert [c for c in tree if "--no-sandbox" in c] == []
        print("\nengine processes: %d, none with --no-sandbox" % (len(tree) - 1))

        # Lookups by Enter and by a function key.
        app.type_text("word")
        app.expect_request(lambda: app.key("Return"),
                           url("http://www.dreye.com.cn/ews/word--01--.html"))
        app.wait_loaded(url("http://www.dreye.com.cn/ews/word--01--.html"))
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=word"))
        app.wait_loaded(url("http://dict.youdao.com/search?q=word"))

        # The tray hides and shows the window.
        app.click_tray(1)
        app.wait_until(lambda: not app.shown(), what="the window to hide")
        app.click_tray(1)
        app.wait_until(app.shown, what="the window back")

        # A killed renderer is replaced and the page comes back.
        time.sleep(0.5)
        since = app.proxy.count()
        assert app.kill_renderers(), "no renderer process found"
        page = url("http://dict.youdao.com/search?q=word")
        assert app.proxy.wait_for(lambda a: page in a, timeout=15, since=since), \
            "the page did not come back\n" + app.trace()
        app.alive_and_responsive()

        # Nothing left behind once the program has ended.
        app.proc.terminate()
        app.proc.wait(timeout=15)
        time.sleep(0.5)
        left_home = files_below(self.home, folders=True)
        left_tmp = [p for p in owned_in_tmp(self.uid) if p not in self.tmp_before]
        print("left in the home folder: %s; in /tmp: %s" % (left_home, left_tmp))
        assert left_home == []
        assert left_tmp == []


@needs_root
@pytest.mark.desktop(with_tray=False)
def test_as_root_with_the_sandbox_on_it_says_why_and_stays_up(x_desktop, proxy):
    """As root the engine's sandbox cannot start: the program says so once and works on
    without pages (simulated for this process alone: nothing on the machine changes)."""
    program = Program(x_desktop, program_path("TOVRIN_MAKER_EXE"), proxy.port,
                      {"QTWEBENGINE_DISABLE_SANDBOX": None})
    x_desktop.find_window(CAPTION)
    x_desktop.xdo("key", "Return")  # a lookup: nothing is loaded
    time.sleep(2.0)
    assert program.proc.poll() is None, "the program has ended"
    lines = [l for l in program.output().splitlines() if "sandbox cannot start" in l]
    assert len(lines) == 1, lines
    assert "running as root" in lines[0]
    assert proxy.addresses() == []
