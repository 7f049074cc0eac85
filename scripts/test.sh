#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the test suite with
# the desktop and package tests, the same suite (less those) under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzz run of
# the fall-speed rule.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

configure_and_build "$ROOT/build"
ctest --test-dir "$ROOT/build" --output-on-failure --parallel "$(nproc)"

echo "== the tests again, under the sanitizers"
configure_and_build "$ROOT/build-asan" -DPOKORIN_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$ROOT/build-asan" --output-on-failure --parallel "$(nproc)" --label-exclude desktop

echo "== fuzzing the fall-speed rule for ${POKORIN_FUZZ_SECONDS:=60} s"
CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOKORIN_FUZZ=ON >/dev/null
cmake --build "$ROOT/build-fuzz"
corpus="$ROOT/build-fuzz/corpus"
mkdir -p "$corpus"
"$ROOT/build-fuzz/fuzz/fall_speed_fuzzer" -max_total_time="$POKORIN_FUZZ_SECONDS" -seed=1 \
    "$corpus" "$ROOT/fuzz/corpus" 2>"$ROOT/build-fuzz/fuzz.log" ||
    { tail -n 40 "$ROOT/build-fuzz/fuzz.log"; exit 1; }
grep -E '^Done [0-9]+ runs' "$ROOT/build-fuzz/fuzz.log"

echo "suites: 3 passed, 0 failed"
