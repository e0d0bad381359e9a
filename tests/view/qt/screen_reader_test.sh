#!/usr/bin/env bash
# The window as a blind user meets it: Debian's screen reader Orca runs on a display and a session bus
# of the test's own and writes what it speaks to its debug file ("SPEECH OUTPUT: '…'"), while the
# window is used by keyboard and mouse. Every message the window shows must be among what Orca said,
# once for each time it was shown, with the focus left where it was.
# Without Orca or the virtual display the test says so and is skipped (exit 77).
# Usage: bash tests/view/screen_reader_test.sh path/to/orvanta
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)

missing=()
for tool in orca Xvfb xdotool xwininfo dbus-run-session; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi-bus-launcher)
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: not installed: ${missing[*]} (bash scripts/setup.sh orca xvfb xdotool x11-utils)"
  exit 77
fi
# Orca and the window meet on the accessibility bus, which the session bus starts: a bus of our own.
if [ -z "${ORVANTA_OWN_BUS:-}" ]; then
  ORVANTA_OWN_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$here/../../../scripts/xvfb.sh"
work=$(mktemp -d)
log=$work/orca.log
orca_pid=
app_pid=
xvfb_pid=
cleanup() {
  set +e
  for pid in $app_pid $orca_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null
    # Orca can hang on its way out once the window it watched is gone.
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work"
# Everything Orca, D-Bus and the window keep goes to the test's folder.
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home Windir=$work/windows
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -m 700 "$XDG_RUNTIME_DIR" && mkdir "$HOME" "$Windir"
unset AT_SPI_BUS_ADDRESS
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# A fixed product identifier: the start-up message names its last two digits.
export ORVANTA_REGISTRY=$work/registry.reg
printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion]' '"ProductId"="55274-640-2673064-23947"' \
  >"$ORVANTA_REGISTRY"

# Orca itself, with its debug file written line by line (Python would hold it back in blocks), so
# that the test can follow it while it runs.
/usr/bin/python3 - "$(command -v orca)" "$log" "$work/orca-settings" >"$work/orca.out" 2>&1 <<'PYTHON' &
import builtins, runpy, sys
orca, log, settings = sys.argv[1:4]
plain_open = builtins.open
builtins.open = lambda file, mode="r", buffering=-1, *rest, **named: plain_open(
    file, mode, 1 if file == log else buffering, *rest, **named)
sys.argv = [orca, "--user-prefs", settings, "--debug-file", log]
runpy.run_path(orca, run_name="__main__")
PYTHON
orca_pid=$!

fail() {
  echo "FAIL: $*"
  grep -h "SPEECH OUTPUT" "$log" | tail -n 25
  exit 1
}
# How often Orca has begun to say TEXT.
said() { grep -cF "SPEECH OUTPUT: '$1" "$log" || true; }
# wait_for COMMAND...: waits up to 30 s, while Orca runs, until COMMAND succeeds.
wait_for() {
  for _ in $(seq 300); do
    "$@" && return 0
    kill -0 "$orca_pid" 2>/dev/null || fail "Orca stopped"
    sleep 0.1
  done
  return 1
}
at_least() { [ "$(said "$1")" -ge "$2" ]; }
hear() { wait_for at_least "$1" "$2" || fail "Orca did not say '$1' $2 times (it said it $(said "$1") times)"; }
# press KEY TEXT: presses KEY, and waits until Orca says TEXT once more.
press() {
  local before
  before=$(said "$2")
  xdotool key "$1"
  hear "$2" $((before + 1))
}

touch "$log"
wait_for grep -q "EVENT MANAGER: Activated" "$log" || fail "Orca did not get ready"

(cd "$work" && exec "$program") >"$work/orvanta.log" 2>&1 &
app_pid=$!
window=$(wait_for_window '/\("orvanta" "Orvanta"\)/' "$app_pid") || fail "the window did not appear"
xdotool windowfocus --sync "$window"

# The start-up message, read with the message box, which has the focus.
hear '暗号化キーは、自動で 47 を設定しました' 1
press Tab '登録先（プロダクト名）'
press Tab '登録ID名'
press Tab '登録モードヘ'
press Return '戻る'
press shift+Tab 'パスワード'
press shift+Tab '登録ID名'
press shift+Tab '登録する'
# Enter on 登録する with the boxes empty, twice: the same refusal is said twice.
press Return '記入漏れ'
press Return '記入漏れ'
press Tab '登録ID名'
press Tab 'パスワード'
press at '入力可能文字ではありません'
# A click on 登録する: the message, after what Orca says of the button the click focused.
xdotool mousemove --window "$window" 92 244 click 1
hear '記入漏れ' 3
press Tab '登録ID名'

# Each message once for each time it was shown, and the focus never sent to the message box.
[ "$(said '暗号化キーは')" -eq 1 ] || fail "the start-up message was said $(said '暗号化キーは') times"
[ "$(said '記入漏れ')" -eq 3 ] || fail "記入漏れ was said $(said '記入漏れ') times, not 3"
[ "$(said '入力可能文字ではありません')" -eq 1 ] || fail "the refused @ was said $(said '入力可能文字ではありません') times"
[ "$(said 'メッセージ')" -eq 1 ] || fail "the focus went to the message box again"
echo "Orca said every message:"
grep -hF -e "SPEECH OUTPUT: '暗号化キー" -e "SPEECH OUTPUT: '記入漏れ" -e "SPEECH OUTPUT: '入力可能文字" "$log"
