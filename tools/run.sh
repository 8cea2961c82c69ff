#!/usr/bin/env bash
# Builds Moxtrel.exe and starts it under Wine with the Chinese ANSI code page (936).
# With a display (DISPLAY set) the program runs there until you close it. Without one it runs
# on a virtual Xvfb display: the script waits for the window, saves a screenshot, says where,
# and closes the program again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j2 --target Moxtrel
program=$root/build/win/ui/Moxtrel.exe
export WINEPREFIX=${WINEPREFIX:-$root/build/win/wineprefix-run}

if [ -n "${DISPLAY:-}" ]; then
  echo "run: starting $program on display $DISPLAY"
  set +e
  "$root/cmake/wine-run.sh" "$program"
  code=$?
  set -e
  echo "run: Moxtrel.exe ended with exit code $code"
  exit "$code"
fi

export DISPLAY=:95
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
# No window manager runs there, so Wine draws the frames and title bars itself.
"$root/tests/ui/prepare_prefix.sh" "$root/cmake/wine-run.sh"
"$root/cmake/wine-run.sh" "$program" &
moxtrel=$!
cleanup() {
  kill "$moxtrel" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
echo "run: no display, so Moxtrel.exe runs on the virtual display $DISPLAY (1024x768)"
window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Moxtrel0\.1' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "run: the window did not appear"; exit 1; }
sleep 1
picture=$root/build/win/moxtrel-run.png
import -window root "$picture"
echo "run: the window is up; screenshot of the screen saved to $picture"
xdotool key --clearmodifiers alt+F4
set +e
wait "$moxtrel"
code=$?
set -e
echo "run: closed with Alt+F4; Moxtrel.exe ended with exit code $code"
