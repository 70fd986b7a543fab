#!/bin/sh
# The Debian package that `cpack -G DEB` makes in the build folder: its name,
# the packages it needs, what it installs (the program folder, the tarvek
# command, the menu entry, the type of document files, the icon, the
# AppStream description, the manual pages, the changelog and the copyright
# file, all root's and read-only for users, no cache of the desktop's among
# them), that lintian finds no error or warning in it and the program built
# hardened, that its AppStream description is valid, and that dpkg installs
# it and removes it leaving nothing behind. dpkg works on a root folder of
# the test's own, never on this machine's system.
#
#   debian_package_test.sh BUILD_DIR
#
# Skipped (77) without dpkg and dpkg-shlibdeps (dpkg-dev).
set -u
build=$1

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing"
done
for tool in lintian appstreamcli dpkg-parsechangelog; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (scripts/deps.sh installs it)"
done
[ -f "$build/CPackConfig.cmake" ] || fail "the build folder has no package configuration"

out=$(mktemp -d /tmp/tarvek-deb-XXXXXX) || fail "no temporary folder"
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.out" 2>&1) || { cat "$out/cpack.out"; fail "cpack -G DEB"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb="$out/kestal-tarvek_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$out")"

# What it needs, by package name: the libraries the program links (Qt 6,
# SQLite, libjpeg, libcurl), CUPS (reached through Qt's print plugin), the
# fonts its pages print with and its windows show, and the desktop's tools
# for opening files.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for need in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6 libsqlite3-0 libjpeg62-turbo \
  libcurl4 libcups2 fonts-liberation2 fonts-dejavu-core xdg-utils shared-mime-info; do
  echo "$depends" | grep -qx "$need" || fail "it does not depend on $need: $(dpkg-deb -f "$deb" Depends)"
done

# What it holds: everything root's, nothing a user may write, no cache of
# the desktop's (those belong to the packages whose triggers renew them).
listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c"
for path in ./usr/lib/kestal-tarvek/tarvek ./usr/lib/kestal-tarvek/tvk_kalibracja.sqset \
  ./usr/share/applications/kestal-tarvek.desktop ./usr/share/mime/packages/kestal-tarvek.xml \
  ./usr/share/icons/hicolor/scalable/apps/kestal-tarvek.svg "./usr/bin/tarvek -> ../lib/kestal-tarvek/tarvek" \
  ./usr/share/metainfo/pl.kestal.tarvek.metainfo.xml ./usr/share/man/man1/tarvek.1.gz \
  ./usr/share/man/pl/man1/tarvek.1.gz ./usr/share/doc/kestal-tarvek/changelog.gz \
  ./usr/share/doc/kestal-tarvek/copyright; do
  echo "$listing" | grep -q " $path\$" || fail "it does not hold $path"
done
echo "$listing" | awk '$2 != "root/root" || ($1 !~ /^l/ && $1 ~ /^.....w|^........w/)' | grep . &&
  fail "entries not root's or writable by users"
echo "$listing" | grep -E 'mimeinfo\.cache|icon-theme\.cache|/mime/(mime\.cache|globs|magic|application/)' &&
  fail "it holds a cache of the desktop's"

# What a distribution asks of a package: lintian reports no error and no
# warning, and the program is hardened (no "hardening-" note either; the
# guarded build goes without, its sanitizers checking those calls). The
# informational notes it may still give are told on the test's output.
unwanted='^[EW]: |hardening-'
grep -Eqx 'TARVEK_SANITIZE:[A-Z]+=(ON|thread)' "$build/CMakeCache.txt" && unwanted='^[EW]: '
lintian -I "$deb" >"$out/lintian.out" 2>&1
grep -E "$unwanted" "$out/lintian.out" && fail "lintian: see above"
grep '^I: ' "$out/lintian.out"

# The changelog's latest entry and the AppStream description's latest
# release are this version.
contents="$out/contents"
dpkg-deb -x "$deb" "$contents" || fail "dpkg-deb -x"
zcat "$contents/usr/share/doc/kestal-tarvek/changelog.gz" >"$out/changelog" || fail "the changelog does not unpack"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Version)" = "$version" ] ||
  fail "the changelog's latest entry is not $version: $(head -1 "$out/changelog")"
metainfo="$contents/usr/share/metainfo/pl.kestal.tarvek.metainfo.xml"
[ "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -1)" = "$version" ] ||
  fail "the AppStream description's latest release is not $version"
# A software centre lists it: the description is valid (not even a note)
# and finds the menu entry it names among the package's files.
report=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1) || fail "appstreamcli validate: $report"
report=$(appstreamcli validate-tree --no-net --strict "$contents" 2>&1) || fail "appstreamcli validate-tree: $report"

# Installed by dpkg into a root of its own (the packages it needs are this
# machine's, outside that root), the command leads to the program, and the
# removal takes away every file and folder it brought.
root="$out/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && : >"$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends -i "$deb" >"$out/dpkg.out" 2>&1 || { cat "$out/dpkg.out"; fail "dpkg -i"; }
[ -x "$root/usr/bin/tarvek" ] && [ "$(readlink -f "$root/usr/bin/tarvek")" = "$root/usr/lib/kestal-tarvek/tarvek" ] ||
  fail "the tarvek command does not lead to the program"
dpkg --root="$root" -r kestal-tarvek >"$out/dpkg.out" 2>&1 || { cat "$out/dpkg.out"; fail "dpkg -r"; }
left=$(cd "$root" && find . -mindepth 1 -not -path './var' -not -path './var/lib' -not -path './var/lib/dpkg' \
  -not -path './var/lib/dpkg/*')
[ -z "$left" ] || fail "the removal left: $left"
echo "PASSED"
