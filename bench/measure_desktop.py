"""Start-up, memory and lookup latency of Tovrin against a minimal one-view WebEngine
program, measured side by side on one virtual desktop with the same page served by the
same recording proxy.

usage: measure_desktop.py TOVRIN_WITH_MAKER_HOST[,ANOTHER...] MINIMAL_WEBENGINE [runs] [lookups]

Several builds of Tovrin, separated by commas (before and after a change), are measured
side by side in the same runs, each against the same starts of the bare program.

Start-up is the wall time from starting the process to its report that the result
browser has finished loading the instruction page; memory is the proportional set size
(PSS) of the program and all its browser-engine processes once start-up has settled.
Starts vary from run to run on a busy machine, so the start-up ratio comes with an
interval drawn from the runs themselves.
"""

import os
import random
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from desktop import XDesktop  # noqa: E402
from harness import process_tree, program_env, pss_mib, stop_process  # noqa: E402
from recording_proxy import RecordingProxy  # noqa: E402

PAGE = "http://maker.tovrin.test/gengxin/instruction.html"


def ratio_interval(tovrin, minimal, draws=2000, seed=1):
    """The 5th and 95th percentiles of the ratio of medians over resampled runs (each run
    keeps its pair of starts): how far the figure could move on another day's runs."""
    rng = random.Random(seed)
    runs = list(zip(tovrin, minimal))
    ratios = []
    for _ in range(draws):
        sample = [rng.choice(runs) for _ in runs]
        ratios.append(statistics.median(t for t, _ in sample) /
                      statistics.median(m for _, m in sample))
    ratios.sort()
    return ratios[int(draws * 0.05)], ratios[int(draws * 0.95) - 1]


def stop_and_settle(proc):
    """Stops a program and waits until all its processes are gone, so that the next
    start does not share the machine with this one's shutting down."""
    tree = process_tree(proc.pid)
    stop_process(proc)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and any(os.path.exists("/proc/%d" % p) for p in tree):
        time.sleep(0.02)
    time.sleep(0.5)


def start_and_time(desktop, argv, env, marker):
    """Starts argv, returns (process, seconds until a line containing marker)."""
    t0 = time.monotonic()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            stdin=subprocess.DEVNULL, text=True)
    found = threading.Event()
    elapsed = [None]

    def reader():
        for line in proc.stdout:
            if marker in line and not found.is_set():
                elapsed[0] = time.monotonic() - t0
                found.set()

    threading.Thread(target=reader, daemon=True).start()
    found.wait(60)
    return proc, elapsed[0]


def engine_env(desktop, proxy):
    """The environment the programs start in: every request through the proxy."""
    return program_env(desktop.env, proxy.port, desktop.program_home)


def enter_latency(desktop, proxy, tovrin, env, lookups):
    """Enter to the request at the proxy, over lookups of one word: (delays, lost). Enter
    goes through the bench's own X connection, so that no xdotool start is timed."""
    proc, _ = start_and_time(desktop, [tovrin], env, "first page loaded")
    time.sleep(1)
    subprocess.run(["xdotool", "type", "--delay", "10", "latency"], env=desktop.env, check=True)
    delays = []
    for _ in range(lookups):
        since = proxy.count()
        t0 = time.monotonic()
        desktop.screen.press("Return")
        found = proxy.wait_for(lambda a: len(a) >= 1, timeout=10, since=since)
        if found:
            delays.append((proxy.time_of(found[0], since) - t0) * 1000)
        time.sleep(0.3)
    stop_and_settle(proc)
    return delays, lookups - len(delays)


def main():
    builds = sys.argv[1].split(",")
    minimal = sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    lookups = int(sys.argv[4]) if len(sys.argv) > 4 else 50
    with RecordingProxy() as proxy, XDesktop() as desktop:
        env = engine_env(desktop, proxy)
        tovrin_env = dict(env, QT_LOGGING_RULES="tovrin.startup.info=true")

        results = {name: ([], []) for name in ["minimal"] + builds}
        programs = [("minimal", [minimal, PAGE], env)] + [(b, [b], tovrin_env) for b in builds]
        for run in range(runs):
            # Rotate which program goes first, so none always follows another.
            shift = run % len(programs)
            for name, argv, e in programs[shift:] + programs[:shift]:
                proc, seconds = start_and_time(desktop, argv, e, "first page loaded")
                time.sleep(3)  # let start-up settle before reading memory
                results[name][0].append(seconds * 1000 if seconds else float("nan"))
                results[name][1].append(pss_mib(process_tree(proc.pid)))
                stop_and_settle(proc)

        m_med = statistics.median(results["minimal"][0])
        m_mem = statistics.median(results["minimal"][1])
        print("start-up to the instruction page loaded, and memory (PSS of all processes)")
        print("after start-up, medians of %d runs; the bare program: %.1f ms, %.1f MiB"
              % (runs, m_med, m_mem))
        for build in builds:
            t_med = statistics.median(results[build][0])
            t_mem = statistics.median(results[build][1])
            low, high = ratio_interval(results[build][0], results["minimal"][0])
            print("  %s\n    %7.1f ms, ratio %.2f (90%% bootstrap interval %.2f..%.2f); "
                  "%.1f MiB, ratio %.2f" % (build, t_med, t_med / m_med, low, high, t_mem,
                                            t_mem / m_mem))
        for build in builds:
            delays, lost = enter_latency(desktop, proxy, build, tovrin_env, lookups)
            print("Enter to request at the proxy, %s, %d lookups: median %.1f ms, "
                  "90th percentile %.1f ms, lost %d" % (
                      build, lookups, statistics.median(delays),
                      sorted(delays)[int(len(delays) * 0.9) - 1], lost))


if __name__ == "__main__":
    main()
