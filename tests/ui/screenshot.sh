#!/usr/bin/env bash
# Starts Moxtrel.exe, checks through the X server that its window stands centred at its full
# outer size, saves a picture of it, and closes it with Alt+F4 typed on the X keyboard:
# the program must end with exit code 0.
set -euo pipefail
wine_run=$1 exe=$2 picture=$3

"$wine_run" "$exe" &
program=$!
trap 'kill $program 2>/dev/null || true' EXIT

window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Moxtrel0\.1版$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no window titled Moxtrel0.1版 appeared"; exit 1; }
sleep 1  # let it paint

read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
eval "$(xdotool getwindowgeometry --shell "$window")"
expected_x=$(( (screen_w - 316) / 2 )) expected_y=$(( (screen_h - 183) / 2 ))
echo "screen ${screen_w}x${screen_h}; window at $X,$Y size ${WIDTH}x${HEIGHT}"
status=0
if [ "$X,$Y" != "$expected_x,$expected_y" ] || [ "${WIDTH}x${HEIGHT}" != 316x183 ]; then
  echo "FAIL: expected the window at $expected_x,$expected_y size 316x183"
  status=1
fi

import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$picture"
echo "screenshot: $picture"

xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4
code=""
for _ in $(seq 100); do
  if ! kill -0 "$program" 2>/dev/null; then
    set +e; wait "$program"; code=$?; set -e
    break
  fi
  sleep 0.1
done
trap - EXIT
if [ "$code" != 0 ]; then
  echo "FAIL: after Alt+F4 the program ${code:+ended with exit code $code}${code:-did not end}"
  kill "$program" 2>/dev/null || true
  exit 1
fi
echo "Alt+F4: exit code 0"
exit $status
