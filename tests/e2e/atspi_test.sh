#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The main window as assistive tools hear it over the desktop's accessibility bus, in a
# private X server and session bus: atspi_check.py reads its controls' names and places,
# starts a game and makes a move through their press actions, asks for a hint by its key,
# and listens to what a screen reader is told meanwhile. Skipped when the accessibility bus
# cannot start.
#
# usage: atspi_test.sh GAME
set -euo pipefail

game=$1
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=atspi_bus.sh
source "$here/atspi_bus.sh"
own_session_bus "$0" "$@"
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
require_tools Xvfb
started_ms=$(now_ms)
start_x_server 640x600
start_accessibility_bus

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$game" >"$session_dir/game.log" 2>&1 &
game_pid=$!
stop_on_exit "$game_pid"
if ! /usr/bin/python3 "$here/atspi_check.py" "$game_pid"; then
    [[ -s $session_dir/game.log ]] && printf '%s\n' "-- the game's output:" "$(<"$session_dir/game.log")" >&2
    exit 1
fi
note "passed in $(($(now_ms) - started_ms)) ms"
