#include "deal_text.h"

namespace engine {

std::string FormatDealText(const Grid& grid) {
    std::string text;
    for (int cell = 1; cell <= kCells; ++cell) {
        if (cell > 1) text += ' ';
        text += std::to_string(grid.at(cell));
    }
    return text;
}

}  // namespace engine
