#!/usr/bin/env bash
# Builds the packages a user installs or unpacks, into build/package/:
#   orvanta-<version>-win64.zip   orvanta.exe (64-bit, linked statically), logob.jpg and ORVANTA.HLP in
#                                 one folder: unpack it anywhere and start orvanta.exe.
# Usage: bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Orvanta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out="$PWD/build/package"

package_windows() {
  bash scripts/setup.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 zip
  echo "== Windows: orvanta.exe (Release, build/windows-release)"
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j"$(nproc)" --target orvanta
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

package_windows
