#pragma once

#include <QColor>
#include <QPalette>

namespace platform {

// How well two colours read against each other: the ratio of their relative luminances
// (each plus 0.05, the lighter over the darker), from 1 for equal luminances to 21 for
// black on white. Text wants at least kReadableContrast.
double contrastRatio(const QColor& first, const QColor& second);
inline constexpr double kReadableContrast = 4.5;

// The colour of a role of the application's palette that meets a fixed colour: text on it,
// or it as text on a fixed background. The windows were drawn for a light scheme; under a
// dark one (its window darker than its window text) the pair may no longer read. So there
// the desktop's colour serves while the pair reads at kReadableContrast or better; below
// that, the role's colour under the toolkit's default light scheme takes its place if the
// pair reads better with it. Under any light scheme the desktop's colour is always kept,
// and so it is for a role whose default light colour is not recorded.
QColor readableRole(QPalette::ColorRole role, const QColor& fixed);

}  // namespace platform
