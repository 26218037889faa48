#!/usr/bin/env bash
# Installs the peer that bench/measure_first_lookup.py measures Tovrin against, from
# Debian's packages: a different dictionary program with website dictionaries.
set -euo pipefail
if dpkg-query -W -f='${Status}' goldendict 2>/dev/null | grep -q 'install ok installed'; then
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends goldendict </dev/null
