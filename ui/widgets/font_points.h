#pragma once

// A size in points at 96 dots per inch, in whole pixels (rounded). The window sets every
// font in pixels so that it looks the same on any screen.
constexpr int pointsToPixels(int points) { return (points * 96 + 36) / 72; }
