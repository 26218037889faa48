"""Counts the checks of each end-to-end group: assertions (unittest's self.assert* and
self.fail, or plain assert and pytest.fail) and the harness's checking calls (a request
expected or not, a condition or size waited for, the program alive), as written in the
group's test file.

usage: count_e2e_checks.py TESTS_E2E_FOLDER
"""

import os
import re
import sys

CHECKS = re.compile(r"self\.assert\w+\(|self\.fail\(|^\s*assert\b|pytest\.fail\(|"
                    r"expect_request\(|expect_no_request\(|wait_until\(|wait_for_outer_size\(|"
                    r"wait_loaded\(|alive_and_responsive\(", re.M)
CASES = re.compile(r"^\s*def test_\w+", re.M)


def main():
    folder = sys.argv[1]
    total = 0
    for name in sorted(os.listdir(folder)):
        if name.startswith("test_") and name.endswith(".py"):
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                text = f.read()
            checks = len(CHECKS.findall(text))
            total += checks
            print("%-22s %3d checks in %2d test functions" % (name[5:-3], checks,
                                                             len(CASES.findall(text))))
    print("%-22s %3d" % ("all", total))


if __name__ == "__main__":
    main()
