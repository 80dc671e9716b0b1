#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it: the nine programs, the set-up program,
# both desktop entries and their icons, the manual pages, the copyright file and changelog, the Depends
# that the shared-library scan and the run-time data give it, and lintian without errors (where lintian
# is installed). Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cmake --build "$build" --target perumina_docs >/dev/null
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
listing=$(dpkg-deb -c "$deb")
echo "$listing"
failed=0
fail() {
  echo "$*" >&2
  failed=1
}
for f in usr/bin/PeruminaClient usr/bin/DayBoardS usr/bin/DayBoardC usr/bin/LunchBoardS usr/bin/LunchBoardC \
         usr/bin/MonthBoardS usr/bin/MonthBoardC usr/bin/PeruminaAdmin usr/bin/InboxSweep usr/bin/PeruminaSetup \
         usr/share/applications/perumina-client.desktop usr/share/applications/perumina-admin.desktop \
         usr/share/icons/hicolor/scalable/apps/perumina-client.svg \
         usr/share/icons/hicolor/scalable/apps/perumina-admin.svg \
         usr/share/man/man8/PeruminaSetup.8.gz usr/share/man/man7/perumina.7.gz \
         usr/share/man/man1/PeruminaClient.1.gz usr/share/man/man1/DayBoardS.1.gz \
         usr/share/doc/perumina/copyright usr/share/doc/perumina/changelog.Debian.gz; do
  grep -Eq "\./$f( -> .*)?$" <<<"$listing" || fail "missing from the package: $f"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The Qt libraries come from the shared-library scan, the font and the platform plugin from the list.
for d in libqt6widgets6 libqt6printsupport6 libqt6gui6 libqt6core6 libc6 libstdc++6 fonts-ipafont-gothic qt6-qpa-plugins; do
  grep -Eq "(^|, )${d//+/\\+}( |,|$)" <<<"$depends" || fail "not in Depends: $d"
done

root="$out/root"
dpkg-deb -x "$deb" "$root"
grep -q "^License: Expat" "$root/usr/share/doc/perumina/copyright" || fail "the copyright file names no licence"
for page in usr/share/man/man8/PeruminaSetup.8.gz usr/share/man/man7/perumina.7.gz usr/share/man/man1/DayBoardS.1.gz; do
  zcat "$root/$page" | grep -q '^\.SH NAME' || fail "not a manual page: $page"
done
grep -q '^StartupWMClass=PeruminaClient$' "$root/usr/share/applications/perumina-client.desktop" ||
  fail "the client's desktop entry names no window class"
# Stripped: no symbol table left in the programs.
if readelf -S "$root/usr/bin/PeruminaClient" | grep -q '\.symtab'; then
  fail "the programs are not stripped"
fi

if command -v lintian >/dev/null; then
  # The package is built by CPack, not from a Debian source package; lintian still judges the binary one.
  report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
  echo "lintian:"
  echo "$report"
  if grep -q '^E:' <<<"$report"; then
    fail "lintian reports errors"
  fi
else
  echo "lintian is not installed; the package was not checked by it."
fi
exit $failed
