#!/usr/bin/env bash
# The README's run command as a newcomer meets it: no display, and a python3 first on
# PATH that has none of Debian's modules (pyenv, conda, a venv). The screenshot must be
# written all the same.
set -euo pipefail
cd "$(dirname "$0")/../.."
screenshot=build/tovrin-screenshot.png

venv="$(mktemp -d)"
trap 'rm -rf "$venv"' EXIT
/usr/bin/python3 -m venv --without-pip "$venv"
export PATH="$venv/bin:$PATH"
if python3 -c 'import gi' 2>/dev/null; then
  echo "the python3 first on PATH should lack Debian's modules" >&2
  exit 1
fi

rm -f "$screenshot"
env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh </dev/null
if [ "$(head -c 8 "$screenshot" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
  echo "no screenshot at $screenshot" >&2
  exit 1
fi
echo "run.sh without a display wrote $screenshot ($(stat -c %s "$screenshot") bytes)"
