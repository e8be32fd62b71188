#!/bin/sh
# Builds and runs the whole test suite twice: first with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (with the fuzz targets), then a plain gcc build. Every test
# runs inside its own session bus and X server, never the machine's.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)

run_ctest() {
    # dbus-run-session gives the tests a private session bus, xvfb-run a private X server
    # for the few that need one (widget tests use the offscreen platform). The bus activates
    # no installed services (a real desktop portal would answer in a stand-in's place).
    dbus-run-session --config-file="$top/tools/test-session-bus.conf" -- xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$1" --output-on-failure -j "$jobs" --timeout 900
}

echo "== sanitizer build (clang, ASan + UBSan) =="
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DREELCRAFT_SANITIZE=ON -DREELCRAFT_FUZZ=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1" \
LSAN_OPTIONS="suppressions=$top/tools/sanitizers/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    run_ctest build-asan

echo "== web player test tools (npm ci) =="
(cd tests/web && npm ci --no-audit --no-fund)

echo "== plain build (gcc), with the Debian package's test =="
CC=gcc CXX=g++ cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREELCRAFT_PACKAGE_TEST=ON
cmake --build build -j "$jobs"
run_ctest build
