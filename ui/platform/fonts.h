#pragma once

namespace platform {

// Maps the faces the windows are designed in ("MS Sans Serif", "Tahoma", "Times New Roman",
// "@Arial Unicode MS") to the nearest faces the desktop has.
void installFontSubstitutes();

}  // namespace platform
