#!/usr/bin/env bash
# Builds the packages users install or unpack, into build/package/:
#   orvanta_<version>_amd64.deb   the Debian package (a Release build, packed by CPack)
#   orvanta-<version>-win64.zip   orvanta.exe (64-bit, linked statically), logob.jpg and ORVANTA.HLP in
#                                 one folder: unpack it anywhere and start orvanta.exe.
# Each package is one function below; `package_all` lists them.
# Usage: bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Orvanta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
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

# The Windows program, cross-built with mingw-w64 and zipped with its picture and help file.
package_windows() {
  # libstb-dev: the picture's decoder, compiled into orvanta.exe.
  bash scripts/setup.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libstb-dev zip
  echo "== Windows: orvanta.exe (Release, build/windows-release)"
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j"$jobs" --target orvanta
  local bin=build/windows-release/bin
  x86_64-w64-mingw32-strip "$bin/orvanta.exe"

  # Nothing but Windows' own libraries: a program that needs a MinGW DLL beside it would not start
  # from the unpacked folder.
  local foreign
  foreign=$(x86_64-w64-mingw32-objdump -p "$bin/orvanta.exe" | sed -n 's/^\s*DLL Name: //p' |
    grep -viE '^(advapi32|bcrypt|comctl32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|shell32|user32|windowscodecs)\.dll$' || true)
  if [ -n "$foreign" ]; then
    echo "orvanta.exe needs libraries that Windows does not have: $foreign" >&2
    return 1
  fi

  local name="orvanta-$version-win64"
  local stage
  stage=$(mktemp -d)
  mkdir "$stage/$name"
  cp "$bin/orvanta.exe" assets/logob.jpg assets/ORVANTA.HLP "$stage/$name/"
  mkdir -p "$out"
  rm -f "$out/$name.zip"
  (cd "$stage" && zip -qrX "$out/$name.zip" "$name")
  rm -rf "$stage"
  echo "== $out/$name.zip"
  unzip -l "$out/$name.zip"
}

package_all() {
  package_deb
  package_windows
}

package_all
