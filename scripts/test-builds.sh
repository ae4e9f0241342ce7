# Sourced by scripts/test and scripts/test-repeat: the two test builds, each in its own folder.
#   sanitizers: Debug with AddressSanitizer and UndefinedBehaviorSanitizer ($KOLV_TEST_BUILD,
#               default build-test/)
#   optimised:  RelWithDebInfo without sanitizers, as users get it ($KOLV_TEST_OPT_BUILD,
#               default build-opt/)
# Each function configures and builds its folder and prints the folder's path.

kolv_build_sanitizers() {
  local build="${KOLV_TEST_BUILD:-$top/build-test}"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOLV_SANITIZE=ON \
    -DKOLV_BUILD_TESTS=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" >&2
  echo "$build"
}

kolv_build_optimised() {
  local build="${KOLV_TEST_OPT_BUILD:-$top/build-opt}"
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLV_SANITIZE=OFF \
    -DKOLV_BUILD_TESTS=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" >&2
  echo "$build"
}
