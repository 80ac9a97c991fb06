#!/usr/bin/env bash
# Fuzzes the zip reader, starting from the seed corpus in corpus/.
#   run_fuzz.sh FUZZER SECONDS   fuzz for that long; new inputs go to a work
#                                folder (printed), crashes to crash-* files there
#   run_fuzz.sh FUZZER --ci      replay every seed, then a short fixed run
# FUZZER is build/bin/zip_fuzz (built with clang, ASan and UBSan).
set -euo pipefail
fuzzer=$(realpath "$1")
mode=$2
seeds=$(realpath "$(dirname "$0")/corpus")
work=$(mktemp -d "${TMPDIR:-/tmp}/drevix-zip-corpus-XXXXXX")
cp "$seeds"/* "$work/"
cd "$work"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if [ "$mode" = --ci ]; then
  "$fuzzer" "$seeds"/*
  "$fuzzer" -runs=10000 -seed=1 -max_len=4096 -print_final_stats=1 "$work"
  rm -rf "$work"
else
  echo "working corpus: $work"
  "$fuzzer" -max_total_time="$mode" -max_len=65536 -print_final_stats=1 "$work"
fi
