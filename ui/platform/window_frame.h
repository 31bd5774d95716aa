#pragma once

#include <Qt>

namespace platform {

// The game's windows have a fixed single border: a system menu, minimise and close, no
// maximise.
inline constexpr Qt::WindowFlags kFixedFrameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                    Qt::WindowCloseButtonHint;

}  // namespace platform
