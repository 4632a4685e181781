#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) in
# build/fuzz and runs each for SECONDS (default 20) from its committed seeds. A crash leaves its
# input in build/fuzz/artifacts/ and fails the run. Prints the executions of each target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
# Absolute paths: the script target works in a scratch folder of its own.
root="$PWD"
build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DLINTARO_FUZZ=ON -DLINTARO_SANITIZE=ON -DLINTARO_QT=OFF -DLINTARO_TESTS=OFF > /dev/null
targets=(table_reader settings_load registry_text command_line script)
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/artifacts"
failed=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build/artifacts/$target-")
  [ -f "fuzz/$target.dict" ] && options+=(-dict="$root/fuzz/$target.dict")
  log="$build/$target.log"
  if "$build/bin/fuzz_$target" "${options[@]}" "$corpus" "$root/fuzz/corpus/$target" > "$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $target: ${runs:-?} runs in ${seconds} s, no crash"
  else
    echo "fuzz $target: FAILED (see $log)"
    tail -n 40 "$log"
    failed=1
  fi
done
exit "$failed"
