"""Shared set-up for the end-to-end tests: one desktop, one recording proxy and one
running program per test class, and helpers to drive and watch them."""

import os
import re
import signal
import time
import unittest
import urllib.parse

from desktop import Desktop, run, stop_process
from recording_proxy import RecordingProxy

TWIPS_PER_PIXEL = 15
NUMBER = os.environ.get("TOVRIN_MAKER_NUMBER", "20251207")
CAPTION = "Tovrin" + NUMBER


def _build_hosts():
    """Each service's host as this build has it: the source's table, with the build's
    overrides ("key=host;key=host", or with commas) applied, by the default host."""
    source = os.path.join(os.path.dirname(__file__), "..", "..", "src", "lookup",
                          "ServiceHosts.h")
    with open(source, encoding="utf-8") as f:
        table = re.findall(r'\{Service::\w+, "([^"]+)", "([^"]+)"\}', f.read())
    overrides = dict(item.split("=", 1) for item in
                     re.split("[;,]", os.environ.get("TOVRIN_HOST_OVERRIDES", "")) if "=" in item)
    return {host: overrides.get(key, host) for key, host in table}


BUILD_HOSTS = _build_hosts()


def url(address):
    """A service's address, written with its default host, as this build requests it."""
    scheme, rest = address.split("://", 1)
    host, sep, path = rest.partition("/")
    return "%s://%s%s%s" % (scheme, BUILD_HOSTS.get(host, host), sep, path)


def px(twips):
    return int(round(twips / TWIPS_PER_PIXEL))


def wire(query):
    """A query as it reaches the server: UTF-8, every byte but A-Z a-z 0-9 - . _ ~ escaped."""
    return urllib.parse.quote(query, safe="-._~")


def parent_pids():
    """Every process's parent, by process."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    parents[int(entry)] = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, IndexError, ValueError):
                pass
    return parents


def descendants(root):
    """The processes below a process."""
    parents = parent_pids()

    def below(pid):
        while pid > 1:
            pid = parents.get(pid, 0)
            if pid == root:
                return True
        return False

    return [pid for pid in parents if below(pid)]


def renderer_pids(root):
    """The browser engine's renderer processes below a process."""
    parents = parent_pids()

    def descends(pid):
        while pid > 1:
            if pid == root:
                return True
            pid = parents.get(pid, 0)
        return False

    def cmdline(pid):
        try:
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                return f.read()
        except OSError:
            return b""

    # Renderers are forked by the engine's zygote and keep its command line. With the
    # sandbox on, the zygote itself runs below a first one: renderers have no children.
    has_children = set(parents.values())
    return [pid for pid in parents
            if descends(pid) and parents.get(pid) != root and pid not in has_children
            and b"--type=zygote" in cmdline(parents.get(pid, 0))]


class ProgramTestCase(unittest.TestCase):
    """Starts the program once for the class; tests share it in their order."""

    exe_variable = "TOVRIN_EXE"
    with_tray = True
    refuse = False  # a proxy that refuses every request: no network
    pages = {}  # the proxy's own pages, by address
    extra_env = {}
    account = None  # (name, home, runtime folder): run the program as that user
    session_bus = False  # a private session bus for the desktop

    @classmethod
    def setUpClass(cls):
        exe = os.environ.get(cls.exe_variable)
        if not exe or not os.path.exists(exe):
            raise unittest.SkipTest("%s is not set to a built program" % cls.exe_variable)
        cls.started = time.time()
        cls.proxy = RecordingProxy(refuse=cls.refuse, pages=cls.pages).__enter__()
        cls.desktop = Desktop(with_tray=cls.with_tray, session_bus=cls.session_bus).__enter__()
        cls.before_start()
        cls.proc = cls.desktop.start(exe, cls.proxy.port, cls.extra_env, cls.account)
        cls.wid = cls.desktop.find_window(CAPTION)
        # The window is shown, activated and its first pages requested.
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and cls.desktop.xdo("getactivewindow", check=False) != cls.wid:
            time.sleep(0.1)
        # With a notification area, the greeting balloon follows the first page: let it
        # come up, so that tests counting the program's windows start after it.
        while cls.with_tray and time.monotonic() < deadline and len(cls.program_windows()) < 3:
            time.sleep(0.1)
        time.sleep(0.5)

    @classmethod
    def before_start(cls):
        """What a class's desktop needs before the program starts."""

    @classmethod
    def tearDownClass(cls):
        stop_process(cls.proc)
        log = os.environ.get("TOVRIN_E2E_LOG")
        if log:
            cls.desktop.stderr.seek(0)
            with open(log, "ab") as f:
                f.write(cls.desktop.stderr.read())
        cls.desktop.__exit__(None, None, None)
        cls.proxy.__exit__(None, None, None)

    # Input

    _last_click = 0.0

    def click(self, x, y, button=1):
        """Clicks at a point of the window's client area, in pixels. Clicks are kept
        apart so that two of them never make a double click."""
        wait = 0.6 - (time.monotonic() - ProgramTestCase._last_click)
        if wait > 0:
            time.sleep(wait)
        self.desktop.xdo("mousemove", "--window", self.wid, str(x), str(y))
        self.desktop.xdo("click", str(button))
        ProgramTestCase._last_click = time.monotonic()

    def click_twips(self, left, top, width, height):
        self.click(px(left + width / 2), px(top + height / 2))

    def key(self, *keys):
        self.desktop.xdo("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        # xdotool types characters outside the keymap by remapping a spare key code; the
        # program must see the new mapping before the key, so those go slowly.
        for run_ in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]", text):
            if run_.isascii():
                self.desktop.xdo("type", "--delay", "15", run_)
            else:
                self.desktop.xdo("type", "--delay", "120", run_)
                time.sleep(0.15)

    category = 0  # the category chosen last, as the selector starts

    def choose_category(self, index):
        """Picks a category in the selector with the arrow keys."""
        self.click(px(9540), px(180))
        step = "Down" if index > self.category else "Up"
        for _ in range(abs(index - self.category)):
            self.key(step)
            time.sleep(0.05)
        type(self).category = index

    def kill_renderers(self, victims=None):
        """Kills the program's renderer processes (or those given); one that ended on its
        own meanwhile is no error. Returns the ones aimed at."""
        victims = renderer_pids(self.proc.pid) if victims is None else victims
        for pid in victims:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        return victims

    def alive_and_responsive(self):
        self.assertIsNone(self.proc.poll(), "the program has ended")
        self.assertEqual(self.desktop.xdo("getwindowname", self.wid)[:6], "Tovrin")

    def query(self, text):
        """Replaces the query box's text by typing (a click selects it all)."""
        self.click(px(3000), px(180))
        self.type_text(text)

    # Observation

    def expect_request(self, action, address, timeout=15.0):
        """Runs action and checks that the next page request is exactly address. A
        lookup that never leaves fails: the user would have lost it."""
        since = self.proxy.count()
        action()
        found = self.proxy.wait_for(lambda a: len(a) >= 1, timeout=timeout, since=since)
        self.assertTrue(found, "no request after the action; expected %s\n%s"
                        % (address, self.program_trace()))
        self.assertEqual(urllib.parse.unquote(found[0]), urllib.parse.unquote(address),
                         self.program_trace())
        self.assertEqual(found[0], address)
        return found

    def expect_no_request(self, action, wait=1.5):
        since = self.proxy.count()
        action()
        time.sleep(wait)
        self.assertEqual(self.proxy.addresses(since), [])

    def outer_size(self):
        return self.desktop.frame_size(self.wid)

    @classmethod
    def program_windows(cls):
        """The program's visible windows."""
        return set(cls.desktop.xdo("search", "--onlyvisible", "--classname", "tovrin",
                                   check=False).split())

    def net_wm_state(self):
        return self.desktop.window_state(self.wid)

    def map_state(self):
        out = run("xwininfo", "-id", self.wid, env=self.desktop.env, check=False).stdout
        m = re.search(r"Map State:\s*(\w+)", out)
        return m.group(1) if m else None

    def wm_state(self):
        out = run("xprop", "-id", self.wid, "WM_STATE", env=self.desktop.env, check=False).stdout
        m = re.search(r"window state:\s*(\w+)", out)
        return m.group(1) if m else "Withdrawn"

    def program_trace(self, lines=25):
        """The last lines of the program's own trace."""
        # Read without moving the file's offset, which the running program shares.
        fd = self.desktop.stderr.fileno()
        size = os.fstat(fd).st_size
        start = max(0, size - 200000)
        text = os.pread(fd, size - start, start).decode("utf-8", "replace")
        trace = [l for l in text.splitlines() if l.startswith("tovrin.")]
        return "program trace:\n  " + "\n  ".join(trace[-lines:])

    def wait_loaded(self, address, timeout=10.0):
        """Waits until the program's trace says a page has loaded; a page takes clicks
        once it is loaded and drawn."""
        loaded = 'load finished true QUrl("%s")' % address
        self.wait_until(lambda: loaded in self.program_trace(40), timeout, address + " to load")
        time.sleep(0.5)

    def wait_for_outer_size(self, twips_w, twips_h, timeout=10.0):
        """Waits for the window's outer size (frame included) to be exactly the one given."""
        wanted = (px(twips_w), px(twips_h))
        seen = [None]

        def reached():
            seen[0] = self.outer_size()
            return seen[0] == wanted

        self.wait_until(reached, timeout, what=lambda: "%s, last seen %s\n%s"
                        % (wanted, seen[0], self.program_trace()))

    def wait_until(self, predicate, timeout=10.0, what="condition"):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if predicate():
                return
            time.sleep(0.1)
        self.fail("timed out waiting for " + (what() if callable(what) else what))

    def tray_icon(self):
        """The program's icon window in the tray host, or None."""
        ids = run("xdotool", "search", "--classname", "tovrin", env=self.desktop.env,
                  check=False).stdout.split()
        for wid in ids:
            info = run("xwininfo", "-id", wid, env=self.desktop.env, check=False).stdout
            size = re.search(r"Width:\s*(\d+).*?Height:\s*(\d+)", info, re.S)
            state = re.search(r"Map State:\s*(\w+)", info)
            if size and int(size.group(1)) <= 48 and int(size.group(2)) <= 48 \
                    and state and state.group(1) == "IsViewable":
                return wid
        return None

    def wait_for_tray_icon(self, timeout=15.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            icon = self.tray_icon()
            if icon:
                return icon
            time.sleep(0.2)
        return None

    def click_tray(self, button=1):
        icon = self.wait_for_tray_icon()
        self.assertIsNotNone(icon, "no tray icon")
        self.desktop.xdo("mousemove", "--window", icon, "8", "8")
        self.desktop.xdo("click", str(button))
