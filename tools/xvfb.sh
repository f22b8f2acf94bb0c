# Sourced: starts a private Xvfb on a free display number and exports DISPLAY.
# xvfb_start sets ORV_XVFB_PID; xvfb_stop PID ends it.
xvfb_start() {
  local n
  for n in $(seq 90 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "${ORV_SCREEN:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
    ORV_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      if [[ -e /tmp/.X11-unix/X$n ]]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$ORV_XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
    kill "$ORV_XVFB_PID" 2>/dev/null
  done
  echo "xvfb: could not start Xvfb" >&2
  return 1
}

xvfb_stop() {
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null || true
}
