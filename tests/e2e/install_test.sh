#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# `cmake --install` of a build folder into a scratch prefix: the executable (in PROGRAM_DIR,
# bin or games, as the build folder's PLITON_INSTALL_TO_GAMES says), the desktop entry, the
# metainfo and the icons land where the desktop looks for them, and pass the desktop's
# validators; the manual page, the copyright file and the changelog are there too.
#
# usage: install_test.sh BUILD_DIR PROGRAM_DIR
set -euo pipefail

build=$1
program_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=x11_session.sh
source "$here/x11_session.sh"
# shellcheck source=installed_files.sh
source "$here/installed_files.sh"
require_tools desktop-file-validate appstreamcli identify convert

prefix="$session_dir/usr"
cmake --install "$build" --prefix "$prefix" >"$session_dir/install.log" ||
    fail "cmake --install failed:$(printf '\n%s' "$(<"$session_dir/install.log")")"
check_installed_files "$prefix" "$program_dir"
