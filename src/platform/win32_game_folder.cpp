#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "platform/game_folder.h"
#include "platform/win32_utf16.h"

namespace platform {

namespace {

// The player's own folder under the roaming application data, as ~/.local/share/tolvar on Linux.
constexpr const wchar_t* PlayerFolderName = L"Tolvar";

std::string utf8OrNothing(std::wstring_view text) {
    return utf8FromUtf16(text).value_or("");
}

std::wstring wideOrNothing(const std::string& text) {
    return utf16FromUtf8(text).value_or(L"");
}

// The running program's full name; it may be longer than MAX_PATH.
std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return L"";
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: read it again into more room
    }
}

std::wstring folderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return L"";
    }
    // A drive's root keeps its separator: "C:\" is a folder, "C:" the drive's current one.
    const bool root = separator == 2 && path[1] == L':';
    return path.substr(0, root ? separator + 1 : separator);
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::string workingFolder() {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) {
        return "";
    }
    std::wstring folder(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, folder.data());
    if (length == 0 || length >= needed) {
        return "";
    }
    folder.resize(length);
    return utf8OrNothing(folder);
}

std::string programFolder() {
    return utf8OrNothing(folderOf(programPath()));
}

bool isFolder(const std::string& path) {
    const std::wstring wide = wideOrNothing(path);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool enterFolder(const std::string& folder) {
    const std::wstring wide = wideOrNothing(folder);
    return !wide.empty() && ::SetCurrentDirectoryW(wide.c_str());
}

// An installed copy lies where the player may not write (Program Files): the player's progress
// and settings live in %APPDATA%\Tolvar instead.
std::string installedPlayerFolder() {
    const std::wstring program = folderOf(programPath());
    if (program.empty() || !isFile(program + L"\\" + wideOrNothing(InstalledMarkerName))) {
        return "";
    }
    PWSTR roaming = nullptr;
    const HRESULT found =
        ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &roaming);
    std::wstring folder = SUCCEEDED(found) ? std::wstring(roaming) : std::wstring();
    ::CoTaskMemFree(roaming);
    if (folder.empty()) {
        return "";
    }
    folder.append(L"\\").append(PlayerFolderName);
    ::CreateDirectoryW(folder.c_str(), nullptr); // already there from an earlier start, mostly
    return utf8OrNothing(folder);
}

} // namespace platform
