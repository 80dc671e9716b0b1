#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks that it holds the nine programs, the set-up
# program, both desktop entries and their icons. Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
listing=$(dpkg-deb -c "$deb")
echo "$listing"
missing=0
for f in usr/bin/PeruminaClient usr/bin/DayBoardS usr/bin/DayBoardC usr/bin/LunchBoardS usr/bin/LunchBoardC \
         usr/bin/MonthBoardS usr/bin/MonthBoardC usr/bin/PeruminaAdmin usr/bin/InboxSweep usr/bin/PeruminaSetup \
         usr/share/applications/perumina-client.desktop usr/share/applications/perumina-admin.desktop \
         usr/share/icons/hicolor/scalable/apps/perumina-client.svg \
         usr/share/icons/hicolor/scalable/apps/perumina-admin.svg; do
  if ! grep -q "\./$f\$" <<<"$listing"; then
    echo "missing from the package: $f" >&2
    missing=1
  fi
done
dpkg-deb -f "$deb" Package Depends
exit $missing
