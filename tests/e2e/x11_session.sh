# shellcheck shell=bash
# Helpers for driving the game in a private X server, as a player would: start the
# server, wait for windows by their titles, take screenshots and read their pixels.
# Sourced by the end-to-end scripts; needs bash 5, Xvfb, xdotool and ImageMagick.
#
# A script that sources this file gets a scratch folder $session_dir, removed on exit. It
# must not set its own EXIT trap: it registers processes to stop on exit with
# `stop_on_exit PID`, and commands to run on exit with `at_exit COMMAND`.

session_dir=$(mktemp -d "${TMPDIR:-/tmp}/pliton-x11.XXXXXX")
session_pids=()
session_cleanups=()

end_session() {
    local status=$? pid cleanup
    set +e
    for pid in "${session_pids[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    for cleanup in "${session_cleanups[@]}"; do
        eval "$cleanup"
    done
    rm -rf "$session_dir"
    exit "$status"
}
trap end_session EXIT

stop_on_exit() { session_pids=("$1" "${session_pids[@]}"); }

at_exit() { session_cleanups=("$1" "${session_cleanups[@]}"); }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() { echo "-- $*"; }

# The tools a session needs; exits with the skip status 77 when one is missing.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (scripts/setup installs it)" >&2
            exit 77
        fi
    done
}

# Starts Xvfb with one screen of the given size on a display nobody uses, and points
# DISPLAY at it. The server tells its display number once it accepts clients.
start_x_server() {
    local size=$1 display_file="$session_dir/display"
    : >"$display_file"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$display_file" \
        >"$session_dir/xvfb.log" 2>&1 &
    local server=$!
    stop_on_exit "$server"
    # Should the script be killed outright, with no chance to clean up, the server (and
    # with it any game still on it) goes too.
    (tail --pid=$$ -f /dev/null && kill "$server") >/dev/null 2>&1 &
    stop_on_exit $!
    wait_until 30 "the X server to start" test -s "$display_file"
    DISPLAY=":$(head -n1 "$display_file")"
    export DISPLAY
    # Nothing from the developer's own desktop may leak into the session.
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION \
        QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
        QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
    export QT_QPA_PLATFORM=xcb
    export XDG_RUNTIME_DIR="$session_dir/runtime"
    export XDG_CONFIG_HOME="$session_dir/config"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# Starts a reparenting window manager on the X server, as a player's desktop has one: it
# frames every window with a title bar and keeps the work area (_NET_WORKAREA) clear of
# panels. Returns once it manages the screen.
start_window_manager() {
    openbox >"$session_dir/openbox.log" 2>&1 &
    stop_on_exit $!
    wait_until 30 "the window manager to start" window_manager_runs
}

window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# Opens a panel HEIGHT pixels high across the top of the screen, as a desktop's top bar,
# and waits until the window manager has taken it off the work area.
open_top_panel() {
    local height=$1 width panel
    width=$(xwininfo -root | awk '/^  Width:/ { print $2 }')
    xmessage -name top-panel -geometry "${width}x$height+0+0" panel >/dev/null 2>&1 &
    stop_on_exit $!
    panel=$(wait_window top-panel)
    xprop -id "$panel" -f _NET_WM_STRUT_PARTIAL 32c \
        -set _NET_WM_STRUT_PARTIAL "0,0,$height,0,0,0,0,0,0,$((width - 1)),0,0"
    wait_until 5 "the work area to leave room for the top panel" work_area_starts_at "$height"
}

# Prints the work area as "LEFT TOP WIDTH HEIGHT".
work_area() { xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g' | cut -d' ' -f1-4; }

work_area_starts_at() { [[ $(work_area | cut -d' ' -f2) == "$1" ]]; }

# Prints a managed window's frame, title bar and borders included, as "LEFT TOP WIDTH
# HEIGHT", from the window's place and the frame the window manager gave it
# (_NET_FRAME_EXTENTS); fails while it has none.
frame_of() {
    local extents left right top bottom x y width height
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS) && [[ $extents == *=* ]] || return 1
    read -r left right top bottom <<<"$(sed 's/.*= //; s/,//g' <<<"$extents")"
    read -r x y width height < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print x, y, w, h }')
    echo $((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))
}

# Whether a window's frame has its top-left corner on the work area, and lies wholly on it
# where it fits.
frame_on_work_area() {
    local x y width height area_x area_y area_width area_height frame
    frame=$(frame_of "$1") || return 1
    read -r x y width height <<<"$frame"
    read -r area_x area_y area_width area_height < <(work_area)
    ((x >= area_x && y >= area_y)) || return 1
    ((width > area_width || x + width <= area_x + area_width)) || return 1
    ((height > area_height || y + height <= area_y + area_height))
}

# expect_frame_on_work_area WINDOW WHAT: waits a moment for the window to settle, then
# fails unless its frame is on the work area.
expect_frame_on_work_area() {
    local deadline=$(($(now_ms) + 3000))
    until frame_on_work_area "$1"; do
        if (($(now_ms) > deadline)); then
            fail "$2: the frame $(frame_of "$1" | awk '{ print $3 "x" $4 " at " $1 "," $2 }') is not on the work area $(work_area | awk '{ print $3 "x" $4 "+" $1 "+" $2 }')"
        fi
        sleep 0.05
    done
    note "$2: frame $(frame_of "$1" | awk '{ print $3 "x" $4 " at " $1 "," $2 }')"
}

# wait_until SECONDS WHAT COMMAND...: runs COMMAND every 50 ms until it succeeds; fails
# the test naming WHAT when it has not succeeded within SECONDS.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$(($(now_ms) + seconds * 1000))
    until "$@" >/dev/null 2>&1; do
        (($(now_ms) < deadline)) || fail "timed out after ${seconds} s waiting for $what"
        sleep 0.05
    done
}

# The id of the shown window whose title is exactly TITLE; fails when there is none.
shown_window() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null) || return 1
    [[ -n $ids ]] || return 1
    head -n1 <<<"$ids"
}

# Waits until a window titled TITLE is shown and prints its id. Windows get 30 s unless
# told otherwise: with sanitized tests running side by side on a busy machine, even a small
# X client has taken over 10 s to map, and a wait that succeeds ends at once anyway.
wait_window() {
    wait_until "${2:-30}" "the window \"$1\"" shown_window "$1"
    shown_window "$1"
}

no_window() { ! shown_window "$1"; }

wait_window_gone() { wait_until "${2:-30}" "the window \"$1\" to close" no_window "$1"; }

# Prints "WIDTH HEIGHT" of a window.
window_size() {
    xwininfo -id "$1" | awk '/^  Width:/ { w = $2 } /^  Height:/ { h = $2 } END { print w, h }'
}

# Clicks at a point given in the window's own pixels.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Moves the pointer out of every window, so that no control shows its hover look.
park_pointer() { xdotool mousemove 0 0; }

# Gives a window the keyboard focus and types keys into it.
keys_to() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" key --delay 30 "$@"
}

shot() { import -window "$1" "$2"; }

# pixels FILE X1 Y1 [X2 Y2 ...]: prints "R G B" of each listed pixel of a picture, one a line.
pixels() {
    local file=$1 format=
    shift
    while (($# >= 2)); do
        format+="%[fx:round(255*p{$1,$2}.r)] %[fx:round(255*p{$1,$2}.g)] %[fx:round(255*p{$1,$2}.b)]\n"
        shift 2
    done
    convert "$file" -depth 8 -format "$format" info:
}

pixel() { pixels "$@"; }

# is_colour FILE X Y R G B [TOLERANCE]: whether the pixel is the colour, each channel
# within TOLERANCE (default 8).
is_colour() {
    local r g b tolerance=${7:-8}
    read -r r g b < <(pixel "$1" "$2" "$3")
    ((r - $4 <= tolerance && $4 - r <= tolerance && g - $5 <= tolerance && $5 - g <= tolerance &&
        b - $6 <= tolerance && $6 - b <= tolerance))
}

expect_colour() {
    local what=$1
    shift
    is_colour "$@" || fail "$what: pixel ($2,$3) of $(basename "$1") is $(pixel "$1" "$2" "$3"), expected $4 $5 $6"
}

# Prints how many pixels of the rectangle W x H at X,Y differ between two pictures by
# more than a fifth of the colour range.
pixels_changed() {
    local first=$1 second=$2 geometry="$5x$6+$3+$4"
    convert "$first" -crop "$geometry" +repage "$session_dir/a.png"
    convert "$second" -crop "$geometry" +repage "$session_dir/b.png"
    compare -metric AE -fuzz 20% "$session_dir/a.png" "$session_dir/b.png" null: 2>&1 || true
}

# Prints how many pixels of the rectangle show the colour R G B, within a fifth of the range.
pixels_of_colour() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -fuzz 20% -fill black +opaque "rgb($6,$7,$8)" \
        -fill white -opaque "rgb($6,$7,$8)" -format '%[fx:round(mean*w*h)]\n' info:
}
