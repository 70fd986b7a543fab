#!/usr/bin/env bash
# Configures and builds everything into build/ (the program lands in build/program).
# With TARVEK_SANITIZE=1 in the environment it builds the guarded variant
# (AddressSanitizer and UndefinedBehaviorSanitizer) into build-sanitize/ instead,
# with TARVEK_SANITIZE=thread the threads' build (ThreadSanitizer, only the
# suites that open, save and list documents) into build-tsan/, with
# TARVEK_COMPILER=clang the clang build into build-clang/ (build-dir.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build-dir.sh
cmake -S . -B "$TARVEK_BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${TARVEK_CMAKE_OPTIONS[@]}" >/dev/null
cmake --build "$TARVEK_BUILD_DIR" -j"$(nproc)"
