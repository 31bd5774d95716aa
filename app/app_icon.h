#pragma once

#include <QIcon>
#include <QImage>

// The program's icon, a slanted chip with yellow pins on black, drawn for a 32 x 32 grid.
// At 32 pixels it keeps the hard edges of a 16-colour icon; larger sizes are drawn anew,
// smoothed, from the same shapes.
QImage applicationIconImage(int side);

// The icon at 32 x 32, with larger renderings for high-density screens and desktop menus.
QIcon applicationIcon();
