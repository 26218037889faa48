#!/usr/bin/env bash
# Installs, from Debian's packages, everything Tovrin needs to build, run and be tested.
# A second run is quick: packages already installed are skipped, and the package
# lists are only fetched when something is missing.
set -euo pipefail

packages=(
  # build
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev qt6-webengine-dev-tools libgl-dev libxcb1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # run: the Chinese fonts the window is designed with
  fonts-noto-cjk fonts-arphic-ukai
  # tests: a real X server, a window manager, a tray host and real input
  xvfb openbox trayer xdotool x11-utils x11-xserver-utils xclip imagemagick python3
  python3-pytest python3-xlib python3-venv
  # tests on other desktops: a session bus, a status-notifier tray and notification service
  # (mocked by dbusmock), Xfce's panel, Wayland with and without XWayland, a Chinese input
  # method, screen readers
  dbus-daemon python3-gi python3-dbusmock xfce4-panel
  weston xwayland qt6-wayland
  fcitx5 fcitx5-pinyin fcitx5-frontend-qt6
  at-spi2-core gir1.2-atspi-2.0
  # fuzzing
  clang libclang-rt-14-dev
  # packaging, and the checks a distribution applies to a package
  dpkg-dev file lintian appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
