#!/usr/bin/env bash
# scripts/xvfb.sh COMMAND...: runs COMMAND beside two virtual X servers of known geometry, for the
# display tests, and stops them afterwards.
#   LAMINA_TEST_DISPLAY       1600 x 1200 pixels, 24 bits, 120 dpi; DISPLAY names it too
#   LAMINA_TEST_DISPLAY_WIDE  2880 x 1200 pixels, 16 bits, 120 dpi; a test lays two monitors on it
# Where Xvfb is missing or does not start, COMMAND runs without them and those tests skip.
set -euo pipefail
pids=()
stop() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap stop EXIT

# start VARIABLE GEOMETRY: starts Xvfb on a free display and exports VARIABLE=:N once it is ready.
# -noreset: an X server resets itself when its last client leaves, and a connection made during
# the reset is refused; the library opens and closes a connection per report, so a test that asks
# twice in a row could see the headless default the second time.
start() {
  local out
  out=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$2" -dpi 120 -nolisten tcp -noreset 3>"$out" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    [ -s "$out" ] && break
    sleep 0.05
  done
  [ -s "$out" ] && export "$1=:$(head -n1 "$out" | tr -d '[:space:]')"
  rm -f "$out"
}

if command -v Xvfb >/dev/null 2>&1; then
  start LAMINA_TEST_DISPLAY 1600x1200x24 || true
  start LAMINA_TEST_DISPLAY_WIDE 2880x1200x16 || true
fi
if [ -n "${LAMINA_TEST_DISPLAY:-}" ]; then
  export DISPLAY=$LAMINA_TEST_DISPLAY
else
  echo "xvfb.sh: no X server started; the display tests will skip" >&2
fi
"$@"
