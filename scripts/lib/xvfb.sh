# start_xvfb: starts a private X server for the drop window's tests and
# exports DISPLAY. Xvfb picks a free display number itself (-displayfd), so
# no fixed number can collide with a server already running. The server is
# stopped when the calling shell exits.
start_xvfb() {
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed (scripts/packages/window.txt lists it)" >&2
    return 1
  fi
  local fifo_dir
  fifo_dir="$(mktemp -d)"
  mkfifo "${fifo_dir}/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"${fifo_dir}/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill "${XVFB_PID}" 2>/dev/null; wait "${XVFB_PID}" 2>/dev/null || true' EXIT
  local number=""
  # The server writes its display number once it accepts connections.
  read -r -t 30 number <"${fifo_dir}/display" || true
  rm -rf "${fifo_dir}"
  if [[ -z "${number}" ]]; then
    echo "Xvfb did not start" >&2
    kill "${XVFB_PID}" 2>/dev/null || true
    return 1
  fi
  export DISPLAY=":${number}"
  echo "Xvfb running on ${DISPLAY}"
}
