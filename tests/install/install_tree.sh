#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR, prefix /usr) and checks
# that the tree holds exactly the expected files and that the programs run.
# install_tree.sh BUILD_DIR STAGE_DIR VERSION
set -euo pipefail
build=$1 stage=$2 version=$3
id=io.github.rkfview.rkfview

rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

expected=(
  usr/bin/rkfview
  usr/bin/rkfreport
  usr/share/applications/$id.desktop
  usr/share/metainfo/$id.metainfo.xml
  usr/share/mime/packages/$id.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg
  usr/share/icons/hicolor/scalable/mimetypes/application-x-rkf-score.svg
  usr/share/man/man1/rkfview.1
  usr/share/man/man1/rkfreport.1
  usr/share/bash-completion/completions/rkfreport
  usr/share/doc/rkfview/CHANGELOG.md
  usr/share/doc/rkfview/README.md
  usr/share/doc/rkfview/copyright
)
for size in 16 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
  expected+=("usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-rkf-score.png")
done

status=0
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$stage" && find . -type f | sed 's|^\./||' | sort); then
  echo "the staged tree differs from the expected one (< expected, > installed)"
  status=1
fi

# Each PNG icon is as large as the folder it sits in says.
for png in "$stage"/usr/share/icons/hicolor/*x*/*/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  size=${size%%x*}
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
  height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
  if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
    echo "$png is ${width}x${height}"
    status=1
  fi
done

# The installed programs run and know their version.
for program in rkfview rkfreport; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$stage/usr/bin/$program" --version)
  if [ "$out" != "$program $version" ]; then
    echo "$program --version printed: $out"
    status=1
  fi
done

# Software centres keep a language only where every paragraph of a description
# has it; the release entry is this version.
metainfo=$stage/usr/share/metainfo/$id.metainfo.xml
if [ "$(grep -c '<p>' "$metainfo")" != "$(grep -c '<p xml:lang="ja">' "$metainfo")" ]; then
  echo "not every paragraph of the metainfo is in Japanese as well"
  status=1
fi
grep -q "<release version=\"$version\"" "$metainfo" || { echo "the metainfo has no release $version"; status=1; }

# The manual pages carry the version and format without warnings.
for page in rkfview rkfreport; do
  grep -q "\"rkfview $version\"" "$stage/usr/share/man/man1/$page.1" || { echo "$page.1 lacks the version"; status=1; }
done
exit $status
