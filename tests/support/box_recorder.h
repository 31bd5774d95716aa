#pragma once

#include <vector>

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
