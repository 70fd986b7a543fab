# Sourced by build.sh and test.sh: the build folder and the CMake options of
# the variant asked for by the environment.
#   TARVEK_SANITIZE=1      the guarded build (-sanitize in the folder's name)
#   TARVEK_SANITIZE=thread the threads' build, ThreadSanitizer, with only the
#                          suites that open, save and list documents (-tsan)
#   TARVEK_COMPILER=clang  built with clang (-clang in the folder's name);
#                          unset or gcc: the system's default compiler
#   TARVEK_WERROR=1        a compiler warning stops the build (CI)
# The plain build is build/; e.g. TARVEK_COMPILER=clang gives build-clang/.
TARVEK_BUILD_DIR=build
TARVEK_CMAKE_OPTIONS=()
case "${TARVEK_COMPILER:-gcc}" in
  gcc) ;;
  clang)
    TARVEK_BUILD_DIR+=-clang
    export CC=clang CXX=clang++
    ;;
  *)
    echo "TARVEK_COMPILER: \"$TARVEK_COMPILER\" is neither gcc nor clang" >&2
    exit 2
    ;;
esac
case "${TARVEK_SANITIZE:-0}" in
  0) TARVEK_CMAKE_OPTIONS+=(-DTARVEK_SANITIZE=OFF) ;;
  thread)
    TARVEK_BUILD_DIR+=-tsan
    TARVEK_CMAKE_OPTIONS+=(-DTARVEK_SANITIZE=thread -DTARVEK_BUILD_BENCH=OFF)
    # A finding stops the program (a generator of the build, a test) that
    # meets it; what Qt does inside itself is left out (see the file). A
    # process a test forks keeps the threads of its parent that had ended
    # but were not yet joined (the update check's): no thread leak is told.
    export TSAN_OPTIONS="halt_on_error=1 report_thread_leaks=0 suppressions=$PWD/tests/support/tsan-suppressions.txt ${TSAN_OPTIONS:-}"
    # GLib (Qt's event loop) hands the pages of its slice allocator from one
    # of Qt's threads to another under locks the sanitizer cannot see; plain
    # malloc instead.
    export G_SLICE=always-malloc
    ;;
  *)
    TARVEK_BUILD_DIR+=-sanitize
    TARVEK_CMAKE_OPTIONS+=(-DTARVEK_SANITIZE=ON -DTARVEK_BUILD_BENCH=OFF)
    ;;
esac
if [ "${TARVEK_WERROR:-0}" != "0" ]; then
  TARVEK_CMAKE_OPTIONS+=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
else
  TARVEK_CMAKE_OPTIONS+=(-DCMAKE_COMPILE_WARNING_AS_ERROR=OFF)
fi
