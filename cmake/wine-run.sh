#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests need it: a Chinese ANSI code page (936),
# a prefix of its own (WINEPREFIX, made on first use), no debug chatter, and a wineserver
# that does not hold the caller's output pipe open.
set -euo pipefail
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-moxtrel}
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Wine draws its own title bar buttons with Marlett, which it does not find by itself.
  marlett=/usr/share/wine/fonts/marlett.ttf
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/"
  fi
) 9>"$WINEPREFIX.lock"
wineserver -p10 </dev/null >/dev/null 2>&1 || true
exec wine "$@"
