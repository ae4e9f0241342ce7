# Sourced by scripts/test and scripts/test-repeat: the two test builds, each in its own folder,
# and the one way both run ctest.
#   sanitizers: Debug with AddressSanitizer and UndefinedBehaviorSanitizer ($KOLV_TEST_BUILD,
#               default build-test/)
#   optimised:  RelWithDebInfo without sanitizers, as users get it ($KOLV_TEST_OPT_BUILD,
#               default build-opt/)
# Each function configures and builds its folder and prints the folder's path.

# kolv_build FOLDER CMAKE_OPTION...
kolv_build() {
  local build=$1
  shift
  # Callers run this in $(...), where errexit does not reach: a failed step must say so itself,
  # or the tests would run on what an earlier build left.
  cmake -S "$top" -B "$build" -G Ninja -DKOLV_BUILD_TESTS=ON "$@" >/dev/null || return
  cmake --build "$build" -j"$(nproc)" >&2 || return
  echo "$build"
}

kolv_build_sanitizers() {
  kolv_build "${KOLV_TEST_BUILD:-$top/build-test}" -DCMAKE_BUILD_TYPE=Debug -DKOLV_SANITIZE=ON
}

kolv_build_optimised() {
  kolv_build "${KOLV_TEST_OPT_BUILD:-$top/build-opt}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKOLV_SANITIZE=OFF
}

# kolv_ctest CTEST_ARGUMENT...: in the current build folder, on Qt's offscreen platform.
kolv_ctest() {
  QT_QPA_PLATFORM=offscreen ctest -j"$(nproc)" --timeout 300 "$@"
}
