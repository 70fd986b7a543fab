# Sourced by build.sh and test.sh: the build folder and the CMake options of
# the variant asked for by TARVEK_SANITIZE (unset or 0: the normal build).
if [ "${TARVEK_SANITIZE:-0}" != "0" ]; then
  TARVEK_BUILD_DIR=build-sanitize
  TARVEK_CMAKE_OPTIONS=(-DTARVEK_SANITIZE=ON -DTARVEK_BUILD_BENCH=OFF)
else
  TARVEK_BUILD_DIR=build
  TARVEK_CMAKE_OPTIONS=(-DTARVEK_SANITIZE=OFF)
fi
