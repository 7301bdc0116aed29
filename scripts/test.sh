#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal optimised build, then a build under
# AddressSanitizer and UndefinedBehaviorSanitizer. Build folders: build/ and build-asan/. Each run
# has virtual X servers of known geometry beside it for the display tests (scripts/xvfb.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
scripts/xvfb.sh ctest --test-dir build --output-on-failure -j "$(nproc)"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAMINA_SANITIZE=ON -DLAMINA_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  scripts/xvfb.sh ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
