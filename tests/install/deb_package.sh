#!/usr/bin/env bash
# Builds the Debian packages from debian/ (scripts/package.sh: dpkg-buildpackage,
# source and binary) and the quick one with cpack from the build folder, then
# checks: lintian finds no error or warning; the binaries carry the hardening of
# dpkg-buildflags; both packages hold the same files (the Debian one with its
# manual pages and long documents compressed and its own changelog) and name
# the same run-time packages; the control fields.
# deb_package.sh SOURCE_DIR BUILD_DIR OUTPUT_DIR INSTALL_PREFIX VERSION
set -euo pipefail
source_dir=$1 build=$2 out=$3 prefix=${4#/} version=$5

"$source_dir/scripts/package.sh" "$out/debian" >"$out.log" 2>&1 || { tail -n 40 "$out.log"; exit 1; }
rm -rf "$out/cpack"
cpack -G DEB -B "$out/cpack" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(echo "$out"/debian/rkfview_"$version"_*.deb)
quick=$(echo "$out"/cpack/rkfview_"$version"_*.deb)
[ -f "$deb" ] && [ -f "$quick" ] || { echo "missing packages: $deb $quick"; exit 1; }

status=0
echo "== lintian"
lintian --fail-on error,warning -I --pedantic --show-overrides "$out"/debian/rkfview_"$version"_*.changes || status=1

# Linked with BIND_NOW and as PIE, which CMake's own flags do not give.
dpkg-deb -x "$deb" "$out/debian/tree"
for program in rkfview rkfreport; do
  readelf -d "$out/debian/tree/usr/bin/$program" | grep -q 'Flags: NOW PIE' ||
    { echo "$program is not linked with the hardening flags"; status=1; }
done

# Regular files, relative to the prefix; compressed names as installed.
files() { dpkg-deb -c "$1" | awk '$1 ~ /^-/ {print $6}' | sed "s|^\./$2/||" | sort; }
expected=$(files "$quick" "$prefix" | sed -E 's#^(share/man/.*|share/doc/rkfview/README\.md)$#\1.gz#'
  echo share/doc/rkfview/changelog.gz)
if ! diff <(sort <<<"$expected") <(files "$deb" usr); then
  echo "the Debian package's files differ from the cpack package's (< cpack, > Debian)"
  status=1
fi

field() { dpkg-deb -f "$1" "$2"; }
for package in "$deb" "$quick"; do
  [ "$(field "$package" Version)" = "$version" ] || { echo "Version: $(field "$package" Version)"; status=1; }
  [[ "$(field "$package" Maintainer)" =~ \<.+@.+\>$ ]] || { echo "Maintainer: $(field "$package" Maintainer)"; status=1; }
  for need in libqt6widgets6 qt6-qpa-plugins 'fonts-ipafont-gothic | fonts-japanese-gothic | fonts-noto-cjk'; do
    grep -qF "$need" <<<"$(field "$package" Depends)" || { echo "Depends lacks $need: $package"; status=1; }
  done
  [ "$(field "$package" Recommends)" = "qt6-wayland, qt6-translations-l10n" ] ||
    { echo "Recommends: $(field "$package" Recommends)"; status=1; }
done
exit $status
