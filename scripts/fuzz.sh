#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers on)
# and runs each one.   usage: scripts/fuzz.sh [seconds per target | -runs=N]
# The seed corpus in fuzz/corpus is read, never written.
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-30}"
out=build/fuzz
mkdir -p "$out"

flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc -Itests/support)
core=(src/lookup/Utf8EncodeUri.cpp src/lookup/ServiceHosts.cpp src/lookup/SiteCatalogue.cpp)

for target in Utf8EncodeUri SiteAddress; do
  exe="$out/fuzz_$target"
  if [ ! -x "$exe" ] || [ -n "$(find fuzz src/lookup -newer "$exe" -print -quit)" ]; then
    clang++ "${flags[@]}" "fuzz/Fuzz$target.cpp" "${core[@]}" -o "$exe"
  fi
  case "$target" in Utf8EncodeUri) corpus=fuzz/corpus/encode ;; *) corpus=fuzz/corpus/address ;; esac
  work="$out/corpus-$target"
  mkdir -p "$work"
  if [[ "$limit" == -runs=* ]]; then
    run=("$limit")
  else
    run=(-max_total_time="$limit")
  fi
  echo "== $target"
  status=0
  "$exe" "${run[@]}" -max_len=4096 -print_final_stats=1 "$work" "$corpus" >"$out/$target.log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)|ERROR|SUMMARY' "$out/$target.log" || true
  if [ "$status" -ne 0 ]; then
    tail -40 "$out/$target.log"
    exit "$status"
  fi
done
