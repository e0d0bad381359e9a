#!/usr/bin/env bash
# Builds the packages users install or unpack, into build/package/:
#   orvanta_<version>_amd64.deb    the Debian package, built from the source package in debian/ by
#                                  dpkg-buildpackage, as Debian builds it (the .changes, .dsc and
#                                  source tarball stay in build/deb/ for lintian);
#   orvanta-<version>-win64.zip    orvanta.exe (64-bit, linked statically), logob.jpg, ORVANTA.HLP,
#                                  LICENSE, COPYRIGHT and README.txt in one folder: unpack it anywhere
#                                  and start orvanta.exe;
#   orvanta-<version>-win64.msi    the same files installed for the current user only, with a
#                                  Start-menu shortcut and an entry in Apps & features (wixl).
# The .deb and the zip come out byte for byte the same from every build of one commit: their times
# are the last commit's (SOURCE_DATE_EPOCH). The MSI does not: wixl stamps it with the time of the
# build and a new package code.
# dpkg-buildpackage builds and runs the test suites unless DEB_BUILD_OPTIONS holds nocheck
# (scripts/test.sh passes it, having run them already).
# Each package is one function below; `package_all` lists them.
# Usage: bash scripts/package.sh [deb] [windows]    (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Orvanta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=$PWD/build/package
jobs=$(nproc)
# Every date in the packages is the last commit's; outside a Git checkout, dpkg-buildpackage takes
# the changelog's.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

# The Debian package: dpkg-buildpackage on a copy of the sources (the files Git tracks or would
# track, as they are in the working tree), so that the build and its results stay in build/deb/.
package_deb() {
  bash scripts/setup.sh build-essential dpkg-dev debhelper
  local tree=build/deb
  local src=$tree/orvanta-$version
  rm -rf "$tree"
  mkdir -p "$src"
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
      # A tracked file deleted in the working tree stays out, as it would from the next commit.
      if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
    done |
    tar -c --null -T - | tar -x -C "$src"
  # dpkg-deb gives every file newer than SOURCE_DATE_EPOCH that time, but keeps older times, and the
  # installed data files keep their sources' times: give the sources that time, whenever they were
  # checked out.
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    find "$src" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  fi

  local options=${DEB_BUILD_OPTIONS:-}
  case " $options " in *" parallel="*) ;; *) options="$options parallel=$jobs" ;; esac
  local profiles=()
  case " $options " in *" nocheck "*) profiles=(-Pnocheck) ;; esac
  echo "== Debian package: dpkg-buildpackage in $src (DEB_BUILD_OPTIONS=${options# })"
  (cd "$src" && dpkg-checkbuilddeps "${profiles[@]}" &&
    DEB_BUILD_OPTIONS=${options# } dpkg-buildpackage -us -uc "${profiles[@]}")
  mkdir -p "$out"
  rm -f "$out"/orvanta_*.deb
  cp "$tree/orvanta_${version}_amd64.deb" "$out/"
  echo "Debian package: ${out#"$PWD/"}/orvanta_${version}_amd64.deb"
}

# The Windows program, cross-built with mingw-w64, zipped with its picture, help file and licence,
# and packed into a per-user MSI.
package_windows() {
  # libstb-dev: the picture's decoder, compiled into orvanta.exe.
  bash scripts/setup.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libstb-dev zip wixl msitools
  echo "== Windows: orvanta.exe (Release, build/windows-release)"
  cmake --preset windows-release >/dev/null
  cmake --build --preset windows-release -j"$jobs" --target orvanta
  local bin=build/windows-release/bin
  # The stack canaries of -fstack-protector-strong (cmake/mingw-w64-x86_64.cmake), seen while the
  # symbols are still there.
  x86_64-w64-mingw32-nm "$bin/orvanta.exe" | grep -w '__stack_chk_fail' >/dev/null ||
    { echo "orvanta.exe is built without stack canaries (-fstack-protector-strong)" >&2; return 1; }
  # strip writes a time into the PE header, SOURCE_DATE_EPOCH's or else the clock's: 0 keeps what the
  # linker wrote (--no-insert-timestamp), no time at all.
  SOURCE_DATE_EPOCH=0 x86_64-w64-mingw32-strip "$bin/orvanta.exe"

  # Nothing but Windows' own libraries: a program that needs a MinGW DLL beside it would not start
  # from the unpacked folder.
  local foreign
  foreign=$(x86_64-w64-mingw32-objdump -p "$bin/orvanta.exe" | sed -n 's/^\s*DLL Name: //p' |
    grep -viE '^(advapi32|bcrypt|comctl32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|shell32|user32|windowscodecs)\.dll$' || true)
  if [ -n "$foreign" ]; then
    echo "orvanta.exe needs libraries that Windows does not have: $foreign" >&2
    return 1
  fi
  # Loaded at a random address anywhere in the 64-bit space, and no code run from data
  # (cmake/mingw-w64-x86_64.cmake).
  local header
  header=$(x86_64-w64-mingw32-objdump -p "$bin/orvanta.exe")
  for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$header" || { echo "orvanta.exe is built without $flag" >&2; return 1; }
  done

  local name="orvanta-$version-win64"
  local stage
  stage=$(mktemp -d)
  mkdir "$stage/$name"
  cp "$bin/orvanta.exe" assets/logob.jpg assets/ORVANTA.HLP LICENSE "$stage/$name/"
  # The copyright of what orvanta.exe holds: the program and the runtime mingw-w64 links into it.
  cp packaging/copyright "$stage/$name/COPYRIGHT"
  # The zip's own note, as Notepad and Explorer's preview read a text best: UTF-8 with a byte-order
  # mark and CR LF.
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/README.txt; } >"$stage/$name/README.txt"
  # The same modes and times on every machine, and the entries in one order, with no extra fields
  # for Unix owners or times (-X), the times read as UTC.
  chmod 755 "$stage/$name"
  chmod 644 "$stage/$name"/*
  touch -h -d "@${SOURCE_DATE_EPOCH:-0}" "$stage/$name" "$stage/$name"/*
  mkdir -p "$out"
  rm -f "$out/$name.zip" "$out/$name.msi"
  (cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -qX -@ "$out/$name.zip")
  echo "== $out/$name.zip"
  unzip -l "$out/$name.zip"

  # wixl finds the files by paths relative to where it runs.
  local wxs=$PWD/packaging/orvanta.wxs
  cp assets/orvanta.ico "$stage/"
  # The zip's README.txt tells how to use the zip; the installed program does without it.
  (cd "$stage" && wixl -a x64 -D Version="$version" -D SourceDir="$name" -D AssetsDir=. \
    -o "$out/$name.msi" "$wxs")
  finish_msi "$out/$name.msi"
  echo "== $out/$name.msi"
  rm -rf "$stage"
}

# What wixl 0.101 cannot write (see packaging/orvanta.wxs): the database's code page, 932, and its
# Japanese texts, which Windows Installer reads in that code page; and the upgrade row that ends at
# this version inclusive (WiX's AllowSameVersionUpgrades), so that a rebuild of the same version,
# which has a product code of its own, replaces the installed one instead of standing beside it in
# Apps & features. Every older version stays reached by the same row; a newer one still stops the
# install (the row from this version exclusive, OnlyDetect).
finish_msi() {
  local msi=$1 query
  local upgrade_code
  upgrade_code={$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' packaging/orvanta.wxs | tr a-f A-F)}
  local work
  work=$(mktemp -d)
  printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"
  local queries=(
    "UPDATE \`Property\` SET \`Value\` = 'Orvanta 工房' WHERE \`Property\` = 'Manufacturer'"
    "UPDATE \`LaunchCondition\` SET \`Description\` = 'より新しいバージョンの Orvanta がインストールされています。' WHERE \`Condition\` = 'NOT WIX_DOWNGRADE_DETECTED'"
    "UPDATE \`Shortcut\` SET \`Description\` = 'Orvanta パスワード管理' WHERE \`Shortcut\` = 'OrvantaShortcut'"
    # The row's attributes are part of its key: the row is written anew, MigrateFeatures (1) and
    # VersionMaxInclusive (512).
    "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'"
    "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
  )
  local args=(-i "$work/_ForceCodepage.idt")
  for query in "${queries[@]}"; do args+=(-q "$query"); done
  msibuild "$msi" "${args[@]}"
  # The summary Explorer shows: wixl takes its author from the product's stand-in; the package code
  # stays wixl's.
  local package_code
  package_code=$(msiinfo suminfo "$msi" | sed -n 's/^Revision number (UUID): //p')
  msibuild "$msi" -s "Orvanta パスワード管理" "Orvanta 工房" "x64;1041" "$package_code"
  rm -rf "$work"
}

package_all() {
  package_deb
  package_windows
}

if [ $# -eq 0 ]; then
  package_all
fi
for package in "$@"; do
  case $package in
    deb) package_deb ;;
    windows) package_windows ;;
    *) echo "Usage: bash scripts/package.sh [deb] [windows]" >&2; exit 2 ;;
  esac
done
