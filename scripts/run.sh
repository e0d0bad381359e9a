#!/usr/bin/env bash
# Sets up, builds and starts Orvanta.
#
#   bash scripts/run.sh                          start the window on this desktop
#   bash scripts/run.sh --screenshot [file.png]  start it on a virtual display (Xvfb), save a picture
#                                                of the window (default: orvanta-screenshot.png), stop
#   bash scripts/run.sh --xvfb                   keep it running on a virtual display
#
# Orvanta starts in build/bin, beside its picture and its help file (F1 looks for ORVANTA.HLP in the
# folder the program was started in). Its data lives in ~/.local/share/orvanta (see the README).
set -euo pipefail

started_in=$(pwd)
cd "$(dirname "$0")/.."

usage() {
  sed -n '4,6p' "$0" | sed 's/^#  //' >&2
}

mode=desktop
shot=
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot)
      mode=screenshot
      if [ $# -gt 1 ] && [ "${2#-}" = "$2" ]; then
        shot=$2
        shift
      fi
      ;;
    --xvfb) mode=xvfb ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run.sh: 知らないオプションです / unknown option: $1" >&2; usage; exit 2 ;;
  esac
  shift
done
if [ "$mode" = screenshot ]; then
  shot=${shot:-orvanta-screenshot.png}
  case "$shot" in /*) ;; *) shot="$started_in/$shot" ;; esac
fi

# What the program needs, and for a virtual display the X server, xwininfo and ImageMagick's import.
extra=()
case "$mode" in
  screenshot) extra=(xvfb x11-utils imagemagick) ;;
  xvfb) extra=(xvfb x11-utils) ;;
esac
bash scripts/setup.sh "${extra[@]}"

echo "== Building Orvanta into build/"
# Warnings stop the build in development and CI (scripts/test.sh); here they must not keep a user from
# the program when another compiler version warns about something new.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVANTA_BUILD_TESTS=OFF -DORVANTA_BUILD_BENCH=OFF \
  --compile-no-warning-as-error >/dev/null
cmake --build build -j"$(nproc)"
bin=build/bin
test -x "$bin/orvanta"

if [ "$mode" = desktop ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "画面（ディスプレイ）がないため、Orvanta のウィンドウを開けません。ウィンドウの画像を見るには: bash scripts/run.sh --screenshot [file.png]"
    echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are unset), so the window cannot open. To see it anyway: bash scripts/run.sh --screenshot [file.png]  (or --xvfb to keep it running on a virtual display)"
    exit 0
  fi
  cd "$bin"
  exec ./orvanta
fi

# A virtual display.
source scripts/xvfb.sh
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  set +e # a process that is already gone is no reason to leave the others running
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb "$work"
# Qt wants a private runtime folder; root shells and containers often have none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

if [ "$mode" = xvfb ]; then
  echo "Orvanta を仮想ディスプレイ $DISPLAY で動かしています（Ctrl+C で終了） / Orvanta is running on virtual display $DISPLAY (Ctrl+C stops it)"
  (cd "$bin" && exec ./orvanta) &
  app_pid=$!
  wait "$app_pid" || true
  app_pid=
  exit 0
fi

(cd "$bin" && exec ./orvanta) >"$work/orvanta.log" 2>&1 &
app_pid=$!

# Wait for the window to be mapped: the top-level window of class "orvanta", 543 x 356.
if ! window=$(wait_for_window '/\("orvanta" "Orvanta"\)/ && / 543x356\+/' "$app_pid"); then
  cat "$work/orvanta.log" >&2
  if kill -0 "$app_pid" 2>/dev/null; then
    echo "Orvanta のウィンドウが表示されませんでした / the Orvanta window did not appear" >&2
  else
    echo "Orvanta が終了しました / Orvanta exited" >&2
  fi
  exit 1
fi
sleep 1 # let the first paint finish
import -window "$window" "$shot"
echo "画面写真を保存しました / screenshot saved: $shot"
