"""The program as people run it: under an ordinary account, with the browser engine's
sandbox on, leaving nothing in the account's home folder or in /tmp. And as root with the
sandbox on, where the sandbox cannot start: the program says so and stays up.

Needs root, to run the program as the test account (scripts/test.sh creates it)."""

import os
import pwd
import shutil
import subprocess
import tempfile
import time
import unittest

from support import ProgramTestCase, url

ACCOUNT = "tovrin-test"
INSTRUCTION = "http://maker.tovrin.test/gengxin/instruction.html"


def files_below(folder):
    found = []
    for root, dirs, files in os.walk(folder):
        found += [os.path.join(root, f) for f in files + dirs]
    return sorted(found)


def owned_in_tmp(uid):
    """What the account owns in /tmp, one level down."""
    found = []
    for entry in os.scandir("/tmp"):
        paths = [entry.path]
        if entry.is_dir(follow_symlinks=False):
            try:
                paths += [e.path for e in os.scandir(entry.path)]
            except OSError:
                pass
        for p in paths:
            try:
                if os.lstat(p).st_uid == uid:
                    found.append(p)
            except OSError:
                pass
    return sorted(found)


def process_tree(root):
    """The command lines of a process and all below it."""
    parents, lines = {}, {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    parents[int(entry)] = int(f.read().rsplit(")", 1)[1].split()[1])
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    lines[int(entry)] = f.read().replace(b"\0", b" ").decode(errors="replace")
            except (OSError, IndexError, ValueError):
                pass
    tree, todo = [], [root]
    while todo:
        pid = todo.pop()
        tree.append(lines.get(pid, ""))
        todo += [p for p, parent in parents.items() if parent == pid]
    return tree


@unittest.skipUnless(os.geteuid() == 0, "needs root to run the program as %s" % ACCOUNT)
class OrdinaryUserWithSandbox(ProgramTestCase):
    exe_variable = "TOVRIN_MAKER_EXE"

    @classmethod
    def setUpClass(cls):
        try:
            user = pwd.getpwnam(ACCOUNT)
        except KeyError:
            raise AssertionError("no account %s: scripts/test.sh creates it" % ACCOUNT)
        cls.uid = user.pw_uid
        # A fresh, empty home, named as the account's home in the password database, a
        # runtime folder as a login session has, and the program where the account can
        # run it.
        cls.place = tempfile.mkdtemp(prefix="tovrin-user-", dir="/var/tmp")
        os.chmod(cls.place, 0o755)
        cls.home = os.path.join(cls.place, "home")
        runtime = os.path.join(cls.place, "run")
        for folder in (cls.home, runtime):
            os.mkdir(folder, 0o700)
            os.chown(folder, user.pw_uid, user.pw_gid)
        subprocess.run(["usermod", "--home", cls.home, ACCOUNT], check=True)
        exe = os.path.join(cls.place, "tovrin")
        shutil.copy(os.environ[cls.exe_variable], exe)
        os.environ["TOVRIN_USER_EXE"] = exe
        cls.exe_variable = "TOVRIN_USER_EXE"
        cls.account = (ACCOUNT, cls.home, runtime)
        cls.tmp_before = owned_in_tmp(cls.uid)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        shutil.rmtree(cls.place, ignore_errors=True)

    def test_start_lookups_tray_renderer_and_nothing_left(self):
        # Up, with the sandbox on: no engine process was told to go without it.
        self.assertTrue(self.proxy.wait_for(lambda a: INSTRUCTION in a, timeout=20),
                        "the first page was not requested\n" + self.program_trace())
        tree = process_tree(self.proc.pid)
        self.assertTrue([c for c in tree if "--type=zygote" in c], tree)
        self.assertEqual([c for c in tree if "--no-sandbox" in c], [])
        print("\nengine processes: %d, none with --no-sandbox" % (len(tree) - 1))

        # Lookups by Enter and by a function key.
        self.type_text("word")
        self.expect_request(lambda: self.key("Return"),
                            url("http://www.dreye.com.cn/ews/word--01--.html"))
        self.wait_loaded(url("http://www.dreye.com.cn/ews/word--01--.html"))
        self.expect_request(lambda: self.key("F3"), url("http://dict.youdao.com/search?q=word"))
        self.wait_loaded(url("http://dict.youdao.com/search?q=word"))

        # The tray hides and shows the window.
        self.click_tray(1)
        self.wait_until(lambda: self.map_state() != "IsViewable", what="the window to hide")
        self.click_tray(1)
        self.wait_until(lambda: self.map_state() == "IsViewable", what="the window back")

        # A killed renderer is replaced and the page comes back.
        time.sleep(0.5)
        since = self.proxy.count()
        self.assertTrue(self.kill_renderers(), "no renderer process found")
        page = url("http://dict.youdao.com/search?q=word")
        self.assertTrue(self.proxy.wait_for(lambda a: page in a, timeout=15, since=since),
                        "the page did not come back\n" + self.program_trace())
        self.alive_and_responsive()

        # Nothing left behind once the program has ended.
        type(self).proc.terminate()
        self.proc.wait(timeout=15)
        time.sleep(0.5)
        left_home = files_below(self.home)
        left_tmp = [p for p in owned_in_tmp(self.uid) if p not in self.tmp_before]
        print("left in the home folder: %s; in /tmp: %s" % (left_home, left_tmp))
        self.assertEqual(left_home, [])
        self.assertEqual(left_tmp, [])


@unittest.skipUnless(os.geteuid() == 0, "needs root")
class RootWithTheSandboxOn(unittest.TestCase):
    """As root the engine's sandbox cannot start: the program says so once and works on
    without pages (simulated for this process alone: nothing on the machine changes)."""

    def test_says_why_and_stays_up(self):
        from desktop import Desktop, stop_process
        from recording_proxy import RecordingProxy
        from support import CAPTION
        with RecordingProxy() as proxy, Desktop(with_tray=False) as desktop:
            env = dict(desktop.env, HOME=desktop.program_home)
            env.pop("QTWEBENGINE_DISABLE_SANDBOX", None)
            env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--proxy-server=http://127.0.0.1:%d" % proxy.port
            with tempfile.TemporaryFile() as err:
                proc = subprocess.Popen([os.environ["TOVRIN_MAKER_EXE"]], env=env,
                                        stdout=subprocess.DEVNULL, stderr=err,
                                        stdin=subprocess.DEVNULL)
                try:
                    desktop.find_window(CAPTION)
                    desktop.xdo("key", "Return")  # a lookup: nothing is loaded
                    time.sleep(2.0)
                    self.assertIsNone(proc.poll(), "the program has ended")
                finally:
                    stop_process(proc)
                err.seek(0)
                lines = [l for l in err.read().decode(errors="replace").splitlines()
                         if "sandbox cannot start" in l]
            self.assertEqual(len(lines), 1, lines)
            self.assertIn("running as root", lines[0])
            self.assertEqual(proxy.addresses(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
