#!/usr/bin/env bash
# Builds the fuzz targets in the checked build, build-asan/ (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer; see sanitize.sh), and runs
# each for a fixed time from its seed corpus in tests/fuzz/corpus/<target>/.
#   fuzz.sh [SECONDS [TARGET...]]   default: 5 seconds for every target
# Inputs found on the way are kept in build-asan/corpus/<target>/ and reused by
# the next run; a failing input is saved as build-asan/crash-<target>-*.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-5}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_score_file fuzz_report_cells fuzz_ini_store fuzz_codepage fuzz_number_text)

"$root/scripts/setup.sh" checks fuzz_all
build="$root/build-asan"

export UBSAN_OPTIONS="${UBSAN_OPTIONS:-}${UBSAN_OPTIONS:+:}print_stacktrace=1:halt_on_error=1"
# Freed memory is held back 16 MB deep instead of 256 MB: a run of seconds
# then reuses memory instead of faulting in fresh pages for every input,
# which doubles the inputs tried.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
# The score-file and ini targets write files for every input; a memory file
# system spares the disk (the ini store syncs every file it replaces).
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
status=0
summary=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  log="$build/$target.log"
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  start=$(date +%s%N)
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/crash-$target-" "$corpus" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
  fi
  tenths=$((($(date +%s%N) - start) / 100000000))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("$(printf '%-18s %-6s %10s execs %5d.%d s' "$target" "$result" "${execs:-?}" $((tenths / 10)) $((tenths % 10)))")
done
printf '%s\n' "${summary[@]}"
exit $status
