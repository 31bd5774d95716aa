#pragma once

#include <QIcon>

// The program's 32 x 32 icon: a slanted chip with yellow pins on black.
QIcon applicationIcon();
