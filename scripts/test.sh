#!/usr/bin/env bash
# Installs what is missing, builds Tovrin and runs every test: unit tests, widget tests
# (offscreen) and end-to-end tests (the real program in Xvfb with openbox and trayer).
# Pass a preset name to test another build, e.g. "scripts/test.sh asan-ubsan".
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

# Tests run as root on CI machines; the browser engine needs its sandbox off for that.
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
ctest --preset "$preset"
