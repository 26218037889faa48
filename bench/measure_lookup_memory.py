"""Memory of Tovrin and all its browser-engine processes over 1,000 lookups in a row.

usage: measure_lookup_memory.py TOVRIN [lookups]

Prints the proportional set size (PSS) after the first ten lookups and after the last,
and the growth between them."""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
sys.path.insert(0, HERE)
from desktop import Program, XDesktop  # noqa: E402
from harness import process_tree, pss_mib, stop_process  # noqa: E402
from recording_proxy import RecordingProxy  # noqa: E402


def main():
    exe = sys.argv[1]
    lookups = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    with RecordingProxy() as proxy, XDesktop() as desktop:
        program = Program(desktop, exe, proxy.port)
        desktop.find_window(exact=False)
        time.sleep(1.5)
        desktop.xdo("type", "--delay", "10", "memory")
        lost = 0
        after_ten = None
        for i in range(lookups):
            since = proxy.count()
            desktop.xdo("key", "F%d" % (i % 12 + 1))
            if not proxy.wait_for(lambda a: len(a) >= 1, timeout=5, since=since):
                lost += 1
            if i == 9:
                time.sleep(2)
                after_ten = pss_mib(process_tree(program.pid))
        time.sleep(2)
        after_all = pss_mib(process_tree(program.pid))
        stop_process(program.proc)
    print("PSS after 10 lookups: %.1f MiB; after %d: %.1f MiB; growth %.1f MiB; lost %d"
          % (after_ten, lookups, after_all, after_all - after_ten, lost))


if __name__ == "__main__":
    main()
