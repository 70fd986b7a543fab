#!/bin/sh
# The program installed for every user, as a school installs it: root runs
# `cmake --install`, and a user who may not write the program folder (nobody)
# starts it, opens a document of a shared class folder that belongs to
# someone else, saves a student into it, prints, and restores the
# calibration; a calibration of the user's own survives the next start.
#
#   installed_program_test.sh BUILD_DIR APP_TESTS
#
# Runs offscreen, or on the X display named by TARVEK_TEST_DISPLAY (with
# xdotool, the main window is looked for there). Skipped (77) unless root.
set -u
build=$1
app_tests=$2

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "needs root, to install for everyone and to run as another user"
command -v runuser >/dev/null 2>&1 || skip "runuser is missing"
id nobody >/dev/null 2>&1 || skip "there is no user nobody"

root=$(mktemp -d /tmp/tarvek-install-XXXXXX) || fail "no temporary folder"
running=""
cleanup() {
  [ -n "$running" ] && kill "$running" 2>/dev/null
  rm -rf "$root"
}
trap cleanup EXIT
[ -n "${TARVEK_KEEP_INSTALL_TEST:-}" ] && trap - EXIT
chmod 755 "$root"
# The test program runs as nobody too: from a copy nobody may reach, since the
# build tree may lie in a folder only root can enter.
cp "$app_tests" "$root/app_tests" && chmod 755 "$root/app_tests" || fail "cannot copy $app_tests"
app_tests="$root/app_tests"

# Installed by root, read-only for everyone else.
prefix="$root/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
chown -R root:root "$prefix"
chmod -R go-w "$prefix"
program="$prefix/lib/kestal-tarvek"
[ -x "$prefix/bin/tarvek" ] || fail "no $prefix/bin/tarvek"
runuser -u nobody -- test -w "$program" && fail "nobody may write the program folder"
list_sum=$(cksum < "$program/pliki_kat.sqset")

# The user's data folder, and a shared class folder the user may not write,
# holding a document (an empty one) of root's that the user may write.
data="$root/dane"
mkdir "$data" && chown nobody "$data"
shared="$root/wspólne klasy"
mkdir "$shared" && chmod 755 "$shared"
doc="$shared/świadectwa ślązacy 2a.sqtvk"
: > "$doc"
chown root:users "$doc" && chmod 666 "$doc"
out="$root/wydruki"
mkdir "$out" && chown nobody "$out"
runtime="$root/runtime"
mkdir "$runtime" && chown nobody "$runtime" && chmod 700 "$runtime"

display=${TARVEK_TEST_DISPLAY:-}
platform=offscreen
[ -n "$display" ] && command -v xdotool >/dev/null 2>&1 && platform=xcb

# Starts the installed program as nobody with the document on its command
# line, waits until its main window is up, and ends it.
run_program() {
  log="$out/dialogs-$1.log"
  # The working copy that the opening of the document makes comes last in
  # the start-up: its appearing says the program is up (one left by the
  # run before goes first).
  rm -f "$user_data/data_tmp.tmp"
  runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME=/nonexistent LANG=C.UTF-8 \
    QT_QPA_PLATFORM=$platform DISPLAY="$display" XDG_RUNTIME_DIR="$runtime" \
    TARVEK_COMMON_DATA_DIR="$data" TARVEK_DIALOG_LOG="$log" TARVEK_UPDATE_URL=http://127.0.0.1:9 \
    "$prefix/bin/tarvek" "$doc" >"$out/program-$1.out" 2>&1 &
  running=$!
  up=""
  for _ in $(seq 1 60); do
    sleep 0.5
    kill -0 "$running" 2>/dev/null || break
    if [ "$platform" = xcb ]; then
      DISPLAY="$display" xdotool search --onlyvisible --name "Tarvek, wersja" >/dev/null 2>&1 && up=yes
    else
      [ -f "$user_data/data_tmp.tmp" ] && kill -0 "$running" 2>/dev/null && up=yes
    fi
    [ -n "$up" ] && break
  done
  [ -n "$up" ] || { cat "$out/program-$1.out" "$log" 2>/dev/null; fail "run $1: the main window did not come up"; }
  # Every box the program showed is logged as "flags|caption|text"; an
  # error (16) or a warning (48) fails the run, but for the notice of the
  # first start about the changed data files.
  if [ "$1" = 1 ] && [ ! -f "$log" ]; then fail "run 1 logged no box (the notice of a first start is expected)"; fi
  if [ -f "$log" ] && grep -v '|UWAGA !!!' "$log" | grep -Eq '^(16|48|17|49|20|52)\|'; then
    cat "$log"
    fail "run $1 showed an error or a warning"
  fi
  kill "$running"
  wait "$running" 2>/dev/null
  running=""
}

user_data="$data/Kestal-Tarvek/nobody"
run_program 1
cmp -s "$user_data/tvk_kalibracja.sqset" "$program/tvk_kalibracja.sqset" || fail "the calibration was not installed"
# The user's own calibration stays at the next start.
cp "$program/ustawienia.sqset" "$user_data/tvk_kalibracja.sqset"
chown nobody "$user_data/tvk_kalibracja.sqset"
run_program 2
cmp -s "$user_data/tvk_kalibracja.sqset" "$program/ustawienia.sqset" || fail "the user's calibration was overwritten"
[ "$(cksum < "$program/pliki_kat.sqset")" = "$list_sum" ] || fail "the program folder's list was written"

# A student saved into the shared document, printed, and the calibration
# restored, by the same user through the program's own windows.
runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME=/nonexistent LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
  XDG_RUNTIME_DIR="$runtime" TARVEK_INSTALLED_PROGRAM_DIR="$program" TARVEK_SHARED_DOCUMENT="$doc" \
  TARVEK_PDF_OUT="$out/świadectwo Żak.pdf" \
  "$app_tests" --gtest_filter='InstalledProgramTest.*' --gtest_also_run_disabled_tests=0 >"$root/saved.out" 2>&1 ||
  { cat "$root/saved.out"; fail "the student save, print or restore as nobody"; }
grep -q "\[  PASSED  \] 1 test" "$root/saved.out" || { cat "$root/saved.out"; fail "the save test did not run"; }
[ "$(stat -c %U:%G:%a "$doc")" = "root:users:666" ] || fail "the save changed the document's owner: $(stat -c %U:%G:%a "$doc")"
[ -s "$doc" ] || fail "nothing was saved into the document"
[ -s "$out/świadectwo Żak.pdf" ] || fail "nothing was printed"
echo "PASSED"
