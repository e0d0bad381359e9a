#!/usr/bin/env bash
# Builds the packages users install, into build/package/:
#   orvanta_<version>_amd64.deb   the Debian package (a Release build, packed by CPack)
# Each package is one function below; `package_all` lists them.
# Usage: bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

out=$PWD/build/package
jobs=$(nproc)

# The Debian package, built with Debian's own hardening flags and packed by CPack's DEB generator,
# which asks dpkg-shlibdeps (dpkg-dev) for the libraries the program needs; dpkg-shlibdeps and CPack
# look at the program with `file`.
package_deb() {
  bash scripts/setup.sh dpkg-dev file
  local tree=build/deb
  local flags
  flags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CPPFLAGS)
  flags="$flags $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)"
  local ldflags
  ldflags=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)
  echo "== Debian package: Release build in $tree"
  cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DORVANTA_BUILD_TESTS=OFF -DORVANTA_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
  cmake --build "$tree" -j"$jobs"
  mkdir -p "$out"
  (cd "$tree" && cpack -G DEB -B "$out" >/dev/null)
  rm -rf "$out/_CPack_Packages"
  local deb
  deb=$(ls "$out"/orvanta_*_amd64.deb)
  echo "Debian package: ${deb#"$PWD/"}"
}

package_all() {
  package_deb
}

package_all
