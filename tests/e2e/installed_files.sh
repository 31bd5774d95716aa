# shellcheck shell=bash
# check_installed_files PREFIX PROGRAM_DIR: checks what an installation of the game put under
# PREFIX (/usr for the package): the executable in PROGRAM_DIR (bin for `cmake --install`,
# games for the package) and nowhere else, the solver's tables where the executable looks
# for them (../share/pliton/), the desktop entry and the AppStream metainfo, both naming
# that executable, the icons, each where the desktop looks for it and valid by the desktop's
# own validators, the manual page, and the copyright file and changelog. Sourced by the
# install test and the package check; needs `fail` and `note` (x11_session.sh),
# desktop-file-validate, appstreamcli and ImageMagick's identify.

app_id=org.example.Pliton

# Prints the value of KEY in the [Desktop Entry] group of a desktop file.
desktop_key() {
    sed -n '/^\[Desktop Entry\]/,/^\[/{s/^'"$2"'=//p}' "$1" | head -n1
}

check_installed_files() {
    local prefix=$1 program_dir=$2
    local entry="$prefix/share/applications/$app_id.desktop"
    local metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"

    [[ -x $prefix/$program_dir/pliton ]] || fail "no executable $prefix/$program_dir/pliton"
    local dir
    for dir in bin games; do
        [[ $dir == "$program_dir" || ! -e $prefix/$dir/pliton ]] ||
            fail "the program is installed twice: $prefix/$dir/pliton beside $prefix/$program_dir/pliton"
    done

    # The solver's tables: megabytes, but at most 32 MiB.
    local tables="$prefix/share/pliton/pattern-databases.bin" bytes
    [[ -f $tables ]] || fail "no solver tables $tables"
    bytes=$(stat -c %s "$tables")
    ((bytes > 1024 * 1024 && bytes <= 32 * 1024 * 1024)) || fail "$tables has $bytes bytes"

    [[ -f $entry ]] || fail "no desktop entry $entry"
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
    [[ $(desktop_key "$entry" Name) == 'Плитон' ]] || fail "the desktop entry's Name is not Плитон"
    [[ $(desktop_key "$entry" Comment) == *пятнашки* ]] || fail "the desktop entry has no Russian Comment"
    [[ $(desktop_key "$entry" Exec) == pliton ]] || fail "the desktop entry does not start pliton"
    [[ -x $prefix/$program_dir/$(desktop_key "$entry" Exec) ]] ||
        fail "the desktop entry's program is not in $prefix/$program_dir"
    local categories
    categories=";$(desktop_key "$entry" Categories)"
    [[ $categories == *";Game;"* && $categories == *";LogicGame;"* ]] ||
        fail "the desktop entry is not in the categories Game and LogicGame"

    # The icon the entry names, at the 32 x 32 of the drawing and at larger sizes.
    local icon side found=()
    icon=$(desktop_key "$entry" Icon)
    [[ $icon == "$app_id" ]] || fail "the desktop entry's Icon is \"$icon\", not the game's id"
    for side in 32 48 64 128 256; do
        local file="$prefix/share/icons/hicolor/${side}x$side/apps/$icon.png"
        [[ -f $file ]] || continue
        [[ $(identify -format '%wx%h' "$file") == "${side}x$side" ]] || fail "$file is not ${side}x$side"
        found+=("$side")
    done
    [[ " ${found[*]} " == *" 32 "* ]] || fail "no 32x32 icon $icon.png"
    ((${found[-1]} >= 128)) || fail "no icon of 128x128 or larger"
    # The chip: black body, yellow pins, on a transparent ground.
    local file="$prefix/share/icons/hicolor/32x32/apps/$icon.png"
    [[ $(convert "$file" -background black -flatten -fuzz 10% -fill black +opaque yellow \
        -fill white -opaque yellow -format '%[fx:round(mean*w*h)]' info:) -gt 20 ]] ||
        fail "the 32x32 icon shows no yellow pins"
    [[ $(convert "$file" -alpha extract -format '%[fx:round(mean*w*h)]' info:) -lt $((32 * 32 * 3 / 4)) ]] ||
        fail "the 32x32 icon has no transparent ground"

    [[ -f $metainfo ]] || fail "no metainfo $metainfo"
    local report
    # Pedantic, and failing on any error or warning.
    report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) ||
        fail "appstreamcli rejects $metainfo:"$'\n'"$report"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch the desktop entry $app_id.desktop"
    grep -q '<screenshot type="default">' "$metainfo" || fail "the metainfo has no screenshot"
    local binary
    binary=$(sed -n 's|^ *<binary>\(.*\)</binary>$|\1|p' "$metainfo")
    [[ $binary == pliton && -x $prefix/$program_dir/$binary ]] ||
        fail "the metainfo's <provides> names \"$binary\", not the program in $prefix/$program_dir"
    grep -q '<control>keyboard</control>' "$metainfo" || fail "the metainfo does not say the keyboard plays"

    # The manual page, pliton(6), compressed as Debian wants it.
    local manual="$prefix/share/man/man6/pliton.6.gz"
    [[ -f $manual ]] || fail "no manual page $manual"
    gzip -t "$manual" || fail "$manual is not a valid gzip file"
    grep -q '^\.TH PLITON 6 ' <(zcat "$manual") || fail "$manual is not the manual page pliton(6)"

    # Debian's copyright file (DEP-5) and changelog.
    local doc="$prefix/share/doc/pliton"
    [[ -f $doc/copyright && $(sed -n 1p "$doc/copyright") == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] ||
        fail "no copyright file in Debian's machine-readable format: $doc/copyright"
    [[ -f $doc/changelog.gz && $(zcat "$doc/changelog.gz" | sed -n 1p) =~ ^pliton\ \([0-9.]+\)\  ]] ||
        fail "no Debian changelog $doc/changelog.gz"

    note "installed files under $prefix: $program_dir/pliton, solver tables, desktop entry, metainfo, icons ${found[*]}, manual page, copyright, changelog"
}
