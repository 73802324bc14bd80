// Construction and cell access for the writer's pattern records.
#include "it_writer.h"

#include <stdexcept>

ItPattern makeItPattern(int rows, int channels) {
    if (rows < 1 || rows > ItMaxRows || channels < 1 || channels > ItMaxChannels) {
        throw std::invalid_argument("makeItPattern: rows or channels out of range");
    }
    ItPattern pattern;
    pattern.rows = rows;
    pattern.channels = channels;
    pattern.cells.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(channels));
    return pattern;
}

namespace {

std::size_t cellIndex(const ItPattern& pattern, int row, int channel) {
    if (row < 0 || row >= pattern.rows || channel < 0 || channel >= pattern.channels) {
        throw std::out_of_range("itCellAt: no such row or channel");
    }
    const std::size_t index =
        static_cast<std::size_t>(row) * static_cast<std::size_t>(pattern.channels) +
        static_cast<std::size_t>(channel);
    if (index >= pattern.cells.size()) {
        throw std::out_of_range("itCellAt: the pattern holds fewer cells than rows x channels");
    }
    return index;
}

} // namespace

ItCell& itCellAt(ItPattern& pattern, int row, int channel) {
    return pattern.cells[cellIndex(pattern, row, channel)];
}

const ItCell& itCellAt(const ItPattern& pattern, int row, int channel) {
    return pattern.cells[cellIndex(pattern, row, channel)];
}
