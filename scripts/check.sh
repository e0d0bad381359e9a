#!/usr/bin/env bash
# The quick check before a commit: clang-format and clang-tidy on the files changed since origin/main
# (or since HEAD where there is no origin/main), or on every file with --all. Needs no root and no
# packages beyond clang-format and clang-tidy, and a configured build for the compile database.
# Usage: bash scripts/check.sh [--all] [build-dir]     (build-dir: build/dev, from `cmake --preset dev`)
set -euo pipefail
cd "$(dirname "$0")/.."

all=false
if [ "${1:-}" = "--all" ]; then
  all=true
  shift
fi
build=${1:-build/dev}

if $all; then
  files=$(git ls-files '*.cpp' '*.h')
else
  base=HEAD
  git rev-parse -q --verify origin/main >/dev/null && base=$(git merge-base HEAD origin/main)
  files=$( (git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
            git ls-files --others --exclude-standard -- '*.cpp' '*.h') | sort -u)
fi
[ -n "$files" ] || { echo "Nothing changed to check."; exit 0; }

echo "== clang-format"
echo "$files" | xargs clang-format --dry-run -Werror

echo "== clang-tidy"
database="$build/compile_commands.json"
if [ ! -f "$database" ]; then
  echo "No $database: configure first (cmake --preset dev), then run this again." >&2
  exit 1
fi
# The program's sources this build compiles (the Windows ones only a mingw build does); a changed
# header is checked through the source file of the same name.
compiled=$(sed -n 's/^ *"file": "\(.*\)",\?$/\1/p' "$database" | sort -u)
sources=()
for f in $files; do
  case "$f" in src/*) ;; *) continue ;; esac
  f="$PWD/${f%.*}.cpp"
  grep -qxF "$f" <<<"$compiled" && sources+=("$f")
done
if [ ${#sources[@]} -eq 0 ]; then
  echo "No changed source of src/ in this build."
  exit 0
fi
# clang-tidy counts the warnings it was told to leave out ("N warnings generated."); only findings show.
printf '%s\n' "${sources[@]}" | sort -u | xargs -P"$(nproc)" -n4 clang-tidy -p "$build" --quiet 2>&1 |
  { grep -v ' generated\.$' || true; }
echo "Checked ${#sources[@]} source files."
