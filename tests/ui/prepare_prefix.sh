#!/usr/bin/env bash
# Makes the Wine prefix of the program tests: Wine draws the window frames and places the
# windows itself, so that no window manager moves or decorates them.
set -euo pipefail
wine_run=$1
key='HKCU\Software\Wine\X11 Driver'
"$wine_run" reg add "$key" /v Decorated /d N /f >/dev/null
"$wine_run" reg add "$key" /v Managed /d N /f >/dev/null
