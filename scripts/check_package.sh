#!/bin/sh
# Builds the Debian package in a build folder, checks that it holds what a
# desktop needs, unpacks it into a scratch root and runs the program there.
# Usage: scripts/check_package.sh BUILD_FOLDER [PACKAGE.deb]
# With a package given, that one is checked instead of building one.
set -eu
BUILD=${1:?usage: check_package.sh BUILD_FOLDER [PACKAGE.deb]}
DEB=${2:-}
if [ -n "$DEB" ]; then
  DEB=$(realpath "$DEB")
  cd "$BUILD"
else
  cd "$BUILD"
  rm -f zeran_*.deb
  cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
  DEB=$(realpath zeran_*.deb)
fi
LIST=$(mktemp)
SCRATCH=$(mktemp -d)
trap 'rm -rf "$LIST" "$SCRATCH"' EXIT
# Paths may hold blanks: everything after the date and time is the path.
dpkg-deb -c "$DEB" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' |
  sed 's|^\./|/|' >"$LIST"

missing=0
for f in /usr/bin/zeran /usr/bin/postvex \
  /usr/share/zeran/ZERAN.tmf \
  /usr/share/zeran/postvex/MachData.ini \
  /usr/share/zeran/examples/shaft.tcf \
  /usr/share/zeran/help/index.html \
  /usr/share/applications/zeran.desktop \
  /usr/share/mime/packages/zeran.xml \
  /usr/share/metainfo/org.kelvard.zeran.metainfo.xml \
  /usr/share/icons/hicolor/16x16/apps/zeran.png \
  /usr/share/icons/hicolor/32x32/apps/zeran.png \
  /usr/share/icons/hicolor/48x48/apps/zeran.png \
  /usr/share/icons/hicolor/64x64/apps/zeran.png \
  /usr/share/icons/hicolor/128x128/apps/zeran.png \
  /usr/share/icons/hicolor/256x256/apps/zeran.png; do
  if ! grep -qx "$f" "$LIST"; then
    echo "package: $f is missing from $DEB"
    missing=1
  fi
done
# Nothing of the build or the tests belongs in the package.
if grep -E '/(include|lib)/|gtest|benchmark|\.a$' "$LIST"; then
  echo "package: $DEB holds build or test files"
  missing=1
fi
[ "$missing" -eq 0 ] || exit 1

dpkg-deb -x "$DEB" "$SCRATCH"
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$SCRATCH/usr/share/metainfo/org.kelvard.zeran.metainfo.xml" >/dev/null
fi
# The MIME types must compile and map the two extensions.
if command -v update-mime-database >/dev/null 2>&1; then
  update-mime-database "$SCRATCH/usr/share/mime" >/dev/null 2>&1
  for pair in "tcf application/x-zeran-project" "tdx application/x-zeran-drawing"; do
    set -- $pair
    grep -q "^$2:\*\.$1\$" "$SCRATCH/usr/share/mime/globs" || {
      echo "package: *.$1 is not mapped to $2"
      exit 1
    }
  done
fi
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$SCRATCH/usr/bin/zeran" --version)
case "$version" in
  "zeran "*) echo "package: $DEB installs and runs ($version)" ;;
  *) echo "package: the unpacked zeran answered '$version'"; exit 1 ;;
esac
