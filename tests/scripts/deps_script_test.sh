#!/bin/sh
# scripts/deps.sh where packages are missing: it waits while another apt
# holds the package lists' lock, installs with a wait for dpkg's lock, and
# for a user without sudo says what to run as root instead of failing on a
# missing sudo. apt-get, sudo, id, dpkg-query and sleep are stood in for;
# nothing is installed.
#
#   deps_script_test.sh SOURCE_DIR
set -u
source_dir=$1
fail() { echo "FAILED: $*"; exit 1; }

root=$(mktemp -d /tmp/tarvek-deps-script-XXXXXX) || fail "no temporary folder"
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/tree/scripts" "$root/bin"
cp "$source_dir/scripts/deps.sh" "$root/tree/scripts/deps.sh"
for tool in bash env grep cat mktemp rm; do
  ln -s "$(command -v "$tool")" "$root/bin/$tool" || fail "no $tool"
done
stand_in() {
  printf '#!/bin/sh\n%s\n' "$2" >"$root/bin/$1"
  chmod +x "$root/bin/$1"
}
# Nothing is installed; the user is $UID_NOW; sleeping takes no time.
stand_in dpkg-query 'exit 1'
stand_in id '[ "$1" = -u ] && echo "$UID_NOW"'
stand_in sleep 'echo "sleep $*" >>"$CALLS"'
# apt-get: "update" finds the lists' lock held $LOCKED times (or fails for
# another reason when $BROKEN is set), then succeeds. It speaks Polish, as
# apt does for a Polish user, unless told LC_ALL=C.
stand_in apt-get '
echo "apt-get $*" >>"$CALLS"
if [ "$1" = update ]; then
  [ -n "${BROKEN:-}" ] && { echo "E: The repository does not have a Release file." >&2; exit 100; }
  n=$(grep -c "^apt-get update" "$CALLS")
  if [ "$n" -le "$LOCKED" ]; then
    if [ "${LC_ALL:-}" = C ]; then
      echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 7 (apt-get)" >&2
    else
      echo "E: Nie udało się uzyskać blokady /var/lib/apt/lists/lock. Jest trzymana przez proces 7 (apt-get)" >&2
    fi
    exit 100
  fi
fi
exit 0'

# run NAME UID LOCKED BROKEN WITH_SUDO: runs deps.sh, its output in $root/NAME.out
run() {
  rm -f "$root/bin/sudo"
  [ "$5" = yes ] && stand_in sudo 'echo "sudo $*" >>"$CALLS"; exec "$@"'
  : >"$root/$1.calls"
  env -i PATH="$root/bin" LANG=pl_PL.UTF-8 UID_NOW="$2" LOCKED="$3" BROKEN="$4" CALLS="$root/$1.calls" \
    "$root/tree/scripts/deps.sh" >"$root/$1.out" 2>&1
}

# A user without sudo is told what root should run; nothing is run.
run nosudo 1000 0 "" no && fail "deps.sh without sudo ended well: $(cat "$root/nosudo.out")"
grep -q "not found" "$root/nosudo.out" && fail "without sudo: $(cat "$root/nosudo.out")"
grep -q "^  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install .*-o DPkg::Lock::Timeout=600 .*cmake" \
  "$root/nosudo.out" || fail "without sudo it does not say what to run as root: $(cat "$root/nosudo.out")"
[ -s "$root/nosudo.calls" ] && fail "without sudo it ran: $(cat "$root/nosudo.calls")"

# Through sudo, with the lists locked twice: it waits, then installs, waiting for dpkg's lock.
run sudo 1000 2 "" yes || fail "deps.sh through sudo: $(cat "$root/sudo.out")"
[ "$(grep -c '^apt-get update' "$root/sudo.calls")" = 3 ] || fail "update was not tried again: $(cat "$root/sudo.calls")"
[ "$(grep -c '^sleep' "$root/sudo.calls")" = 2 ] || fail "it did not wait between tries: $(cat "$root/sudo.calls")"
grep -q "^sudo env DEBIAN_FRONTEND=noninteractive apt-get install .*-o DPkg::Lock::Timeout=600 .*cmake" "$root/sudo.calls" ||
  fail "the install does not wait for dpkg's lock: $(cat "$root/sudo.calls")"

# Root, with a failure that is no lock: it stops at once and shows it.
run broken 0 0 yes no && fail "deps.sh with a broken update ended well"
grep -q "Release file" "$root/broken.out" || fail "the update's error was not shown: $(cat "$root/broken.out")"
[ "$(grep -c '^apt-get' "$root/broken.calls")" = 1 ] || fail "it went on after the failure: $(cat "$root/broken.calls")"
echo "PASSED"
