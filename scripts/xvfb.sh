# Sourced by the scripts that show Orvanta on a virtual display.
#
# start_xvfb WORK: starts Xvfb on a free display number (Xvfb writes it to descriptor 3), waits until it
# is up, and exports DISPLAY and QT_QPA_PLATFORM for it. Sets xvfb_pid; the caller stops it. WORK is
# the caller's scratch folder, which keeps the display number and Xvfb's log.
start_xvfb() {
  local work=$1
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "Xvfb を起動できません / Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
}

# wait_for_window PATTERN [PID]: waits up to 30 s for a viewable top-level window whose line in
# `xwininfo -root -children` matches the awk PATTERN, and prints its id. Fails, printing nothing, when
# no such window appears, or as soon as PID (when given) has exited.
wait_for_window() {
  local pattern=$1 pid=${2:-} window
  for _ in $(seq 150); do
    if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
      return 1
    fi
    window=$(xwininfo -root -children 2>/dev/null | awk "$pattern {print \$1; exit}")
    if [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q 'IsViewable'; then
      echo "$window"
      return 0
    fi
    sleep 0.2
  done
  return 1
}
