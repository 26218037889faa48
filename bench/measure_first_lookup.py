"""Launch to the first lookup, as a user feels it, for Tovrin, the bare one-view WebEngine
program and a peer dictionary program, side by side on one virtual desktop with one
recording proxy.

usage: measure_first_lookup.py TOVRIN MINIMAL_WEBENGINE [runs]

- Tovrin: the word is typed (and Enter pressed) as soon as Tovrin reports that it is
  ready to type (painted, active, the query box holding the focus); the figure is the
  time from starting the process to the lookup's request at the proxy. Its own log adds
  when it was ready and when its first page was in.
- The bare program: the time to its first page's request at the proxy, and its own
  report of the first page loaded.
- The peer: Debian's goldendict with one website dictionary (served by the same
  proxy), started as "goldendict WORD"; the time to that dictionary's request.
  bench/install-peer.sh installs it.

Each run starts the three in a rotating order. Ratios come with a 90% bootstrap
interval drawn from the runs, as in measure_desktop.py.
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
from desktop import XDesktop  # noqa: E402
from measure_desktop import engine_env, ratio_interval, stop_and_settle  # noqa: E402
from recording_proxy import RecordingProxy  # noqa: E402

WORD = "lookup"
TOVRIN_REQUEST = "http://www.dreye.com.cn/ews/%s--01--.html" % WORD
BARE_PAGE = "http://bare.tovrin.test/first"
# The peer asks the recording proxy as its server, not through it: it applies its own
# proxy setting only once it is up, and would race its first lookup against it.
PEER_PATH = "/define?q="


def peer_config(home, proxy_port):
    """goldendict's settings: one website dictionary, served by the proxy, and no check
    for new releases."""
    folder = os.path.join(home, ".config", "goldendict")
    path = os.path.join(folder, "config")
    if not os.path.exists(path + ".default"):
        raise SystemExit("run the peer once to create its default settings first")
    with open(path + ".default") as f:
        text = f.read()
    site = "http://127.0.0.1:%d%s%%GDWORD%%" % (proxy_port, PEER_PATH)
    text = re.sub(r"<websites>.*?</websites>",
                  '<websites><website inside_iframe="0" enabled="1" id="tovrinbench" url="%s" '
                  'name="bench" icon=""/></websites>' % site, text, flags=re.S)
    text = re.sub(r"<checkForNewReleases>1<", "<checkForNewReleases>0<", text)
    with open(path, "w") as f:
        f.write(text)


def create_peer_defaults(desktop):
    """Starts the peer once so that it writes its default settings, and keeps a copy."""
    folder = os.path.join(desktop.home, ".config", "goldendict")
    proc = subprocess.Popen(["goldendict"], env=desktop.env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    time.sleep(5)
    stop_and_settle(proc)
    shutil.copy(os.path.join(folder, "config"), os.path.join(folder, "config.default"))


def request_after(proxy, address, since, t0, timeout=30):
    found = proxy.wait_for(lambda a: address in a, timeout=timeout, since=since)
    if address not in found:
        return float("nan")
    return (proxy.time_of(address, since) - t0) * 1000


def log_ms(text, label):
    m = re.search(r"%s(?: \(\w+\))?: (\d+) ms" % re.escape(label), text)
    return float(m.group(1)) if m else float("nan")


def run_tovrin(desktop, proxy, exe, env):
    """Types the word the moment Tovrin reports it is ready to type."""
    marker = "ready to type"
    since = proxy.count()
    t0 = time.monotonic()
    proc = subprocess.Popen([exe], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            stdin=subprocess.DEVNULL, text=True)
    lines = []
    ready = threading.Event()

    def read():
        for line in proc.stdout:
            lines.append(line)
            if marker in line:
                ready.set()

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    ready.wait(30)
    typed = (time.monotonic() - t0) * 1000
    desktop.xdo("type", WORD)  # xdotool's own pace, 12 ms a key
    desktop.xdo("key", "Return")
    lookup = request_after(proxy, TOVRIN_REQUEST, since, t0)
    time.sleep(1.5)
    stop_and_settle(proc)
    reader.join(5)
    text = "".join(lines)
    return {"typed": typed, "lookup": lookup, "ready": log_ms(text, "ready to type"),
            "first page": log_ms(text, "first page loaded")}


def run_bare(desktop, proxy, exe, env):
    since = proxy.count()
    t0 = time.monotonic()
    proc = subprocess.Popen([exe, BARE_PAGE], env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, text=True)
    request = request_after(proxy, BARE_PAGE, since, t0)
    time.sleep(1.5)
    stop_and_settle(proc)
    text = proc.stdout.read()
    return {"request": request, "first page": log_ms(text, "first page loaded")}


def run_peer(desktop, proxy):
    peer_config(desktop.home, proxy.port)
    since = proxy.count()
    t0 = time.monotonic()
    env = {k: v for k, v in desktop.env.items() if not k.lower().endswith("_proxy")}
    proc = subprocess.Popen(["goldendict", WORD], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    request = request_after(proxy, PEER_PATH + WORD, since, t0)
    time.sleep(1.5)
    stop_and_settle(proc)
    return {"request": request}


def summary(name, values):
    values = [v for v in values if v == v]
    return "%-34s median %7.1f ms  (%.0f..%.0f)" % (name, statistics.median(values),
                                                  min(values), max(values))


def main():
    tovrin, minimal = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    if not shutil.which("goldendict"):
        raise SystemExit("the peer is not installed: run bench/install-peer.sh")
    with RecordingProxy() as proxy, XDesktop() as desktop:
        env = engine_env(desktop, proxy)
        tovrin_env = dict(env, QT_LOGGING_RULES="tovrin.startup.info=true")
        create_peer_defaults(desktop)
        # A first start of each, not counted: the desktop's first program pays for
        # warming the X server and the font caches.
        run_tovrin(desktop, proxy, tovrin, tovrin_env)
        run_bare(desktop, proxy, minimal, env)
        run_peer(desktop, proxy)

        t, b, p = [], [], []
        order = [lambda: t.append(run_tovrin(desktop, proxy, tovrin, tovrin_env)),
                 lambda: b.append(run_bare(desktop, proxy, minimal, env)),
                 lambda: p.append(run_peer(desktop, proxy))]
        for run in range(runs):
            for i in range(3):
                order[(run + i) % 3]()

        print("over %d runs each (median, range):" % runs)
        print(summary("tovrin: ready to type (its log)", [r["ready"] for r in t]))
        print(summary("tovrin: launch -> typing starts", [r["typed"] for r in t]))
        print(summary("tovrin: launch -> lookup request", [r["lookup"] for r in t]))
        print(summary("tovrin: first page (its log)", [r["first page"] for r in t]))
        print(summary("bare: launch -> first request", [r["request"] for r in b]))
        print(summary("bare: first page (its log)", [r["first page"] for r in b]))
        print(summary("peer: launch -> first request", [r["request"] for r in p]))
        ready = [r["ready"] for r in t]
        bare = [r["first page"] for r in b]
        low, high = ratio_interval(ready, bare)
        print("ready to type / bare first page:    %.2f  (90%% interval %.2f..%.2f)"
              % (statistics.median(ready) / statistics.median(bare), low, high))
        lookups = [r["lookup"] for r in t]
        peer = [r["request"] for r in p]
        low, high = ratio_interval(lookups, peer)
        print("tovrin lookup / peer first request: %.2f  (90%% interval %.2f..%.2f)"
              % (statistics.median(lookups) / statistics.median(peer), low, high))


if __name__ == "__main__":
    main()
