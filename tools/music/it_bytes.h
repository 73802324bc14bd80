// Little-endian byte output for the module writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct ItBytes {
    std::vector<std::uint8_t> data;

    void u8(std::uint32_t value) { data.push_back(static_cast<std::uint8_t>(value)); }
    void u16(std::uint32_t value) {
        u8(value & 0xFFu);
        u8((value >> 8) & 0xFFu);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFFu);
        u16(value >> 16);
    }
    // Exactly `width` bytes: the text cut to width - 1 characters, then zeros, so that a
    // reader expecting a terminator always finds one.
    void text(std::string_view value, std::size_t width) {
        const std::size_t kept = value.size() < width ? value.size() : width - 1;
        for (std::size_t i = 0; i < width; ++i) {
            u8(i < kept ? static_cast<std::uint8_t>(value[i]) : 0u);
        }
    }
    // A four-character tag such as "IMPM", written without a terminator.
    void tag(std::string_view value) {
        for (std::size_t i = 0; i < 4; ++i) {
            u8(i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0u);
        }
    }
    void zeros(std::size_t count) { data.insert(data.end(), count, 0u); }

    // Overwrites a 32-bit field written earlier (offset tables filled in once sizes are known).
    void patchU32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            data[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
    std::size_t size() const { return data.size(); }
};
