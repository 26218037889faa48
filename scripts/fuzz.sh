#!/usr/bin/env bash
# Runs the libFuzzer targets of the fuzz preset (clang, address and undefined-behaviour
# sanitizers), building them first unless TOVRIN_FUZZ_BIN names where they are built.
#   usage: scripts/fuzz.sh [seconds per target | -runs=N]
# The seed corpus in fuzz/corpus is read, never written.
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-30}"
bin="${TOVRIN_FUZZ_BIN:-}"
if [ -z "$bin" ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
  bin=build/fuzz/fuzz
fi
work="$bin/corpus"

for target in Utf8EncodeUri SiteAddress; do
  case "$target" in Utf8EncodeUri) corpus=fuzz/corpus/encode ;; *) corpus=fuzz/corpus/address ;; esac
  mkdir -p "$work/$target"
  if [[ "$limit" == -runs=* ]]; then
    run=("$limit")
  else
    run=(-max_total_time="$limit")
  fi
  echo "== $target"
  status=0
  log="$work/$target.log"
  "$bin/fuzz_$target" "${run[@]}" -max_len=4096 -print_final_stats=1 "$work/$target" "$corpus" \
    >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done)|ERROR|SUMMARY' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -40 "$log"
    exit "$status"
  fi
done
