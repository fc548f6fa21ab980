#!/usr/bin/env bash
# Builds the settings reader's fuzz target with clang (libFuzzer, ASan,
# UBSan) and runs it for SECONDS from the seed corpus. A crash, leak,
# timeout or sanitizer report fails the run.
#   tests/fuzz/run-fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1 seconds=$2
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVERONDEL_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target settings_fuzz >/dev/null
mkdir -p "$build/corpus"   # what the run finds stays in the build, not in the tree
"$build/settings_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
    -print_final_stats=1 "$build/corpus" "$root/tests/fuzz/corpus" 2>&1 | tail -n 12
