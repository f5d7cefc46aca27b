#!/usr/bin/env bash
# Builds the Debian packages from debian/ with dpkg-buildpackage, as a
# distribution would: installs what the build needs, copies the source tree
# (without build folders) to OUTPUT/rkfview-VERSION and builds the source and
# binary packages there. They are left in OUTPUT (default: build-deb/), among
# them rkfview_VERSION_ARCH.deb.
#   package.sh [OUTPUT]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$(realpath -m "${1:-$root/build-deb}")
"$root/scripts/setup.sh" packages

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
source="$out/rkfview-$version"
mkdir -p "$out"
rm -rf "$source" "$out"/rkfview_* "$out"/rkfview-dbgsym_*
mkdir "$source"
tar -C "$root" --exclude='./build*' --exclude=./.git --exclude='./crash-*' -cf - . | tar -C "$source" -xf -

# A rebuild takes its objects from ccache where it is installed (the build
# runs with a home folder of its own, so the cache is named).
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
  # The source is copied to a folder that differs from checkout to checkout:
  # paths are taken relative to it, and the build folder is not hashed (the
  # distribution's flags map it out of the debugging information).
  export CCACHE_BASEDIR="$source" CCACHE_NOHASHDIR=true
fi
cd "$source"
dpkg-buildpackage -us -uc -j"$(nproc)"
