#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The game on a Wayland desktop, natively through Qt's Wayland plugin: under weston's
# headless compositor its main window is made a top-level window titled "Плитон" with the
# app id of its desktop entry and drawn, the game is still running seconds later, and the
# platform plugin has warned about nothing. What the game tells the compositor is read from
# the Wayland library's own log of the client's requests (WAYLAND_DEBUG=client). Then, over
# the accessibility bus, a new game and a hint: its text shows on the window's message line,
# inside the window. Skipped when weston, Qt's Wayland plugin or the accessibility bus is
# not there.
#
# usage: wayland_test.sh GAME
set -euo pipefail

game=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=atspi_bus.sh
source "$here/atspi_bus.sh"
own_session_bus "$0" "$@"
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
require_tools weston
plugin=$(find /usr/lib/*/qt6/plugins/platforms -name 'libqwayland-*.so' -print -quit 2>/dev/null || true)
if [[ -z $plugin ]]; then
    echo "SKIP: Qt's Wayland plugin is not installed (scripts/setup installs qt6-wayland)" >&2
    exit 77
fi

# The compositor and the game share a runtime folder of their own; nothing of the
# developer's own desktop may reach either.
unset DISPLAY XDG_CURRENT_DESKTOP XDG_SESSION_TYPE DESKTOP_SESSION QT_QPA_PLATFORMTHEME \
    QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_WAYLAND_SHELL_INTEGRATION QT_WAYLAND_DECORATION \
    QT_LOGGING_RULES QT_XCB_NO_MITSHM DBUS_SESSION_BUS_ADDRESS
export XDG_RUNTIME_DIR="$session_dir/runtime" XDG_CONFIG_HOME="$session_dir/config"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
start_accessibility_bus
socket=pliton-$$

weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=768 \
    --idle-time=0 --no-config >"$session_dir/weston.log" 2>&1 &
stop_on_exit $!
wait_until 10 "weston to open its socket" test -S "$XDG_RUNTIME_DIR/$socket"

log=$session_dir/game.log
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    QT_ACCESSIBILITY=1 "$game" >"$log" 2>&1 &
game_pid=$!
stop_on_exit "$game_pid"

# The protocol log's lines ("[  1234.567]  -> interface@id.request(arguments)"), and
# everything else the game wrote.
requests() { grep -aE '^\[ *[0-9]+\.[0-9]+\] +-> ' "$log" | sed -E 's/^\[[^]]*\] +-> //'; }
others() { grep -avE '^\[ *[0-9]+\.[0-9]+\] ' "$log" || true; }
game_log() { printf '%s\n' "-- the game's output:" "$(others)" "-- weston's:" "$(<"$session_dir/weston.log")"; }
failing() {
    fail "$*$(printf '\n%s' "$(game_log)")"
}

# The top level's ids: xdg_wm_base.get_xdg_surface(new xdg_surface, wl_surface) and
# xdg_surface.get_toplevel(new xdg_toplevel).
toplevel_drawn() {
    local surfaces toplevel xdg_surface wl_surface
    surfaces=$(requests | sed -nE 's/^xdg_wm_base@[0-9]+\.get_xdg_surface\(new id xdg_surface@([0-9]+), wl_surface@([0-9]+)\)$/\1 \2/p')
    toplevel=$(requests | sed -nE 's/^xdg_surface@([0-9]+)\.get_toplevel\(new id xdg_toplevel@([0-9]+)\)$/\1 \2/p' | head -n1)
    [[ -n $toplevel ]] || return 1
    read -r xdg_surface toplevel_id <<<"$toplevel"
    wl_surface=$(awk -v s="$xdg_surface" '$1 == s { print $2; exit }' <<<"$surfaces")
    [[ -n $wl_surface ]] && requests | grep -q "^wl_surface@$wl_surface\.attach(wl_buffer@"
}
deadline=$(($(now_ms) + 30000))
until toplevel_drawn; do
    kill -0 "$game_pid" 2>/dev/null || failing "the game ended before it drew its window"
    (($(now_ms) < deadline)) || failing "the game drew no top-level window within 30 s"
    sleep 0.1
done
note "a top-level window, xdg_toplevel@$toplevel_id, drawn"

expect_request() {
    requests | grep -qxF "xdg_toplevel@$toplevel_id.$1" || failing "the window was not given $1"
}
expect_request 'set_title("Плитон")'
expect_request 'set_app_id("org.example.Pliton")'
note "titled \"Плитон\", app id org.example.Pliton"

sleep 3
kill -0 "$game_pid" 2>/dev/null || failing "the game ended within seconds of its start"
# Qt's platform plugins warn in the categories qt.qpa.*; the game itself writes nothing.
[[ -z $(others) ]] || failing "the game wrote more than the protocol log"
note "still running after 3 s, and nothing but the protocol in its output"

/usr/bin/python3 "$here/atspi_check.py" --hint "$game_pid" || failing "no hint shown in the window"
