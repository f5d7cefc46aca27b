#!/usr/bin/env bash
# Builds rkfview and opens it on a bundled sample score file.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
if [ -x "$root/build/rkfview" ]; then
  exec "$root/build/rkfview" "$root/samples/sample.rkf"
else
  exec "$root/build/rkfreport" "$root/samples/sample.rkf"
fi
