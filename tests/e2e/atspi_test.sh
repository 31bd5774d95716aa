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

skip() {
    echo "SKIP: $*" >&2
    exit 77
}

# The whole test runs on a session bus of its own, gone when the test ends.
if [[ -z ${PLITON_ATSPI_SESSION:-} ]]; then
    command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session is not installed (scripts/setup installs it)"
    PLITON_ATSPI_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi
session_bus=$DBUS_SESSION_BUS_ADDRESS

# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
require_tools Xvfb dbus-send
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x $candidate ]] && launcher=$candidate && break
done
[[ -n $launcher ]] || skip "at-spi-bus-launcher is not installed (scripts/setup installs at-spi2-core)"
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    skip "the system Python cannot read the accessibility bus (scripts/setup installs python3-gi and gir1.2-atspi-2.0)"

started_ms=$(now_ms)
start_x_server 640x600
export DBUS_SESSION_BUS_ADDRESS=$session_bus

"$launcher" --launch-immediately >"$session_dir/launcher.log" 2>&1 &
stop_on_exit $!
# Asked before the launcher owns its name, the session bus would start another one.
launched() {
    [[ $(dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null) == *"boolean true"* ]] &&
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
}
deadline=$(($(now_ms) + 5000))
until launched; do
    (($(now_ms) < deadline)) ||
        skip "the accessibility bus did not start within 5 s; $launcher said:$(printf '\n%s' "$(<"$session_dir/launcher.log")")"
    sleep 0.05
done

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$game" >"$session_dir/game.log" 2>&1 &
game_pid=$!
stop_on_exit "$game_pid"
if ! /usr/bin/python3 "$here/atspi_check.py" "$game_pid"; then
    [[ -s $session_dir/game.log ]] && printf '%s\n' "-- the game's output:" "$(<"$session_dir/game.log")" >&2
    exit 1
fi
note "passed in $(($(now_ms) - started_ms)) ms"
