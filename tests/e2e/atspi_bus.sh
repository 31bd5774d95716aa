# shellcheck shell=bash
# The desktop's accessibility bus for an end-to-end script, on a session bus of the script's
# own. Sourced by the scripts that read the game over the bus:
#
#   source atspi_bus.sh
#   own_session_bus "$0" "$@"   # first: runs the script again on a bus of its own
#   source x11_session.sh
#   start_accessibility_bus     # then: the bus that assistive tools and the game meet on
#
# Each step exits with the skip status 77 when what it needs is not installed.

skip() {
    echo "SKIP: $*" >&2
    exit 77
}

# Runs the script (its path and arguments given) again on a session bus of its own, gone
# when it ends; returns in the run on that bus, whose address it keeps for
# start_accessibility_bus (starting the X server forgets it).
own_session_bus() {
    if [[ -n ${PLITON_ATSPI_SESSION:-} ]]; then
        own_bus=$DBUS_SESSION_BUS_ADDRESS
        return
    fi
    command -v dbus-run-session >/dev/null 2>&1 || skip "dbus-run-session is not installed (scripts/setup installs it)"
    PLITON_ATSPI_SESSION=1 exec dbus-run-session -- bash "$@"
}

# Starts the accessibility bus's launcher, stopped on exit, and waits until the bus answers.
# Needs x11_session.sh's helpers and its scratch folder.
# shellcheck disable=SC2154 # session_dir comes from x11_session.sh
start_accessibility_bus() {
    local launcher="" candidate
    require_tools dbus-send
    for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
        [[ -x $candidate ]] && launcher=$candidate && break
    done
    [[ -n $launcher ]] || skip "at-spi-bus-launcher is not installed (scripts/setup installs at-spi2-core)"
    /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
        skip "the system Python cannot read the accessibility bus (scripts/setup installs python3-gi and gir1.2-atspi-2.0)"
    export DBUS_SESSION_BUS_ADDRESS=$own_bus
    "$launcher" --launch-immediately >"$session_dir/launcher.log" 2>&1 &
    stop_on_exit $!
    local deadline=$(($(now_ms) + 5000))
    until accessibility_bus_launched; do
        (($(now_ms) < deadline)) ||
            skip "the accessibility bus did not start within 5 s; $launcher said:$(printf '\n%s' "$(<"$session_dir/launcher.log")")"
        sleep 0.05
    done
}

# Asked before the launcher owns its name, the session bus would start another one.
accessibility_bus_launched() {
    [[ $(dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null) == *"boolean true"* ]] &&
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1
}
