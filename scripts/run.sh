#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. The program runs
# in the folder the script was started in, so a document named on the
# command line by a relative name ("klasa 2b.sqtvk") is found from there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
(cd "$root" && scripts/deps.sh && scripts/build.sh)
exec "$root/build/program/tarvek" "$@"
