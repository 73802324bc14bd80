#include <windows.h>

#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32_utf16.h"

namespace platform {

std::optional<std::wstring> utf16FromUtf8(std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int wide =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        return std::nullopt;
    }
    std::wstring converted(static_cast<std::size_t>(wide), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, converted.data(),
                              wide) != wide) {
        return std::nullopt;
    }
    return converted;
}

std::optional<std::string> utf8FromUtf16(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int narrow = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length,
                                             nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) {
        return std::nullopt;
    }
    std::string converted(static_cast<std::size_t>(narrow), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, converted.data(),
                              narrow, nullptr, nullptr) != narrow) {
        return std::nullopt;
    }
    return converted;
}

} // namespace platform
