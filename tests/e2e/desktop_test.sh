#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The game in a real X server, driven from outside as a player would: start-up, a new game,
# a move, the arrangement dialog with an error box and with an ordered table that wins,
# the celebration, the rules and about windows, and closing the main window. Then the same
# windows once more at a device pixel ratio of 2, which must show the same layout, scaled;
# the game under a dark desktop scheme, where every text must stay readable; and the game
# at large scales on small screens under a window manager, with every title bar on the work area.
#
# The checks read only what a player sees: window titles and sizes, screenshots and the
# colours of their pixels at the layout's coordinates, and the clipboard.
#
# usage: desktop_test.sh GAME CLOSE_WINDOW SCREENSHOT_DIR
#   GAME          the game's executable
#   CLOSE_WINDOW  the helper that asks a window to close (close_window.cpp)
#   SCREENSHOT_DIR where the screenshots and the game's output are left, in a folder of each
#                  run's own, latest/ the last one started
set -euo pipefail

game=$1
close_window=$2
screenshot_dir=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
require_tools Xvfb xdotool xwininfo import convert compare xclip

# The colours of a dark desktop, as its platform theme gives them (scripts/setup installs it).
dark_colours=/usr/share/qt6ct/colors/darker.conf
if [[ ! -f $dark_colours ]]; then
    echo "SKIP: the dark colour scheme $dark_colours is not installed (scripts/setup installs it)" >&2
    exit 77
fi

# Runs at the same time never share a folder. What runs long ended left (untouched for ten
# minutes; a run takes three at most) is removed.
mkdir -p "$screenshot_dir"
find "$screenshot_dir" -mindepth 1 -maxdepth 1 ! -name latest -mmin +10 -exec rm -rf {} +
shots=$(mktemp -d "$screenshot_dir/run-XXXXXX")
ln -sfn "$(basename "$shots")" "$screenshot_dir/latest"
started_ms=$(now_ms)

# The project's version and contact address, which the about window shows.
version=${PLITON_VERSION:?the version of the project, which ctest passes in}
contact=${PLITON_CONTACT_ADDRESS:?the contact address of the project, which ctest passes in}

# A game built with LeakSanitizer also reports what the desktop's own libraries keep until
# exit; those are not the game's leaks.
suppressions="$session_dir/lsan.supp"
cat "$here/lsan.supp" >"$suppressions"
if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then
    cat "${BASH_REMATCH[1]}" >>"$suppressions"
fi
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$suppressions"

# Large enough for the rules window at twice its size.
start_x_server 2048x1536

main_title='Плитон'
arrangement_title='Задать расстановку'
rules_title='Игра Пятнашки'
about_title="О программе - Плитон v$version"
error_title='Error'

# Client areas of the windows, in layout pixels.
main_client=(478 526)
arrangement_client=(617 458)
rules_client=(721 412)
about_client=(528 268)

teal=(0 128 128)
white=(255 255 255)
red=(255 0 0)
yellow=(255 255 0)
silver=(192 192 192)
pale_green=(223 238 223)

# The running game: its process, its main window, its device pixels per layout pixel and
# the height of the main window's menu bar in device pixels.
game_pid=
main=
scale=1
menu=0

# Layout coordinates to device pixels: in a secondary window (d), in the main window's
# client area below the menu bar (mx, my).
d() { echo $(($1 * scale)); }
mx() { echo $(($1 * scale)); }
my() { echo $(($1 * scale + menu)); }

# launch_game RUN [VARIABLE=VALUE...]: starts the game under the given environment and
# waits for its main window; its output goes to game-RUN.log.
launch_game() {
    game_log="$shots/game-$1.log"
    env "${@:2}" "$game" >"$game_log" 2>&1 &
    game_pid=$!
    stop_on_exit "$game_pid"
    # A loaded machine, or a sanitizer build, can take a while to show the first window.
    main=$(wait_window "$main_title" 30)
}

# start_game SCALE [RUN [VARIABLE=VALUE...]]: launches the game at a whole scale and checks
# the main window's size there.
start_game() {
    scale=$1
    launch_game "${2:-x$scale}" "${@:3}" QT_SCALE_FACTOR="$scale"
    local width height
    read -r width height < <(window_size "$main")
    menu=$((height - main_client[1] * scale))
    ((width == main_client[0] * scale)) || fail "the main window is $width pixels wide at scale $scale"
    ((menu >= 10 * scale && menu <= 40 * scale)) || fail "the menu bar is $menu pixels high at scale $scale"
    note "main window ${width}x$height at scale $scale, menu bar $menu"
}

# Closes the main window as the title bar's close button would; the game must end at once
# with status 0, whatever other window is open.
close_game() {
    "$close_window" "$main" || fail "the main window did not take the close message"
    wait_until 5 "the game to end after its main window was closed" game_ended
    local status=0
    wait "$game_pid" || status=$?
    ((status == 0)) || fail "the game ended with status $status; its output:$(printf '\n%s' "$(<"$game_log")")"
}

game_ended() { ! kill -0 "$game_pid" 2>/dev/null; }

# Opens the menu "Пятнашки" by a click on its title, then walks it with the given keys.
# Right moves on to the menu "Справка", with its first item highlighted.
choose_from_menu() {
    click_at "$main" "$(d 40)" $((menu / 2))
    sleep 0.2
    xdotool key --delay 60 "$@"
}

expect_size() {
    local window=$1 title=$2 width height
    read -r width height < <(window_size "$window")
    ((width == $3 * scale && height == $4 * scale)) ||
        fail "\"$title\" is ${width}x$height at scale $scale, expected $(($3 * scale))x$(($4 * scale))"
}

# Takes a screenshot after moving the pointer away, so that no control shows its hover look.
screenshot() {
    park_pointer
    sleep 0.1
    shot "$1" "$shots/$2.png"
    echo "$shots/$2.png"
}

# Takes a screenshot of the main window into now.png; true when the rectangle X Y W H
# differs from the picture FILE in more than MIN pixels.
changed_since() {
    shot "$main" "$session_dir/now.png" &&
        (($(pixels_changed "$1" "$session_dir/now.png" "$2" "$3" "$4" "$5") > $6))
}

# --- The board --------------------------------------------------------------------------

# The pixel of cell N (1..16, row by row) that a tile's number never covers.
cell_x() { mx $((53 + 2 + 90 * (($1 - 1) % 4) + 10)); }
cell_y() { my $((32 + 2 + 90 * (($1 - 1) / 4) + 10)); }

# The tiles' background, the tooltip colour: a pale yellow.
is_tile_colour() { (($1 >= 230 && $2 >= 230 && $3 >= 150 && $3 <= 240)); }

# Prints the cell (1..16) where the board shows through; the other fifteen must show tiles.
blank_cell() {
    local file=$1 cell points=() r g b blank=0
    for cell in {1..16}; do points+=("$(cell_x "$cell")" "$(cell_y "$cell")"); done
    cell=0
    while read -r r g b; do
        cell=$((cell + 1))
        if ((r <= 8 && g >= 120 && g <= 136 && b <= 8)); then
            ((blank == 0)) || fail "$(basename "$file"): cells $blank and $cell both show the bare board"
            blank=$cell
        elif ! is_tile_colour "$r" "$g" "$b"; then
            fail "$(basename "$file"): cell $cell is $r $g $b, neither tile nor board"
        fi
    done < <(pixels "$file" "${points[@]}")
    ((cell == 16 && blank != 0)) || fail "$(basename "$file"): no cell shows the bare board"
    echo "$blank"
}

# The main window before any game: tiles in order, the clock and the counter at zero.
check_start() {
    local file=$1
    expect_colour "window background" "$file" "$(mx 5)" "$(my 5)" "${teal[@]}"
    expect_colour "window background" "$file" "$(mx 460)" "$(my 300)" "${teal[@]}"
    [[ $(blank_cell "$file") == 16 ]] || fail "at start-up the blank is not the bottom-right cell"
    expect_colour "clock background" "$file" "$(mx 107)" "$(my 408)" "${silver[@]}"
    (($(pixels_of_colour "$file" "$(mx 106)" "$(my 407)" "$(d 70)" "$(d 24)" "${red[@]}") > 50 * scale * scale)) ||
        fail "the clock shows no red digits"
    (($(pixels_of_colour "$file" "$(mx 344)" "$(my 406)" "$(d 50)" "$(d 24)" "${yellow[@]}") > 50 * scale * scale)) ||
        fail "the move counter shows no yellow digits"
    (($(pixels_of_colour "$file" "$(mx 280)" "$(my 459)" "$(d 170)" "$(d 29)" "${red[@]}") == 0)) ||
        fail "\"Вы выиграли!!!\" shows before any game"
    is_colour "$file" "$(mx 140)" "$(my 462)" 245 245 245 12 || fail "\"Начать игру\" is not where it belongs"
}

# --- Secondary windows ------------------------------------------------------------------

check_arrangement() {
    local file=$1
    # The first cell is selected, the others are empty and white, the grid lines silver.
    is_colour "$file" "$(d 72)" "$(d 56)" "${white[@]}" && fail "the first cell of the table is not selected"
    expect_colour "second cell" "$file" "$(d 160)" "$(d 56)" "${white[@]}"
    expect_colour "last cell" "$file" "$(d 336)" "$(d 320)" "${white[@]}"
    expect_colour "grid line" "$file" "$(d 118)" "$(d 140)" "${silver[@]}"
    expect_colour "hint background" "$file" "$(d 590)" "$(d 278)" "${white[@]}"
    is_colour "$file" "$(d 80)" "$(d 400)" 245 245 245 12 || fail "\"Задать\" is not where it belongs"
}

check_rules() {
    local file=$1
    # The banner's strip above the text, dark with a golden ornament; the text on white.
    (($(pixels_of_colour "$file" 0 0 "$(d 570)" "$(d 38)" 0 0 0) > 2000 * scale * scale)) ||
        fail "the rules window's banner does not show"
    expect_colour "rules text background" "$file" "$(d 680)" "$(d 120)" "${white[@]}"
}

check_about() {
    local file=$1
    expect_colour "contact label background" "$file" "$(d 257)" "$(d 17)" "${pale_green[@]}" 4
    (($(pixels_of_colour "$file" "$(d 256)" "$(d 16)" "$(d 129)" "$(d 17)" 0 0 255) > 40 * scale * scale)) ||
        fail "the contact address is not shown in blue"
    (($(pixels_of_colour "$file" "$(d 8)" "$(d 56)" "$(d 136)" "$(d 13)" "${red[@]}") > 40 * scale * scale)) ||
        fail "the red ornament does not show"
}

# Clicks the contact label and waits for its address on the clipboard.
copy_contact() {
    local about=$1
    click_at "$about" "$(d 300)" "$(d 24)"
    clipboard_is() { [[ $(xclip -o -selection clipboard 2>/dev/null) == "$contact" ]]; }
    wait_until 5 "the contact address \"$contact\" on the clipboard" clipboard_is
}

# --- At the layout's own size -----------------------------------------------------------

start_game 1
start_shot=$(screenshot "$main" 01-start)
check_start "$start_shot"

note "a new game"
click_at "$main" "$(mx 140)" "$(my 476)"
wait_until 5 "a dealt board" changed_since "$start_shot" "$(mx 53)" "$(my 32)" "$(d 364)" "$(d 364)" 1000
wait_until 5 "the clock to tick" changed_since "$start_shot" "$(mx 106)" "$(my 407)" "$(d 70)" "$(d 24)" 10
dealt_shot=$(screenshot "$main" 02-dealt)
blank=$(blank_cell "$dealt_shot")
(($(pixels_changed "$start_shot" "$dealt_shot" "$(mx 64)" "$(my 456)" "$(d 153)" "$(d 41)") > 50)) ||
    fail "the start button's caption did not change"
note "the blank is cell $blank"

note "a move"
# The tile beside the blank: left of it, or else right of it.
if (((blank - 1) % 4 > 0)); then tile=$((blank - 1)); else tile=$((blank + 1)); fi
click_at "$main" "$(($(cell_x "$tile") + 35))" "$(($(cell_y "$tile") + 35))"
blank_moved() { shot "$main" "$session_dir/now.png" && [[ $(blank_cell "$session_dir/now.png") == "$tile" ]]; }
wait_until 5 "the tile in cell $tile to slide into the blank" blank_moved
moved_shot=$(screenshot "$main" 03-moved)
[[ $(blank_cell "$moved_shot") == "$tile" ]] || fail "after the move the blank is not cell $tile"
(($(pixels_changed "$dealt_shot" "$moved_shot" "$(mx 344)" "$(my 406)" "$(d 50)" "$(d 24)") > 10)) ||
    fail "the move counter did not count the move"

note "the arrangement dialog: an empty table is refused"
choose_from_menu Down Down Down Return
arrangement=$(wait_window "$arrangement_title")
expect_size "$arrangement" "$arrangement_title" "${arrangement_client[@]}"
arrangement_shot=$(screenshot "$arrangement" 04-arrangement)
check_arrangement "$arrangement_shot"
click_at "$arrangement" "$(d 220)" "$(d 416)"
error=$(wait_window "$error_title")
screenshot "$error" 05-error-box >/dev/null
keys_to "$error" Return
wait_window_gone "$error_title"
shown_window "$arrangement_title" >/dev/null || fail "the dialog closed with the error box"

note "the arrangement dialog: the ordered table wins"
click_at "$arrangement" "$(d 72)" "$(d 56)"
for number in {1..14}; do
    xdotool type --delay 20 "$number"
    xdotool key Tab
done
xdotool type --delay 20 15
screenshot "$arrangement" 06-ordered-table >/dev/null
click_at "$arrangement" "$(d 220)" "$(d 416)"
wait_window_gone "$arrangement_title"
won_visible() {
    shot "$main" "$session_dir/now.png" &&
        (($(pixels_of_colour "$session_dir/now.png" "$(mx 280)" "$(my 459)" "$(d 170)" "$(d 29)" "${red[@]}") > 100))
}
wait_until 5 "\"Вы выиграли!!!\"" won_visible
# The first picture with the label: the celebration panels come a second later.
won_shot="$shots/07-won.png"
cp "$session_dir/now.png" "$won_shot"
[[ $(blank_cell "$won_shot") == 16 ]] || fail "the ordered table is not on the board"

note "the celebration"
wait_until 5 "the celebration panels" changed_since "$won_shot" 0 "$menu" "$(d 478)" "$(d 435)" 1000
screenshot "$main" 08-celebration >/dev/null

note "the rules window"
choose_from_menu Right Return
rules=$(wait_window "$rules_title")
expect_size "$rules" "$rules_title" "${rules_client[@]}"
rules_shot=$(screenshot "$rules" 09-rules)
check_rules "$rules_shot"
click_at "$rules" "$(d 648)" "$(d 20)"
wait_window_gone "$rules_title"

note "the about window"
choose_from_menu Right Down Return
about=$(wait_window "$about_title")
expect_size "$about" "$about_title" "${about_client[@]}"
about_shot=$(screenshot "$about" 10-about)
check_about "$about_shot"
copy_contact "$about"
# Enter presses the default button "OK".
keys_to "$about" Return
wait_window_gone "$about_title"

note "closing the main window"
close_game

# --- At a device pixel ratio of 2 -------------------------------------------------------

# Same layout, twice the pixels: halved and softened alike, a picture at scale 2 must
# match the one at the layout's own size. The strokes of the glyphs differ a little, in
# flecks; a control moved, grown or cut off leaves a patch of at least 5 x 5 pixels, which
# the erosion keeps while it wipes out the flecks.
same_layout() {
    local small=$1 large=$2 what=$3 mask="$shots/scale-difference-$4.png" patches
    convert "$small" -blur 0x2 "$session_dir/small.png"
    convert "$large" -filter box -resize 50% -blur 0x2 "$session_dir/large.png"
    compare -fuzz 10% -highlight-color white -lowlight-color black -compose src \
        "$session_dir/small.png" "$session_dir/large.png" "$mask" 2>/dev/null || true
    patches=$(convert "$mask" -morphology Erode Square:2 -format '%[fx:round(mean*w*h)]' info:)
    note "$what at scale 2: $patches pixels in patches that differ from scale 1"
    ((patches <= 20)) || fail "$what at scale 2 does not show the layout of scale 1, scaled (see $mask)"
    rm -f "$mask"
}

start_game 2
large_shot=$(screenshot "$main" 11-start-x2)
check_start "$large_shot"
same_layout "$start_shot" "$large_shot" "the main window" main

choose_from_menu Down Down Down Return
arrangement=$(wait_window "$arrangement_title")
expect_size "$arrangement" "$arrangement_title" "${arrangement_client[@]}"
large_shot=$(screenshot "$arrangement" 12-arrangement-x2)
check_arrangement "$large_shot"
same_layout "$arrangement_shot" "$large_shot" "the arrangement dialog" arrangement
# "Обратно"
click_at "$arrangement" "$(d 516)" "$(d 416)"
wait_window_gone "$arrangement_title"

choose_from_menu Right Return
rules=$(wait_window "$rules_title")
expect_size "$rules" "$rules_title" "${rules_client[@]}"
large_shot=$(screenshot "$rules" 13-rules-x2)
check_rules "$large_shot"
same_layout "$rules_shot" "$large_shot" "the rules window" rules
click_at "$rules" "$(d 648)" "$(d 20)"
wait_window_gone "$rules_title"

choose_from_menu Right Down Return
about=$(wait_window "$about_title")
expect_size "$about" "$about_title" "${about_client[@]}"
large_shot=$(screenshot "$about" 14-about-x2)
check_about "$large_shot"
same_layout "$about_shot" "$large_shot" "the about window" about
xclip -selection clipboard -i /dev/null
copy_contact "$about"

note "closing the main window with the about window open"
close_game

# --- Under a dark desktop scheme --------------------------------------------------------

# contrast FILE X Y W H: how the text in the rectangle reads, in hundredths: the ratio of
# the relative luminances (each plus 0.05) of the rectangle's most common colour, its
# background, and of the colour that stands out most from it.
contrast() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | awk '
        function linear(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
        NR > 1 {
            split($2, v, /[(),]/)
            key = v[2] " " v[3] " " v[4]
            count[key]++
            light[key] = 0.2126 * linear(v[2]) + 0.7152 * linear(v[3]) + 0.0722 * linear(v[4]) + 0.05
        }
        END {
            for (key in count) if (count[key] > most) { most = count[key]; background = light[key] }
            for (key in light) {
                ratio = light[key] > background ? light[key] / background : background / light[key]
                if (ratio > best) best = ratio
            }
            printf "%d\n", best * 100
        }'
}

# readable WHAT LIGHT_SHOT DARK_SHOT X Y W H: the text reads under the dark scheme at 4.5:1
# at least, or about as well as under the default one (thin strokes blend with their
# background, a little differently on each).
readable() {
    local what=$1 light dark wanted
    light=$(contrast "$2" "${@:4}")
    dark=$(contrast "$3" "${@:4}")
    wanted=$((light < 450 ? light : 450))
    note "$what reads at $light/100 under the default scheme, at $dark/100 under the dark one"
    ((dark * 100 >= wanted * 95)) || fail "$what reads at $dark/100 under the dark scheme, below $wanted/100"
}

note "the game under a dark desktop scheme"
dark_config="$session_dir/dark-config"
mkdir -p "$dark_config/qt6ct"
printf '[Appearance]\ncolor_scheme_path=%s\ncustom_palette=true\n' "$dark_colours" >"$dark_config/qt6ct/qt6ct.conf"
start_game 1 dark QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$dark_config"
dark_shot=$(screenshot "$main" 15-dark)
is_colour "$dark_shot" "$(mx 460)" $((menu / 2)) 70 70 70 70 || fail "the dark scheme did not reach the menu bar"
readable "a tile's number" "$start_shot" "$dark_shot" "$(mx 59)" "$(my 36)" 82 82
readable "\"Начать игру\"" "$start_shot" "$dark_shot" "$(mx 68)" "$(my 460)" 145 33
readable "\"t i m e\"" "$start_shot" "$dark_shot" "$(mx 39)" "$(my 405)" 50 24
readable "\"х о д ы\"" "$start_shot" "$dark_shot" "$(mx 274)" "$(my 409)" 58 20
choose_from_menu Right Down Return
about=$(wait_window "$about_title")
dark_shot=$(screenshot "$about" 16-about-dark)
readable "the web page's address" "$about_shot" "$dark_shot" 256 48 222 17
readable "the red ornament" "$about_shot" "$dark_shot" 8 56 136 13
keys_to "$about" Return
wait_window_gone "$about_title"
choose_from_menu Down Down Down Return
arrangement=$(wait_window "$arrangement_title")
screenshot "$arrangement" 17-arrangement-dark >/dev/null
click_at "$arrangement" 516 416
wait_window_gone "$arrangement_title"
close_game

# --- Large scales on small screens, under a window manager -------------------------------

# A window manager frames each window with a title bar above it. Wherever a window of the
# game is larger than the work area, its frame's top-left corner stays on the work area, so
# that the title bar can be grabbed; a window that fits lies wholly on it. From the menu,
# a new game deals the board's top rows, which every scale leaves on the screen.
#
# placement_run RUN FACTOR: the main window and the arrangement dialog at one scale.
placement_run() {
    local run=$1 factor=$2 small_shot arrangement
    launch_game "$run" QT_SCALE_FACTOR="$factor"
    expect_frame_on_work_area "$main" "$run: the main window"
    small_shot=$(screenshot "$main" "18-$run")
    # The menu bar's title "Пятнашки", then "Начать новую игру".
    xdotool mousemove --window "$main" 20 8 click 1
    sleep 0.2
    xdotool key --delay 60 Down Return
    board_dealt() {
        shot "$main" "$session_dir/now.png" &&
            (($(pixels_changed "$small_shot" "$session_dir/now.png" 0 0 "$(window_size "$main" | cut -d' ' -f1)" 300) > 1000))
    }
    wait_until 5 "a new game from the menu in $run" board_dealt
    cp "$session_dir/now.png" "$shots/19-$run-dealt.png"

    xdotool mousemove --window "$main" 20 8 click 1
    sleep 0.2
    xdotool key --delay 60 Down Down Down Return
    arrangement=$(wait_window "$arrangement_title")
    expect_frame_on_work_area "$arrangement" "$run: the arrangement dialog"
    "$close_window" "$arrangement" || fail "the arrangement dialog did not take the close message"
    wait_window_gone "$arrangement_title"
    close_game
}

for screen in 1024x768 1280x1024; do
    start_x_server "$screen"
    start_window_manager
    for factor in 1 1.5 2; do placement_run "$screen-x$factor" "$factor"; done
done
# A panel across the top of the screen: the work area starts below it.
start_x_server 1024x768
start_window_manager
open_top_panel 40
placement_run "1024x768-panel-x2" 2
note "at scales 1 to 2 on 1024x768 and 1280x1024 screens, and below a top panel, the title bars stay on the work area"

# A window manager that comes late frames a window already placed on a screen without one:
# started 0.3 s after the main window shows, it must still find the title bar brought onto
# the work area.
start_x_server 1024x768
launch_game "1024x768-late-frame-x2" QT_SCALE_FACTOR=2
sleep 0.3
start_window_manager
expect_frame_on_work_area "$main" "a window manager started late: the main window"
close_game

note "passed in $((($(now_ms) - started_ms) / 1000)) s; screenshots in $shots"
