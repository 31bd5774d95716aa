#pragma once

#include <initializer_list>
#include <vector>

#include "engine/grid.h"
#include "ui/platform/message_box.h"

// Answers every message box at once and keeps it, for the recorder's lifetime.
struct BoxRecorder {
    BoxRecorder() {
        platform::setBoxAnswerer([this](const platform::BoxRecord& box) { boxes.push_back(box); });
    }
    ~BoxRecorder() { platform::setBoxAnswerer({}); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<platform::BoxRecord> boxes;
};

// A grid from its sixteen cells in row-major order, 0 for the blank.
inline engine::Grid gridOf(std::initializer_list<int> cells) {
    engine::Grid grid;
    int index = 1;
    for (int value : cells) grid.at(index++) = static_cast<std::uint8_t>(value);
    return grid;
}
