#!/usr/bin/env bash
# Builds the Debian package with cpack in the build folder and checks its
# contents and control fields.
# deb_package.sh BUILD_DIR OUTPUT_DIR INSTALL_PREFIX VERSION
set -euo pipefail
build=$1 out=$2 prefix=${3#/} version=$4
id=io.github.rkfview.rkfview

rm -rf "$out"
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(echo "$out"/rkfview_"$version"_*.deb)
[ -f "$deb" ] || { echo "no package in $out"; ls "$out"; exit 1; }

echo "== $deb"
dpkg-deb -c "$deb"
dpkg-deb -f "$deb"

status=0
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in bin/rkfview bin/rkfreport share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/mime/packages/$id.xml share/icons/hicolor/256x256/apps/$id.png share/icons/hicolor/scalable/apps/$id.svg \
  share/man/man1/rkfview.1 share/man/man1/rkfreport.1 share/bash-completion/completions/rkfreport \
  share/doc/rkfview/copyright; do
  grep -qx "./$prefix/$file" <<<"$contents" || { echo "missing from the package: /$prefix/$file"; status=1; }
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = rkfview ] || { echo "Package: $(field Package)"; status=1; }
[ "$(field Version)" = "$version" ] || { echo "Version: $(field Version)"; status=1; }
[ "$(field Section)" = utils ] || { echo "Section: $(field Section)"; status=1; }
for library in libqt6core6 libqt6gui6 libqt6widgets6 libc6 qt6-qpa-plugins; do
  grep -q "$library" <<<"$(field Depends)" || { echo "Depends lacks $library: $(field Depends)"; status=1; }
done
for package in fonts-ipafont-gothic qt6-translations-l10n; do
  grep -q "$package" <<<"$(field Recommends)" || { echo "Recommends lacks $package"; status=1; }
done
# An extended description below the summary line.
[ "$(field Description | wc -l)" -gt 2 ] || { echo "no extended description"; status=1; }
# The copyright file names the licence.
dpkg-deb --fsys-tarfile "$deb" | tar -xO "./$prefix/share/doc/rkfview/copyright" | grep -qx "License: MIT" ||
  { echo "the copyright file does not name MIT"; status=1; }
exit $status
