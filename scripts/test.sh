#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
# TARVEK_SANITIZE=1 runs it in the guarded build, TARVEK_SANITIZE=thread the
# suites that open, save and list documents in the threads' build (see
# build-dir.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
source scripts/build-dir.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$TARVEK_BUILD_DIR" --output-on-failure -j"$(nproc)"
