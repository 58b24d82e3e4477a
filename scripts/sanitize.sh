#!/usr/bin/env bash
# Runs the program under the sanitizers:
#  - the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer;
#  - the unit tests and the real-window tests (Xvfb) under ThreadSanitizer;
#  - the drawing API fuzzer (libFuzzer, clang) under ASan and UBSan for at least
#    FOGLOOM_FUZZ_CALLS calls (10 million by default).
# Each build goes to its own folder (build-asan, build-tsan, build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

calls=${FOGLOOM_FUZZ_CALLS:-10000000}
jobs=$(nproc)

configure() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOGLOOM_WERROR=ON \
    -DFOGLOOM_BUILD_BENCH=OFF -DFOGLOOM_BUILD_TOOLS=OFF "$@" >/dev/null
}

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: unit tests"
configure build-asan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DFOGLOOM_SANITIZE=address,undefined -DFOGLOOM_BUILD_APP=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== ThreadSanitizer: unit tests and the real window under Xvfb"
configure build-tsan -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DFOGLOOM_SANITIZE=thread
cmake --build build-tsan -j"$jobs"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp" \
  ctest --test-dir build-tsan --output-on-failure -j1

echo "== libFuzzer: the drawing API under ASan + UBSan"
configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DFOGLOOM_SANITIZE=address,undefined -DFOGLOOM_FUZZ=ON -DFOGLOOM_BUILD_APP=OFF -DFOGLOOM_BUILD_TESTS=OFF
cmake --build build-fuzz -j"$jobs" --target draw_fuzz
mkdir -p build-fuzz/corpus
# libFuzzer's progress goes to a log; a finding prints its end and fails the run.
if ! FOGLOOM_FUZZ_CALLS=$calls build-fuzz/tests/fuzz/draw_fuzz build-fuzz/corpus tests/fuzz/seeds \
    -max_len=2048 -timeout=20 -rss_limit_mb=4096 2>build-fuzz/fuzz.log; then
  tail -n 60 build-fuzz/fuzz.log
  echo "the fuzzer found a fault; see build-fuzz/fuzz.log" >&2
  exit 1
fi
grep -E '^(INFO: seed|#[0-9]+ +DONE)' build-fuzz/fuzz.log || true
