# Sourced by build.sh and test.sh: the build folder and the CMake options of
# the variant asked for by the environment.
#   TARVEK_SANITIZE=1      the guarded build (-sanitize in the folder's name)
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
if [ "${TARVEK_SANITIZE:-0}" != "0" ]; then
  TARVEK_BUILD_DIR+=-sanitize
  TARVEK_CMAKE_OPTIONS+=(-DTARVEK_SANITIZE=ON -DTARVEK_BUILD_BENCH=OFF)
else
  TARVEK_CMAKE_OPTIONS+=(-DTARVEK_SANITIZE=OFF)
fi
if [ "${TARVEK_WERROR:-0}" != "0" ]; then
  TARVEK_CMAKE_OPTIONS+=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
else
  TARVEK_CMAKE_OPTIONS+=(-DCMAKE_COMPILE_WARNING_AS_ERROR=OFF)
fi
