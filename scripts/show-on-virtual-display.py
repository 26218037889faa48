"""Starts Tovrin on a virtual X display with a window manager and a tray host, waits
for its window and its first page, saves a screenshot and stops everything again."""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from desktop import XDesktop  # noqa: E402
from harness import stop_process  # noqa: E402


def main():
    exe, screenshot = sys.argv[1], sys.argv[2]
    with XDesktop() as desktop:
        env = dict(desktop.env, QT_LOGGING_RULES="tovrin.startup.info=true")
        proc = desktop.spawn([exe], env, stderr=None)
        try:
            wid = desktop.find_window(exact=False)
            time.sleep(3)  # the instruction page and the start-up balloon
            desktop.screenshot(screenshot)
            print("Tovrin's window %s is up; screenshot saved to %s" % (wid, screenshot))
        finally:
            stop_process(proc, timeout=20)


if __name__ == "__main__":
    main()
