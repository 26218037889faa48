"""A word handed to a running program: Tovrin's "tovrin WORD" against the peer's
"goldendict WORD", each to its own running instance, side by side on one virtual
desktop with one recording proxy; Tovrin's cold "tovrin WORD" against the bare one-view
program's first request; and what five launches leave running.

usage: measure_handover.py TOVRIN MINIMAL_WEBENGINE [runs] [OLD_TOVRIN]

- Warm: the time from starting the launch to the lookup's request at the proxy, the
  instance started and settled first. Also how long the launch itself takes to end.
- Cold: "tovrin WORD" with none running, to the lookup's request; the bare program to
  its first page's request.
- Five launches of each build given (OLD_TOVRIN: a build from before one program a
  session): the windows, tray icons and browser-engine processes they leave.
bench/install-peer.sh installs the peer.
"""

import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
from app import CAPTION  # noqa: E402
from desktop import XDesktop  # noqa: E402
from harness import processes, stop_process  # noqa: E402
from measure_desktop import engine_env, ratio_interval, stop_and_settle  # noqa: E402
from measure_first_lookup import (BARE_PAGE, PEER_PATH, create_peer_defaults,  # noqa: E402
                                  peer_config, request_after, summary)
from recording_proxy import RecordingProxy  # noqa: E402


def dreye(word):
    return "http://www.dreye.com.cn/ews/%s--01--.html" % word


def warm(desktop, proxy, first, launch, address, runs):
    """Starts the instance, then runs launches to it: (ms to each request, ms to each end)."""
    proc = subprocess.Popen(first, env=desktop.bench_env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    time.sleep(6)  # up, its first page in, settled
    requests, ends = [], []
    for i in range(runs):
        word = "warm%d" % i
        since = proxy.count()
        t0 = time.monotonic()
        launched = subprocess.Popen(launch(word), env=desktop.bench_env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        requests.append(request_after(proxy, address(word), since, t0, timeout=10))
        try:
            launched.wait(10)
            ends.append((time.monotonic() - t0) * 1000)
        except subprocess.TimeoutExpired:  # a launch that stays: a second program
            stop_process(launched)
        time.sleep(0.5)
    stop_and_settle(proc)
    return requests, ends


def cold(desktop, proxy, argv, address):
    since = proxy.count()
    t0 = time.monotonic()
    proc = subprocess.Popen(argv, env=desktop.bench_env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    request = request_after(proxy, address, since, t0)
    time.sleep(1.5)
    stop_and_settle(proc)
    return request


def five_launches(desktop, exe):
    """What five launches of a build leave: windows, tray icons, engine processes."""
    procs = []
    for _ in range(5):
        procs.append(subprocess.Popen([exe], env=desktop.bench_env, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(3)
    time.sleep(3)
    engines = sum("QtWebEngineProcess" in line for _, line in processes().values())
    counts = (len(desktop.screen.find(name=CAPTION)), len(desktop.screen.tray_icons()), engines)
    for proc in procs:
        stop_and_settle(proc)
    return counts


def main():
    tovrin, minimal = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    old = sys.argv[4] if len(sys.argv) > 4 else None
    if not shutil.which("goldendict"):
        raise SystemExit("the peer is not installed: run bench/install-peer.sh")
    with RecordingProxy() as proxy, XDesktop() as desktop:
        desktop.bench_env = engine_env(desktop, proxy)
        create_peer_defaults(desktop)
        peer_config(desktop.home, proxy.port)
        # The peer asks the proxy as its server, not through it.
        peer_env = {k: v for k, v in desktop.env.items() if not k.lower().endswith("_proxy")}

        t_requests, t_ends = warm(desktop, proxy, [tovrin], lambda w: [tovrin, w], dreye, runs)
        saved, desktop.bench_env = desktop.bench_env, peer_env
        p_requests, p_ends = warm(desktop, proxy, ["goldendict"], lambda w: ["goldendict", w],
                                  lambda w: PEER_PATH + w, runs)
        desktop.bench_env = saved
        print("warm, %d launches each, launch -> lookup request (median, range):" % runs)
        print(summary("  tovrin WORD", t_requests))
        print(summary("  goldendict WORD", p_requests))
        print(summary("  tovrin WORD, the launch ends", t_ends))
        print(summary("  goldendict WORD, the launch ends", p_ends))
        low, high = ratio_interval(t_requests, p_requests)
        print("  ratio tovrin / peer %.2f (90%% interval %.2f..%.2f)"
              % (statistics.median(t_requests) / statistics.median(p_requests), low, high))

        t_cold, b_cold = [], []
        for run in range(runs):
            order = [lambda: t_cold.append(cold(desktop, proxy, [tovrin, "cold"], dreye("cold"))),
                     lambda: b_cold.append(cold(desktop, proxy, [minimal, BARE_PAGE], BARE_PAGE))]
            for i in range(2):
                order[(run + i) % 2]()
        print("cold, %d starts each, launch -> first request:" % runs)
        print(summary("  tovrin cold", t_cold))
        print(summary("  bare program's first page", b_cold))
        low, high = ratio_interval(t_cold, b_cold)
        print("  ratio tovrin / bare %.2f (90%% interval %.2f..%.2f)"
              % (statistics.median(t_cold) / statistics.median(b_cold), low, high))

        for name, exe in (("before", old), ("after", tovrin)):
            if exe:
                windows, icons, engines = five_launches(desktop, exe)
                print("five launches, %s (%s): %d windows, %d tray icons, %d engine processes"
                      % (name, exe, windows, icons, engines))


if __name__ == "__main__":
    main()
