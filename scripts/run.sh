#!/usr/bin/env bash
# Installs what is missing, builds Tovrin and starts it.
# Without a display it starts Tovrin on a virtual X display, saves a screenshot of the
# window to build/tovrin-screenshot.png and stops again.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tovrin

exe=build/default/src/tovrin

if [ "$(id -u)" -eq 0 ]; then
  # The browser engine refuses to run as root with its sandbox on. Tovrin never turns
  # the sandbox off itself; for a root session (containers, CI machines) this script does.
  echo "Running as root: starting the browser engine without its sandbox." >&2
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$exe"
fi

echo "No display: starting Tovrin on a virtual X display." >&2
exec bash scripts/show-on-virtual-display.sh "$exe" build/tovrin-screenshot.png
