#!/usr/bin/env bash
# Builds rkfview and opens it on a bundled sample score file.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" quick
exec "$root/build/rkfview" "$root/samples/sample.rkf"
