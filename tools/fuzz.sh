#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for SECONDS (default 60), starting from seeds made by the tests'
# builders, the real levels of CW_LEVELS_DIR (default ../shared/levels) when present, and every
# input saved in fuzz/regressions/. Prints executions, coverage and crashes per target; exits
# non-zero when any target failed. A failing input is left in build-fuzz/artifacts/<target>/:
# copy it into fuzz/regressions/<target>/ when the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
levels=${CW_LEVELS_DIR:-$(cd .. && pwd)/shared/levels}
build=build-fuzz
targets=(project_file base_level items_file mesh_file bmp_file)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCW_BUILD_FUZZ=ON -DCW_SANITIZE=ON \
  -DCW_BUILD_UI=OFF -DCW_BUILD_TESTS=OFF -DCW_BUILD_BENCH=OFF > "$build.configure.log" 2>&1 \
  || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target cw_data cw_make_fuzz_seeds "${targets[@]/#/fuzz_}"

seeds="$build/seeds"
rm -rf "$seeds"
"$build/fuzz/cw_make_fuzz_seeds" "$seeds" "$levels"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
report=()
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$corpus" "$artifacts" "fuzz/regressions/$t"
  cp -n "$seeds/$t"/* "$corpus"/ 2>/dev/null || true
  log="$build/$t.log"
  status=0
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" "fuzz/regressions/$t" > "$log" 2>&1 || status=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || echo 0)
  crashes=$(find "$artifacts" -type f | wc -l)
  if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    failed=1
    echo "---- $t failed (status $status); the end of its log:"
    tail -n 40 "$log"
  fi
  report+=("$(printf '%-14s %12s %8s %8s' "$t" "$execs" "$cov" "$crashes")")
done
printf '%-14s %12s %8s %8s\n' target executions coverage crashes
printf '%s\n' "${report[@]}"
exit $failed
