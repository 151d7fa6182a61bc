#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS seconds on a copy of
# its seed corpus. A crash, hang, leak or sanitizer report fails the run and
# leaves the input that caused it in BUILD_DIR/fuzz-findings/.
# usage: run-fuzzers.sh [SECONDS] [TARGET...]   (default 30 s, every target)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-30}
shift || true
build=$(realpath -m "${BUILD_DIR:-build-fuzz}")
if [ ! -f "$build/build.ninja" ]; then
  mkdir -p "$build"
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DOSSMIRE_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 || {
    cat "$build/configure.log"
    exit 1
  }
fi
findings=$build/fuzz-findings
mkdir -p "$findings"
ninja -C "$build" fuzzers >"$findings/build.log" 2>&1 || {
  cat "$findings/build.log"
  exit 1
}

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(gamedata save mapfile wave bmp)
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  cp tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  log=$findings/$t.log
  echo "fuzz_$t: ${seconds}s"
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 \
      -print_final_stats=1 -artifact_prefix="$findings/$t-" "$work" >"$log" 2>&1; then
    grep -E "^stat::number_of_executed_units|^Done" "$log" | tr '\n' ' ' || true
    echo
  else
    failed+=("$t")
    grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$log" | head -20 || tail -20 "$log"
  fi
  rm -rf "$work"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
  echo "fuzzing found faults in: ${failed[*]} (logs and inputs in $findings)"
  exit 1
fi
echo "fuzz: ${#targets[@]} passed, 0 failed"
