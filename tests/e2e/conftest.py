"""The fixtures of the end-to-end tests. A test class says what it needs in class
attributes, and the class-scoped fixture `app` starts it once for the class:

    exe        the environment variable naming the program ("TOVRIN_EXE")
    desktop    "x" (openbox, and trayer where with_tray), "xfce" (Xfce's panel and a
               notification service), "screen_reader", "input_method"
    with_tray, session_bus, refuse (a proxy that refuses everything), pages (the
    proxy's own pages), extra_env, opener (a recording desktop opener), needs (tools),
    keep_greeting (the greeting balloon left up; else it is closed before the tests),
    before_start(desktop, launch) (changes to the launch: exe, account)

A tool missing for a group skips it with one line that names the tool; under CI=true
that is a failure, so that a missing install step cannot hide behind a skip."""

import os
import shutil
import time

import pytest

# The checks inside the driver count with the tests' own (see pytest_terminal_summary).
pytest.register_assert_rewrite("app")

import desktop as desktops  # noqa: E402
from app import CAPTION, App  # noqa: E402
from harness import wait_for  # noqa: E402
from recording_proxy import RecordingProxy  # noqa: E402


def need(*tools):
    missing = [t for t in tools if shutil.which(t) is None]
    if missing:
        message = "needs %s, which %s not installed" % (
            ", ".join(missing), "is" if len(missing) == 1 else "are")
        if os.environ.get("CI") == "true":
            pytest.fail(message, pytrace=False)
        pytest.skip(message)


def program_path(variable):
    exe = os.environ.get(variable)
    if not exe or not os.path.exists(exe):
        pytest.fail("%s is not set to a built program" % variable, pytrace=False)
    return exe


PASSED_ASSERTS = [0]


def pytest_assertion_pass(item, lineno, orig, expl):
    PASSED_ASSERTS[0] += 1


def pytest_terminal_summary(terminalreporter):
    # What the group checked as it ran: each assert that passed, in the tests and in the
    # driver, and each condition the tests waited for and saw.
    terminalreporter.write_line("checks passed: %d asserts, %d conditions waited for"
                                % (PASSED_ASSERTS[0], App.conditions_seen))


def pytest_sessionfinish(session, exitstatus):
    # A group whose every case was skipped tells CTest so.
    stats = session.config.pluginmanager.get_plugin("terminalreporter").stats
    if exitstatus == 0 and stats.get("skipped") and not stats.get("passed"):
        session.exitstatus = 77


@pytest.fixture
def proxy():
    with RecordingProxy() as p:
        yield p


def start_x_desktop(with_tray=True, session_bus=False):
    need("Xvfb", "openbox", "xdotool", *(["trayer"] if with_tray else []),
         *(["dbus-daemon"] if session_bus else []))
    return desktops.XDesktop(with_tray, session_bus)


@pytest.fixture
def x_desktop(request):
    """An X desktop with a notification area; `@pytest.mark.desktop(with_tray=False)`
    leaves it out."""
    marker = request.node.get_closest_marker("desktop")
    with start_x_desktop(**(marker.kwargs if marker else {})) as d:
        yield d


@pytest.fixture
def wayland_session():
    """Starts Wayland sessions (with or without XWayland) that end with the test."""
    need("weston", "dbus-daemon")
    sessions = []

    def start(xwayland):
        need(*(["Xwayland"] if xwayland else []))
        sessions.append(desktops.WaylandSession(xwayland))
        return sessions[-1]

    yield start
    for s in sessions:
        s.close()


def recording_opener(processes, env):
    """The desktop's opener, replaced by one that only writes its arguments down. Returns
    the function that reads what it was given."""
    log = os.path.join(processes.folder("opener-"), "opened")
    opener = desktops.write_files(os.path.dirname(log), {
        "xdg-open": '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' % log})
    os.chmod(os.path.join(opener, "xdg-open"), 0o755)
    env.update(PATH=opener + os.pathsep + os.environ.get("PATH", ""), BROWSER="",
               DEFAULT_BROWSER="")
    return lambda: open(log).read().splitlines() if os.path.exists(log) else []


# What each kind of desktop adds to the X desktop before the program starts.

def _xfce(d):
    need("xfce4-panel")
    d.notifications = desktops.StatusNotifierTray(d, d.env, notifications_only=True)
    d.start_xfce_panel()


def _screen_reader(d):
    desktops.switch_on_assistive_technology(d.env)
    # The reader's side of the bus: this process, on the same desktop.
    os.environ.update(DBUS_SESSION_BUS_ADDRESS=d.env["DBUS_SESSION_BUS_ADDRESS"],
                      DISPLAY=d.env["DISPLAY"])


def _input_method(d):
    need("fcitx5", "fcitx5-remote")
    from test_input_method import CONFIG, PROFILE
    d.im_env = d.start_input_method(PROFILE, CONFIG)


KINDS = {"x": (None, False), "xfce": (_xfce, True), "screen_reader": (_screen_reader, True),
         "input_method": (_input_method, True)}


@pytest.fixture(scope="class")
def app(request):
    cls = request.cls
    setting = lambda name, default: getattr(cls, name, default)  # noqa: E731
    need(*setting("needs", ()))
    prepare, bus = KINDS[setting("desktop", "x")]
    with RecordingProxy(refuse=setting("refuse", False), pages=setting("pages", {})) as proxy, \
            start_x_desktop(setting("with_tray", True), setting("session_bus", bus)) as d:
        program = None
        try:
            if prepare:
                prepare(d)
            env = dict(setting("extra_env", {}))
            opened = recording_opener(d, env) if setting("opener", False) else None
            launch = {"exe": program_path(setting("exe", "TOVRIN_EXE")), "account": None}
            if hasattr(cls, "before_start"):
                launch.update(cls.before_start(d, launch))
            program = desktops.Program(d, launch["exe"], proxy.port, env, launch["account"])
            a = App(d, proxy, program, d.find_window(CAPTION))
            a.opened = opened
            # The window is shown, activated and its first pages requested; with a
            # notification area, the greeting balloon follows the first page: let it
            # come up, so that tests counting the program's windows start after it.
            deadline = time.monotonic() + 20
            for settled in [lambda: d.screen.active_window() == a.wid] + (
                    [lambda: len(a.windows()) >= 3] if setting("with_tray", True) else []):
                try:
                    wait_for(settled, max(0.1, deadline - time.monotonic()))
                except AssertionError:
                    pass  # the tests say what is missing
            time.sleep(0.5)
            yield a
        finally:
            log = os.environ.get("TOVRIN_E2E_LOG")
            if log and program:
                with open(log, "a") as f:
                    f.write(program.output())
