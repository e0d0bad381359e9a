# Sourced by the scripts that show Orvanta on a virtual display.
#
# start_xvfb WORK: starts Xvfb on a free display number (Xvfb writes it to descriptor 3), waits until it
# is up, and exports DISPLAY and QT_QPA_PLATFORM for it. Sets xvfb_pid; the caller stops it. WORK is
# the caller's scratch folder, which keeps the display number and Xvfb's log.
start_xvfb() {
  local work=$1
  Xvfb -displayfd 3 -noreset -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
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
