// The format's packed pattern data: per row, only the channels that hold something, each
// naming which of its fields follow and reusing the channel's previous values where they repeat.
#pragma once

#include "it_writer.h"

#include <cstdint>
#include <vector>

// The packed rows of one pattern, without the 8-byte pattern header. The pattern's cells are
// taken as already checked.
std::vector<std::uint8_t> packItPattern(const ItPattern& pattern);
