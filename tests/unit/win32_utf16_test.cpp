#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32_utf16.h"

namespace {

using platform::utf16FromUtf8;
using platform::utf8FromUtf16;

// What the conversion itself decides, beyond the system's tables: the empty name, a length that
// counts past a NUL, and a letter beyond 16 bits kept whole.
TEST(Win32Utf16Test, NamesGoToUtf16AndBackUnchanged) {
    const std::string names[] = {"", std::string("a\0b", 3), "C:\\Spiele Jöns\\🎲"};
    for (const std::string& name : names) {
        const std::optional<std::wstring> wide = utf16FromUtf8(name);
        ASSERT_TRUE(wide.has_value()) << name;
        EXPECT_EQ(utf8FromUtf16(*wide), name);
    }
}

// A name that is not valid UTF-8 would name another file if it were guessed at: it is refused.
TEST(Win32Utf16Test, InvalidTextIsRefusedRatherThanGuessed) {
    const char* const invalid[] = {
        "J\xF6ns",          // Latin-1, not UTF-8
        "J\xC3",            // cut off inside a letter
        "\xC0\xAF",         // an overlong '/'
        "\xED\xA0\x80",     // a surrogate written as a letter of its own
        "\xF4\x90\x80\x80", // beyond U+10FFFF
    };
    for (const char* text : invalid) {
        EXPECT_FALSE(utf16FromUtf8(text).has_value()) << text;
    }
    EXPECT_FALSE(utf8FromUtf16(std::wstring(1, static_cast<wchar_t>(0xD800))).has_value())
        << "a lone surrogate, as a damaged file name may hold";
}

} // namespace
