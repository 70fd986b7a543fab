#!/bin/sh
# scripts/run.sh started in a class folder with a document's name as the
# user types it ("klasa 2b.sqtvk", relative, with a blank): the program is
# given that name and finds the file from the folder the script was started
# in. The installation and the build are stood in for, and so is the
# program, which says where it runs and what it was given.
#
#   run_script_test.sh SOURCE_DIR
set -u
source_dir=$1
fail() { echo "FAILED: $*"; exit 1; }

root=$(mktemp -d /tmp/tarvek-run-script-XXXXXX) || fail "no temporary folder"
trap 'rm -rf "$root"' EXIT
tree="$root/drzewo programu"
mkdir -p "$tree/scripts" "$tree/build/program" "$root/klasa 2b żółć"
cp "$source_dir/scripts/run.sh" "$tree/scripts/run.sh"
for stand_in in deps.sh build.sh; do
  printf '#!/bin/sh\nexit 0\n' >"$tree/scripts/$stand_in"
  chmod +x "$tree/scripts/$stand_in"
done
cat >"$tree/build/program/tarvek" <<'PROGRAM'
#!/bin/sh
if [ -f "$*" ]; then echo "opened: $(cd "$(dirname "$*")" && pwd)/$(basename "$*")"; else echo "no file: $*"; fi
PROGRAM
chmod +x "$tree/build/program/tarvek"
printf 'SQLite format 3\000' >"$root/klasa 2b żółć/klasa 2b.sqtvk"

said=$(cd "$root/klasa 2b żółć" && "$tree/scripts/run.sh" "klasa 2b.sqtvk") || fail "run.sh ended with an error: $said"
[ "$said" = "opened: $root/klasa 2b żółć/klasa 2b.sqtvk" ] || fail "the program was not given the file: $said"
# Started from another folder by a relative path of the script itself.
said=$(cd "$root/klasa 2b żółć" && "../drzewo programu/scripts/run.sh" "klasa 2b.sqtvk") ||
  fail "run.sh by a relative path ended with an error: $said"
[ "$said" = "opened: $root/klasa 2b żółć/klasa 2b.sqtvk" ] || fail "by a relative path: $said"
echo "PASSED"
