#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (only what is missing), then
# configures and builds. Run by run.sh, test.sh, sanitize.sh and fuzz.sh.
#   setup.sh quick     the two programs only, into build/ (what run.sh needs)
#   setup.sh           everything: programs, tests and the benchmark, into
#                      build/, plus the tools the packaging tests run
#   setup.sh packages  only the packages a build and the Debian packaging need
#                      (package.sh)
#   setup.sh checks [TARGET...]
#                      the checked build in build-asan/: everything of the
#                      above and the fuzz targets, built with clang,
#                      AddressSanitizer, UndefinedBehaviorSanitizer and
#                      libFuzzer (the targets given, or all)
# Objects are taken from ccache (installed here) when they were built before.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mode=${1:-all}
shift || true
packages=(cmake make g++ ccache qt6-base-dev qt6-base-dev-tools libgl-dev fonts-ipafont-gothic qt6-translations-l10n xvfb xauth)
if [ "$mode" != quick ]; then
  # What the Debian packaging builds with (debian/control's Build-Depends)
  # and checks the result with.
  packages+=(build-essential debhelper dpkg-dev fakeroot lintian)
fi
if [ "$mode" = all ] || [ "$mode" = checks ]; then
  # Validators used by the install tests.
  packages+=(desktop-file-utils appstream shared-mime-info file)
  # The clipboard test: an X11 clipboard manager of its own.
  packages+=(libxcb1-dev)
  # The always-on-top test: a window manager on its own X server.
  packages+=(openbox)
  # The desktop-session test: window listing on its X server, an X session
  # manager of its own (libSM), and a headless Wayland compositor with the
  # toolkit's Wayland plugin.
  packages+=(x11-utils weston qt6-wayland)
  # The write tests inject system call failures and signals with strace.
  packages+=(strace)
  # The file list read over AT-SPI: an accessibility bus, a client and real clicks.
  packages+=(dbus-daemon at-spi2-core python3-pyatspi xdotool)
fi
if [ "$mode" = checks ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
case $mode in
  packages) ;;
  quick)
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build" -j"$(nproc)" --target rkfview rkfreport
    ;;
  checks)
    cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DRKF_FUZZ=ON -DBUILD_TESTING=ON -DRKF_BUILD_BENCH=ON >/dev/null
    targets=()
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$root/build-asan" -j"$(nproc)" "${targets[@]}"
    ;;
  *)
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DRKF_BUILD_BENCH=ON >/dev/null
    cmake --build "$root/build" -j"$(nproc)"
    ;;
esac
