"""Hostile pages through the real window: every page stays in its view, nothing reaches
another program but what the user clicked (web and mail addresses) and the contact
page's messenger, no address ends the program, and lookups work afterwards."""

import time

import pytest

from app import NUMBER, px, url
from harness import files_below

HTML = "text/html; charset=utf-8"


def page(script="", body=""):
    return (HTML, "<!DOCTYPE html><html><head><meta charset='utf-8'></head><body>%s"
                  "<script>%s</script></body></html>" % (body, script), {})



def link(href, target=""):
    """A link that covers the whole page, so that a click anywhere follows it."""
    return page(body="<a href='%s' %s style='position:fixed;inset:0;display:block'>x</a>"
                % (href, "target='%s'" % target if target else ""))


CONTACT = url("http://wpa.qq.com/msgrd?v=1&uin=%s&site=qq&menu=yes") % NUMBER
LAUNCH = "tencent://message/?uin=%s&Site=qq&Menu=yes" % NUMBER
REPORT = "http://localhost/report?"

# Pages that try to reach past their view: the case, the page's name, what may reach the
# desktop's opener, and whether the user clicks it.
HOSTILE = [
    ("script window on load", "script-window", page("window.open('http://popup.test/onload')"),
     [], False),
    ("window on a click", "gesture-window", link("http://popup.test/clicked", "_blank"),
     ["http://popup.test/clicked"], True),
    ("three windows on one click", "gesture-three", page(
        "document.onclick = () => { for (let i = 0; i < 3; i++) "
        "window.open('http://popup.test/three' + i); }",
        "<div style='position:fixed;inset:0'></div>"), ["http://popup.test/three0"], True),
    ("unknown scheme, new window", "foo-blank", link("foo:bar", "_blank"), [], True),
    ("unknown scheme link", "foo-link", link("foo:bar"), [], True),
    ("file link", "file-link", link("file:///etc/passwd"), [], True),
    ("file link, new window", "file-blank", link("file:///etc/passwd", "_blank"), [], True),
    ("messenger link outside the contact control", "launch-link", link(LAUNCH), [], True),
    ("mail link clicked", "mailto-link", link("mailto:someone@example.test"),
     ["mailto:someone@example.test"], True),
    ("mail address by script", "mailto-script", page("location.href = 'mailto:auto@example.test'"),
     [], False),
    ("endless window.open", "open-loop", page(
        "setInterval(() => { for (let i = 0; i < 50; i++) "
        "window.open('http://popup.test/loop'); }, 10)"), [], False),
    ("page closes its window", "closes-itself", page("setTimeout(() => window.close(), 100)"),
     [], False),
]

PAGES = {
    **{"http://hostile.test/" + name: content for _, name, content, _, _ in HOSTILE},
    "http://hostile.test/killed": page(body="<p>killed on every load</p>"),
    "http://hostile.test/download": page("location.href = '/file.bin'"),
    "http://hostile.test/file.bin": ("application/octet-stream", b"\0" * 100000,
                                     {"Content-Disposition": "attachment; filename=file.bin"}),
    "http://localhost/permissions": page(
        "const report = (k, v) => { new Image().src = '%s' + k + '=' + v; };"
        "navigator.geolocation.getCurrentPosition(() => report('geo', 'granted'),"
        "  () => report('geo', 'denied'));"
        "Notification.requestPermission().then(p => report('notification', p));"
        "navigator.mediaDevices.getUserMedia({video: true}).then("
        "  () => report('camera', 'granted'), e => report('camera', e.name));" % REPORT),
    # The contact page hands over to the messenger, tries a scheme it may not, and then
    # a stream of dialogs nobody would see.
    CONTACT: page("location.href = '%s';"
                  "setTimeout(() => { location.href = 'foo:from-contact';"
                  "  for (let i = 0; i < 500; i++) alert('x' + i);"
                  "  new Image().src = '%salerts=done'; }, 300)" % (LAUNCH, REPORT)),
}

# Typed in the web-browsing category: none of these may load, and none may end the program.
TYPED = [
    "chrome://inducebrowsercrashforrealz", "chrome://crash", "chrome://kill", "chrome://hang",
    "chrome://gpucrash", "chrome://memory-exhaust", "chrome://settings", "about:gpu",
    "view-source:http://hostile.test/", "javascript:alert(1)", "file:///etc/passwd",
    "/etc/passwd", "data:text/html,<b>x</b>", "qrc:/app/tovrin.png", "foo:bar", "http://",
]


def open_typed(app, address):
    app.choose_category(2)
    app.query(address)
    app.key("Return")


def click_page(app):
    app.click(px(5000), px(3500))


def requests_to(app, host, since):
    return [a for a in app.proxy.addresses(since) if a.startswith("http://%s/" % host)]


# One case: load a page (and click it), then see what reached the desktop.
def case_page(app, name, expected, click=False, settle=1.5):
    address = "http://hostile.test/" + name
    before = len(app.opened())
    since = app.proxy.count()
    open_typed(app, address)
    assert app.proxy.wait_for(lambda a: address in a, timeout=10, since=since), \
        "the page was not requested\n" + app.trace()
    if click:
        app.wait_loaded(address)
        click_page(app)
    time.sleep(settle)
    app.alive_and_responsive()
    assert app.opened()[before:] == expected, "%s\n%s" % (app.proxy.addresses(since),
                                                         app.trace())
    assert requests_to(app, "popup.test", since) == [], "a window loaded in-app"


def case_typed(app, text):
    since = app.proxy.count()
    open_typed(app, text)
    time.sleep(1.0)
    app.alive_and_responsive()
    # (The contact page reports its dialogs again whenever it is reloaded.)
    requested = [a for a in app.proxy.addresses(since) if not a.startswith(REPORT)]
    assert requested == [], "something was requested"
    assert "address refused" in app.trace(5)


def case_contact(app):
    before = len(app.opened())
    windows = app.windows()
    since = app.proxy.count()
    app.choose_category(0)
    app.expect_request(lambda: app.click_twips(10715, 6505, 1215, 375), CONTACT)
    app.wait_until(lambda: len(app.opened()) > before, 10, "the messenger to start")
    assert app.proxy.wait_for(lambda a: REPORT + "alerts=done" in a, 20, since), \
        "the dialogs held the contact page up\n" + app.trace()
    time.sleep(1.0)
    assert app.opened()[before:] == [LAUNCH]
    assert app.windows() - windows == set(), "a window came up for the contact page"


def case_permissions(app):
    since = app.proxy.count()
    open_typed(app, "http://localhost/permissions")
    reports = app.proxy.wait_for(
        lambda a: len([r for r in a if r.startswith(REPORT)]) >= 3, timeout=10, since=since)
    reports = sorted(r[len(REPORT):] for r in reports if r.startswith(REPORT))
    assert len(reports) == 3, "unanswered permission requests: %s" % reports
    assert not [r for r in reports if r.endswith("granted")], reports


def case_download(app):
    before = len(app.opened())
    since = app.proxy.count()
    open_typed(app, "http://hostile.test/download")
    assert app.proxy.wait_for(lambda a: "http://hostile.test/file.bin" in a, 10, since)
    time.sleep(1.5)
    app.alive_and_responsive()
    assert app.opened()[before:] == []


def case_killed_on_every_load(app):
    address = "http://hostile.test/killed"
    since = app.proxy.count()
    open_typed(app, address)
    assert app.proxy.wait_for(lambda a: address in a, timeout=10, since=since)
    # Every renderer is killed as soon as it is seen, for longer than the reloads last.
    deadline = time.monotonic() + 12
    while time.monotonic() < deadline:
        app.kill_renderers()
        time.sleep(0.05)
    app.alive_and_responsive()
    loads = app.proxy.addresses(since).count(address)
    assert loads >= 2, "never loaded again\n" + app.trace()
    assert loads <= 4, "loaded again more than three times"


CASES = {case: (lambda app, n=name, e=expected, c=click:
                case_page(app, n, e, c, settle=4 if n == "open-loop" else 1.5))
         for case, name, _, expected, click in HOSTILE}
CASES.update({
    "contact page starts the messenger and its dialogs stay unseen": case_contact,
    "permission requests": case_permissions,
    "download": case_download,
    "renderer killed on every load": case_killed_on_every_load,
})
CASES.update({"typed " + t: (lambda app, t=t: case_typed(app, t)) for t in TYPED})


class TestPagesStayInPlace:
    pages = PAGES
    opener = True

    @pytest.mark.parametrize("case", CASES)
    def test_hostile_page(self, app, case):
        CASES[case](app)

    def test_lookups_work_afterwards_and_nothing_was_written_at_home(self, app):
        app.choose_category(0)
        app.query("after")
        app.expect_request(lambda: app.key("F3"), url("http://dict.youdao.com/search?q=after"))
        assert files_below(app.desktop.program_home) == []


MAKER = "http://maker.tovrin.test/gengxin/"


def dialogs(app):
    """The dialogs pages have put up: the program's windows but its own, its icon and its
    greeting balloon."""
    return {w for w in app.windows() if app.screen.name(w) not in (app.screen.name(app.wid), "Tovrin")}


def requested(app, action, address):
    """Runs action and waits for address among the requests that follow (the strip's
    advertisement goes on loading itself meanwhile)."""
    since = app.proxy.count()
    action()
    assert address in app.proxy.wait_for(lambda a: address in a, 10, since), app.trace()


class TestDialogsOfTheStrip:
    """The strip's pages may ask the user only so often, and never stand in the way of the
    program: an advertisement that alerts and loads itself anew, and an update page that
    asks to stay."""
    exe = "TOVRIN_MAKER_EXE"
    pages = {
        MAKER + "ad.php*": page("alert('ad');"
                                "setTimeout(() => location.href = '/gengxin/ad.php?' + Date.now(), 300);"),
        MAKER + "cidiangengxin.html": page(
            "addEventListener('beforeunload', e => { e.preventDefault(); e.returnValue = ''; });",
            "<div style='position:fixed;inset:0'>update</div>"),
    }

    def test_1_three_dialogs_a_minute_however_often_the_page_loads_itself(self, app):
        seen = set()
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline:
            for dialog in dialogs(app) - seen:
                seen.add(dialog)
                app.xdo("windowactivate", dialog, check=False)
                app.key("Return")  # the user closes it
            time.sleep(0.2)
        loads = [a for a in app.proxy.addresses() if a.startswith(MAKER + "ad.php")]
        assert len(loads) > len(seen), "the page did not load itself again\n" + app.trace()
        assert len(seen) == 3, "%d dialogs in 15 s\n%s" % (len(seen), app.trace())
        # What the user types meanwhile is looked up.
        app.xdo("windowactivate", app.wid)
        app.query("still")
        requested(app, lambda: app.key("F3"), url("http://dict.youdao.com/search?q=still"))

    def test_2_a_page_that_asks_to_stay_does_not_hold_the_strip_open(self, app):
        requested(app, lambda: app.click_twips(5565, 7100, 900, 375),  # "检查更新"
                  MAKER + "cidiangengxin.html")
        app.wait_loaded(MAKER + "cidiangengxin.html")
        app.click(px(9000), px(7400))  # into the update page: it may now ask
        before = dialogs(app)
        app.click_twips(5565, 7595, 900, 375)  # "关闭广告"
        app.wait_for_outer_size(12030, 7300)
        time.sleep(1.0)
        assert dialogs(app) - before == set(), app.trace()
        # The page did ask, and the program answered for the user.
        assert "dialog answered without showing it; kind 3" in app.program.output()
