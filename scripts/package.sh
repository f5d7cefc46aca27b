#!/usr/bin/env bash
# Builds the Debian package: installs what the build needs, configures a
# release build for /usr in build-deb/ (programs only) and runs cpack there.
# The package is left in build-deb/ as rkfview_VERSION_ARCH.deb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh" packages
cmake -S "$root" -B "$root/build-deb" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBUILD_TESTING=OFF -DRKF_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-deb" -j"$(nproc)"
cd "$root/build-deb"
cpack -G DEB
