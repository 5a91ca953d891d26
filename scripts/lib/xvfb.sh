# shellcheck shell=bash
# A private Xvfb server. Source it; needs common.sh.
#
#   xvfb_start      picks a free display number, starts Xvfb there, waits until it answers;
#                   sets XVFB_PID and exports DISPLAY
#   xvfb_stop       ends that server (by its PID) if it runs

XVFB_PID=""
XVFB_FIRST_DISPLAY=${XVFB_FIRST_DISPLAY:-90}
XVFB_SCREEN=${XVFB_SCREEN:-1280x1024x24}

_xvfb_free() { [ ! -e "/tmp/.X11-unix/X$1" ] && [ ! -e "/tmp/.X$1-lock" ]; }

xvfb_start() {
  local n tries
  for ((n = XVFB_FIRST_DISPLAY; n < XVFB_FIRST_DISPLAY + 100; n++)); do
    _xvfb_free "$n" || continue
    Xvfb ":$n" -screen 0 "$XVFB_SCREEN" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for ((tries = 0; tries < 100; tries++)); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        log "Xvfb on display :$n (pid $XVFB_PID)"
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break # lost a race for this number: try the next
      sleep 0.1
    done
    xvfb_stop
  done
  die "no free X display for Xvfb"
}

xvfb_stop() {
  [ -n "$XVFB_PID" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=""
}
