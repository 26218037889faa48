"""The program on its desktop as a user drives it (real clicks and keys through xdotool)
and as the tests watch it: its windows through the X server, its requests at the
recording proxy, its own trace."""

import contextlib
import os
import re
import signal
import time
import urllib.parse

from harness import renderer_pids, wait_for

TWIPS_PER_PIXEL = 15
NUMBER = os.environ.get("TOVRIN_MAKER_NUMBER", "20251207")
CAPTION = "Tovrin" + NUMBER
DESIGN_SIZE = (12030, 8595)  # the window's outer size at start, in twips


def _table(path, row):
    with open(os.path.join(os.path.dirname(__file__), "..", "..", path), encoding="utf-8") as f:
        return re.findall(row, f.read())


def _build_hosts():
    """Each service's host as this build has it: the source's table, with the build's
    overrides ("key=host;key=host", or with commas) applied, by the default host."""
    table = _table("src/lookup/ServiceHosts.h", r'\{Service::\w+, "([^"]+)", "([^"]+)"\}')
    overrides = dict(item.split("=", 1) for item in
                     re.split("[;,]", os.environ.get("TOVRIN_HOST_OVERRIDES", "")) if "=" in item)
    return {host: overrides.get(key, host) for key, host in table}


BUILD_HOSTS = _build_hosts()


def url(address):
    """A service's address, written with its default host, as this build requests it."""
    scheme, rest = address.split("://", 1)
    host, sep, path = rest.partition("/")
    return "%s://%s%s%s" % (scheme, BUILD_HOSTS.get(host, host), sep, path)


# Every site's address for the query "word", by table and number, from the hand-written
# table the unit tests check the catalogue against.
WORD_ADDRESSES = {(table, int(n)): address for table, n, address in _table(
    "tests/support/SiteAddresses.h", r'\{SiteTable::(\w+), (\d+),\s*"([^"]+)"\}')}


def site(table, number, query="word"):
    """The address the engine requests for a site and a query: the build's host, the
    query as it goes over the wire, the rest of the address escaped as the engine
    escapes it, and no fragment (that stays in the browser)."""
    address = WORD_ADDRESSES[(table, number)].split("#")[0]
    if table != "Translation":  # which uses no query
        at = address.rfind("word")
        address = address[:at] + wire(query) + address[at + 4:]
    return url(urllib.parse.quote(address, safe="".join(map(chr, range(33, 127)))))


def px(twips):
    return int(round(twips / TWIPS_PER_PIXEL))


def wire(query):
    """A query as it reaches the server: UTF-8, every byte but A-Z a-z 0-9 - . _ ~ escaped."""
    return urllib.parse.quote(query, safe="-._~")


class App:
    def __init__(self, desktop, proxy, program, wid):
        self.desktop, self.proxy, self.program, self.wid = desktop, proxy, program, wid
        self.proc, self.screen, self.xdo = program.proc, desktop.screen, desktop.xdo
        self.started = time.time()
        self.category = 0  # the category chosen last, as the selector starts
        self._last_click = (0.0, -100, -100)

    # Input

    def click(self, x, y, button=1):
        """Clicks at a point of the window's client area, in pixels. Two clicks at one
        place are kept apart so that they never make a double click (Qt's interval is
        400 ms, its distance 5 pixels)."""
        at, last_x, last_y = self._last_click
        if abs(x - last_x) <= 5 and abs(y - last_y) <= 5:
            time.sleep(max(0.0, 0.6 - (time.monotonic() - at)))
        self.xdo("mousemove", "--window", self.wid, x, y)
        self.xdo("click", button)
        self._last_click = (time.monotonic(), x, y)

    def click_twips(self, left, top, width, height):
        self.click(px(left + width / 2), px(top + height / 2))

    def key(self, *keys):
        self.xdo("key", "--clearmodifiers", *keys)

    def type_text(self, text):
        # Characters outside the keymap get keys of their own first, so that no key is
        # remapped while the program may still be reading it.
        if self.screen.bind_characters(text):
            time.sleep(0.3)  # the program reads the new keymap before the keys
        self.xdo("type", "--delay", "15", text)

    def query(self, text):
        """Replaces the query box's text by typing (a click selects it all)."""
        self.click(px(3000), px(180))
        self.type_text(text)

    def choose_category(self, index):
        """Picks a category in the selector with the arrow keys."""
        self.click(px(9540), px(180))
        for _ in range(abs(index - self.category)):
            self.key("Down" if index > self.category else "Up")
            time.sleep(0.05)
        self.category = index

    def kill_renderers(self, victims=None):
        """Kills the program's renderer processes (or those given); one that ended on its
        own meanwhile is no error. Returns the ones aimed at."""
        victims = renderer_pids(self.proc.pid) if victims is None else victims
        for pid in victims:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        return victims

    def click_tray(self, button=1):
        icon = self.wait_for_tray_icon()
        self.xdo("mousemove", "--window", icon, 8, 8)
        self.xdo("click", button)

    def open_tray_menu(self, click=None, drawn_by="tovrin"):
        """Opens the tray menu with a right click on the icon (or with click), and waits
        for the menu window of the program (or of the panel that draws it, or of anyone:
        None)."""
        time.sleep(0.5)  # let the window settle: a focus change closes a pop-up menu
        before = self.windows(drawn_by)
        (click or (lambda: self.click_tray(3)))()
        wait_for(lambda: self.windows(drawn_by) - before, what="the tray menu")
        time.sleep(0.2)

    # Observation

    def expect_request(self, action, address, timeout=15.0):
        """Runs action and checks that the next page request is exactly address. A
        lookup that never leaves fails: the user would have lost it."""
        since = self.proxy.count()
        action()
        found = self.proxy.wait_for(lambda a: len(a) >= 1, timeout=timeout, since=since)
        assert found, "no request after the action; expected %s\n%s" % (address, self.trace())
        assert urllib.parse.unquote(found[0]) == urllib.parse.unquote(address), self.trace()
        assert found[0] == address
        return found

    def expect_no_request(self, action, wait=1.5):
        since = self.proxy.count()
        action()
        time.sleep(wait)
        assert self.proxy.addresses(since) == []

    def alive_and_responsive(self):
        assert self.proc.poll() is None, "the program has ended"
        assert self.screen.name(self.wid).startswith("Tovrin")

    def windows(self, wm_class="tovrin"):
        """The program's windows on the screen (or another's, or anyone's: None)."""
        return set(self.screen.find(wm_class=wm_class))

    def shown(self):
        return self.screen.map_state(self.wid) == "IsViewable"

    def net_wm_state(self):
        return self.screen.net_wm_state(self.wid)

    def wm_state(self):
        return self.screen.wm_state(self.wid)

    def outer_size(self):
        return self.screen.outer_size(self.wid)

    def tray_icon(self):
        """The program's icon in the tray host, or None."""
        return next(iter(self.screen.tray_icons()), None)

    def wait_for_tray_icon(self, timeout=15.0):
        return wait_for(self.tray_icon, timeout, "the tray icon")

    def trace(self, lines=25):
        return self.program.trace(lines)

    conditions_seen = 0  # by every App of the run

    def wait_until(self, predicate, timeout=10.0, what="condition"):
        found = wait_for(predicate, timeout, what)
        App.conditions_seen += 1
        return found

    def wait_loaded(self, address, timeout=10.0):
        """Waits until the program's trace says a page has loaded; a page takes clicks
        once it is loaded and drawn."""
        loaded = 'load finished true QUrl("%s")' % address
        self.wait_until(lambda: loaded in self.trace(40), timeout, address + " to load")
        time.sleep(0.5)

    def wait_for_outer_size(self, twips_w, twips_h, timeout=10.0):
        """Waits for the window's outer size (frame included) to be exactly the one given."""
        wanted = (px(twips_w), px(twips_h))
        self.wait_until(lambda: self.outer_size() == wanted, timeout,
                        lambda: "%s, last seen %s\n%s" % (wanted, self.outer_size(), self.trace()))
