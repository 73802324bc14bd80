// For the Win32 files below the seam: the game's UTF-8 and the UTF-16 of Win32's ...W calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Nothing when the text is not valid UTF-8 (or UTF-16): a name that cannot be converted exactly
// would name another file.
std::optional<std::wstring> utf16FromUtf8(std::string_view text);
std::optional<std::string> utf8FromUtf16(std::wstring_view text);

} // namespace platform
