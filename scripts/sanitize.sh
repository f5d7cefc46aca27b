#!/usr/bin/env bash
# Builds everything with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ (the fuzz targets included, see fuzz.sh) and runs the whole
# test suite there. Any report fails the run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" checks

# Only our own code is instrumented; Qt and the system libraries are not, and
# no report from them needs suppressing. The options are read by every
# instrumented program, the viewer and rkfreport started by the tests included.
# No strict_string_checks: it takes strndup of a buffer without a NUL as a
# read past its end, which the X keyboard library does, correctly, when the
# viewer starts on an X server.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-}${UBSAN_OPTIONS:+:}print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build-asan" --output-on-failure -j"$(nproc)"
