#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the test suite with
# the desktop and package tests, the same suite (less those) under
# AddressSanitizer and UndefinedBehaviorSanitizer, and bounded fuzz runs of
# the fall-speed rule, the chime loader and a device's report to the class.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

configure_and_build "$ROOT/build"
ctest --test-dir "$ROOT/build" --output-on-failure --parallel "$(nproc)"

echo "== the tests again, under the sanitizers"
configure_and_build "$ROOT/build-asan" -DPOKORIN_SANITIZE=ON
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$ROOT/build-asan" --output-on-failure --parallel "$(nproc)" --label-exclude desktop

CXX=clang++ configure_and_build "$ROOT/build-fuzz" -DPOKORIN_FUZZ=ON
# fuzz NAME SECONDS SEEDS: a bounded libFuzzer run of one target.
fuzz() {
    local corpus="$ROOT/build-fuzz/$1-corpus"
    echo "== fuzzing $1 for $2 s"
    mkdir -p "$corpus"
    "$ROOT/build-fuzz/fuzz/$1" -max_total_time="$2" -seed=1 "$corpus" "$3" \
        2>"$ROOT/build-fuzz/$1.log" || { tail -n 40 "$ROOT/build-fuzz/$1.log"; exit 1; }
    grep -E '^Done [0-9]+ runs' "$ROOT/build-fuzz/$1.log"
}
fuzz fall_speed_fuzzer "${POKORIN_FUZZ_SECONDS:-60}" "$ROOT/fuzz/speed-corpus"
fuzz chime_decoder_fuzzer "${POKORIN_FUZZ_SECONDS:-30}" "$ROOT/fuzz/wave-corpus"
fuzz class_report_fuzzer "${POKORIN_FUZZ_SECONDS:-30}" "$ROOT/fuzz/report-corpus"

echo "suites: 3 passed, 0 failed"
