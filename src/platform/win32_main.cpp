#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

#include <string>
#include <vector>

#include "platform/program_entry.h"
#include "platform/win32_utf16.h"

namespace {

// An argument that is not valid UTF-16 cannot be an option the game knows: it arrives as U+FFFD,
// which the game refuses and names.
constexpr const char* UnconvertibleArgument = "\xEF\xBF\xBD";

} // namespace

// A windowed program: Windows gives its arguments as one UTF-16 line, split here by the shell's
// CommandLineToArgvW (whose rules differ from the C runtime's in corners, such as "" inside
// quotes; no wildcard is expanded) and handed on in UTF-8.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int index = 0; wide != nullptr && index < count; ++index) {
        arguments.push_back(platform::utf8FromUtf16(wide[index]).value_or(UnconvertibleArgument));
    }
    ::LocalFree(wide);
    if (arguments.empty()) {
        arguments.emplace_back("tolvar");
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return runTolvar(static_cast<int>(arguments.size()), argv.data());
}
