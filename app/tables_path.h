#pragma once

#include <string>

// The solver's tables as the program is installed, and as the build folder holds them: the
// build computes the file into share/pliton/ of the build folder, beside app/, and installs
// it into share/pliton/ of the prefix, beside the folder of the program.

// The file the table generator writes and the game reads; the build names it.
inline constexpr const char* kTablesFileName = PLITON_TABLES_FILE;

// The path of the tables for a program at `executableDir`:
// <executableDir>/../share/pliton/<kTablesFileName>.
inline std::string TablesPathFor(const std::string& executableDir) {
    return executableDir + "/../share/pliton/" + kTablesFileName;
}
