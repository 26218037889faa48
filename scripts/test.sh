#!/usr/bin/env bash
# Installs what is missing, builds Tovrin and runs every test: unit tests, widget tests
# (offscreen), end-to-end tests (the real program in Xvfb with openbox and trayer), the
# package check — first in the ordinary build, then in the address- and
# undefined-behaviour-sanitizer build — a short fuzzing run, and the run command
# without a display.
# The fuzz preset builds the fuzz targets with clang and runs them for a short while.
# "scripts/test.sh default" (or asan-ubsan, fuzz, debug) tests one build only;
# TOVRIN_WERROR=ON makes warnings errors, as CI has them.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(default asan-ubsan fuzz)

bash scripts/install-deps.sh

# Tests run as root on CI machines; the browser engine needs its sandbox off for that.
# A group of end-to-end tests runs the program as an ordinary account with the sandbox
# on, as people run it: the account is made here if there is none.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
  id -u tovrin-test >/dev/null 2>&1 ||
    useradd --system --user-group --shell /usr/sbin/nologin --no-create-home tovrin-test
fi

for preset in "${presets[@]}"; do
  echo "=== $preset"
  cmake --preset "$preset" -DTOVRIN_WERROR="${TOVRIN_WERROR:-OFF}" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The run command as a newcomer meets it: no display, another python3 first on PATH.
if [[ " ${presets[*]} " == *" default "* ]]; then
  echo "=== run.sh without a display"
  bash tests/scripts/run_without_display.sh
fi
