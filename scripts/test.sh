#!/usr/bin/env bash
# Builds rkfview and runs the whole test suite.
#   test.sh              in build/, with the system's compiler
#   test.sh --sanitize   in build-asan/ instead, with clang, AddressSanitizer and
#                        UndefinedBehaviorSanitizer (sanitize.sh), then each fuzz
#                        target of that build for five seconds (fuzz.sh): what CI runs
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
case ${1:-} in
  --sanitize)
    "$root/scripts/sanitize.sh"
    exec "$root/scripts/fuzz.sh" 5
    ;;
  "") ;;
  *)
    echo "usage: test.sh [--sanitize]" >&2
    exit 2
    ;;
esac
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
