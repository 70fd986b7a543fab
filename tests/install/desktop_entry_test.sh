#!/bin/sh
# The program on the desktop, as root installs it with `cmake --install`: the
# menu entry is valid, it is the one that opens document files, a class file
# is of the documents' type by its name (and other SQLite files are not), and
# the entry's command line, given a class file with Polish letters and blanks
# in its name, starts the program with that file open.
#
#   desktop_entry_test.sh BUILD_DIR
#
# The desktop is a private one: XDG_DATA_DIRS is the prefix's share folder
# (and the system's, for the types the system knows), with empty home,
# data and configuration folders. Runs offscreen. Skipped (77) unless root
# (root's install renews the caches the desktop reads).
set -u
build=$1

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "needs root, whose install renews the desktop's caches"
for tool in desktop-file-validate xdg-mime mimetype sqlite3 runuser; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (scripts/deps.sh installs it)"
done
id nobody >/dev/null 2>&1 || skip "there is no user nobody"
runuser=$(command -v runuser)

root=$(mktemp -d /tmp/tarvek-desktop-XXXXXX) || fail "no temporary folder"
running=""
cleanup() {
  [ -n "$running" ] && kill "$running" 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
chmod 755 "$root"

prefix="$root/prefix"
cmake --install "$build" --prefix "$prefix" >"$root/install.out" 2>&1 || { cat "$root/install.out"; fail "cmake --install"; }
entry="$prefix/share/applications/kestal-tarvek.desktop"
[ -f "$entry" ] || fail "no menu entry $entry"
[ -f "$prefix/share/icons/hicolor/scalable/apps/kestal-tarvek.svg" ] || fail "no icon"

# The entry as the desktop reads it: no error, no warning, not even a hint
# (one main category, so that a menu lists it once).
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"

home="$root/dom"
mkdir -p "$home/.local/share" "$home/.config" && chown -R nobody "$home"
desktop() {
  env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" LANG=C.UTF-8 XDG_DATA_HOME="$home/.local/share" \
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_DIRS="$prefix/share:/usr/share" "$@"
}

# The entry opens document files, by the cache root's install renewed and by
# the entries themselves, with nothing but the prefix to look in.
[ "$(desktop env XDG_DATA_DIRS="$prefix/share" xdg-mime query default application/x-kestal-tarvek)" = \
  kestal-tarvek.desktop ] || fail "xdg-mime does not name kestal-tarvek.desktop for application/x-kestal-tarvek"
grep -q '^application/x-kestal-tarvek=kestal-tarvek.desktop;' "$prefix/share/applications/mimeinfo.cache" ||
  fail "the menu's cache was not renewed by the install"

# A document file is of its type by its name, whatever it holds; an SQLite
# file of another name stays an SQLite database.
classes="$root/klasy szkolne"
mkdir "$classes"
doc="$classes/klasa 2b żółć.sqtvk"
# One student, Żak Zofia, in Windows-1250 as the program stores names.
sqlite3 "$doc" "create table T1( id TEXT, comp_name TEXT, value TEXT );
  insert into T1 values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', cast(x'af616b' as text));
  insert into T1 values('DANE UCZNIA', 'Imie_DATA_EDIT', 'Zofia');" || fail "cannot write $doc"
: > "$classes/nowa klasa.sqtvk"
cp "$doc" "$classes/KLASA 3C.SQTVK"
cp "$doc" "$classes/dziennik ocen.sqlite3"
while IFS='|' read -r name want; do
  got=$(desktop xdg-mime query filetype "$classes/$name")
  [ "$got" = "$want" ] || fail "\"$name\" is of the type \"$got\", not \"$want\""
done <<EOF
klasa 2b żółć.sqtvk|application/x-kestal-tarvek
nowa klasa.sqtvk|application/x-kestal-tarvek
KLASA 3C.SQTVK|application/x-kestal-tarvek
dziennik ocen.sqlite3|application/vnd.sqlite3
EOF
chown -R nobody "$classes"

# The entry's command line as a desktop runs it for a double-clicked file:
# its words, the file named by %f given as one word.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
set --
for word in $exec_line; do
  [ "$word" = %f ] && word=$doc
  set -- "$@" "$word"
done
data="$root/dane"
mkdir "$data" && chown nobody "$data"
runtime="$root/runtime"
mkdir "$runtime" && chown nobody "$runtime" && chmod 700 "$runtime"
log="$root/dialogs.log"
touch "$log" && chown nobody "$log"
user_data="$data/Kestal-Tarvek/nobody"
working="$user_data/data_tmp.tmp"
cd "$home" || fail "cannot enter $home"
env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" LANG=C.UTF-8 XDG_DATA_HOME="$home/.local/share" \
  XDG_CONFIG_HOME="$home/.config" XDG_DATA_DIRS="$prefix/share:/usr/share" QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR="$runtime" TARVEK_COMMON_DATA_DIR="$data" TARVEK_DIALOG_LOG="$log" \
  TARVEK_UPDATE_URL=http://127.0.0.1:9 "$runuser" -u nobody -- "$@" >"$root/program.out" 2>&1 &
running=$!
cd / || fail "cannot leave $home"
# The working copy is made only by opening a document: its appearing, with
# the program still running, says the file was opened.
up=""
for _ in $(seq 1 60); do
  sleep 0.5
  kill -0 "$running" 2>/dev/null || break
  [ -f "$working" ] && up=yes && break
done
[ -n "$up" ] || { cat "$root/program.out" "$log"; fail "the entry's command did not open \"$doc\""; }
sleep 1
if grep -v '|UWAGA !!!' "$log" | grep -Eq '^(16|48|17|49|20|52)\|'; then
  cat "$log"
  fail "the program showed an error or a warning"
fi
kill "$running"
wait "$running" 2>/dev/null
running=""
[ "$(sqlite3 "$working" "select hex(value) from T1 where comp_name='Nazwisko_DATA_EDIT'" 2>/dev/null)" = AF616B ] ||
  fail "the working copy does not hold the student of \"$doc\""
echo "PASSED"
