#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/lock_waits.h"
#include "platform/win32_utf16.h"

namespace platform {

namespace {

// The new content's own file beside the old one, named after this process and a count: two saves
// never share one, even where no lock keeps them apart.
constexpr const char* ReplacementSuffix = ".saving-";
constexpr int ReplacementNamesTried = 100;
// An antivirus, the search indexer or a backup tool opens a file that has just been written for a
// moment, without sharing: the replace is tried again for about a quarter of a second.
constexpr int ReplaceAttempts = 10;
constexpr DWORD ReplaceRetryMilliseconds = 25;
// Beside the player's files, one for the folder; kept for good: deleting a lock file races with
// a copy that is opening it to wait on it.
constexpr const char* LockFileName = "tolvar.lock";
// Every copy of the game lets the others read, write and replace a file it holds open, so that a
// rival's replace of Data.dat is never refused while this copy still has the old one open.
constexpr DWORD ShareWithRivals = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE handleOf(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.systemHandle());
}

// Nothing, with the reason set for lastFileError, when the path is not valid UTF-8.
std::optional<std::wstring> widePath(const std::string& path) {
    std::optional<std::wstring> wide = utf16FromUtf8(path);
    if (!wide) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    }
    return wide;
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

OpenResult openWith(const std::string& path, DWORD access, FileHandle& file) {
    file.close();
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) {
        return OpenResult::Failed;
    }
    const HANDLE opened = ::CreateFileW(wide->c_str(), access, ShareWithRivals, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return isMissing(::GetLastError()) ? OpenResult::Missing : OpenResult::Failed;
    }
    file = FileHandle(reinterpret_cast<std::intptr_t>(opened));
    return OpenResult::Opened;
}

bool writeAll(HANDLE file, const char* bytes, std::size_t count) {
    while (count > 0) {
        const DWORD chunk = count > MAXDWORD ? MAXDWORD : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!::WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

// The path up to and with its last separator, to put a name in the same folder; empty for a bare
// name, which the working folder holds.
std::string folderPrefixOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// A file of its own beside `path`, made new for this save; INVALID_HANDLE_VALUE when none could be.
HANDLE createReplacement(const std::string& path, std::wstring& replacement) {
    static std::atomic<unsigned int> saves{0};
    const std::string stem = path + ReplacementSuffix + std::to_string(::GetCurrentProcessId());
    for (int tried = 0; tried < ReplacementNamesTried; ++tried) {
        const std::optional<std::wstring> wide =
            widePath(stem + "-" + std::to_string(saves.fetch_add(1)));
        if (!wide) {
            return INVALID_HANDLE_VALUE;
        }
        replacement = *wide;
        const HANDLE file = ::CreateFileW(replacement.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file; // a leftover of a copy that crashed is left alone
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool isHeldForAMoment(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Write-through: Windows documents only that the call returns once the move has been written to
// the disk; nothing more is promised for the folder's own entry, which Windows gives no way to
// flush.
bool moveOver(const std::wstring& replacement, const std::wstring& target) {
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(replacement.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD failure = ::GetLastError();
        if (attempt == ReplaceAttempts || !isHeldForAMoment(failure)) {
            return false;
        }
        ::Sleep(ReplaceRetryMilliseconds);
    }
}

// Whether this account may write the file, by its rights as well as its read-only mark: an open
// for writing that shares everything, so no rival is disturbed.
bool refusesWriting(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, ShareWithRivals, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    ::CloseHandle(file);
    return false;
}

} // namespace

// A lock the handle holds is given back at once: left to the close, the system frees it only
// when it gets round to it, and a rival copy waits meanwhile.
void FileHandle::close() {
    if (handle != None) {
        OVERLAPPED whole = {};
        ::UnlockFileEx(reinterpret_cast<HANDLE>(handle), 0, MAXDWORD, MAXDWORD, &whole);
        ::CloseHandle(reinterpret_cast<HANDLE>(handle));
        handle = None;
    }
}

OpenResult openForUpdate(const std::string& path, FileHandle& file) {
    return openWith(path, GENERIC_READ | GENERIC_WRITE, file);
}

OpenResult openForReading(const std::string& path, FileHandle& file) {
    return openWith(path, GENERIC_READ, file);
}

std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t count) {
    const DWORD chunk = count > MAXDWORD ? MAXDWORD : static_cast<DWORD>(count);
    DWORD got = 0;
    if (!::ReadFile(handleOf(file), buffer, chunk, &got, nullptr)) {
        const DWORD error = ::GetLastError();
        return error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return static_cast<std::ptrdiff_t>(got);
}

bool isRegularFile(const FileHandle& file) {
    BY_HANDLE_FILE_INFORMATION information = {};
    return ::GetFileType(handleOf(file)) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(handleOf(file), &information) &&
           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::FILE* readingStream(FileHandle file) {
    const int descriptor = ::_open_osfhandle(file.systemHandle(), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    file.release(); // the descriptor closes it
    std::FILE* stream = ::_fdopen(descriptor, "rb");
    if (stream == nullptr) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        ::_close(descriptor);
    }
    return stream;
}

FileStatus fileStatus(const std::string& path) {
    FileStatus file;
    const std::optional<std::wstring> wide = widePath(path);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!wide || !::GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &data)) {
        return file;
    }
    file.exists = true;
    file.regular =
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    file.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0 ||
                    (file.regular && refusesWriting(*wide));
    return file;
}

// Links are not followed: on Windows the player's files are plain files, and a replace puts a
// plain file in a link's place.
std::string fileTarget(const std::string& name) {
    return name;
}

// A folder cannot be locked on Windows: a lock file in it stands for it.
FileHandle lockFolderOf(const std::string& filePath) {
    const std::optional<std::wstring> wide = widePath(folderPrefixOf(filePath) + LockFileName);
    if (!wide) {
        return FileHandle();
    }
    const HANDLE lock = ::CreateFileW(wide->c_str(), GENERIC_READ | GENERIC_WRITE, ShareWithRivals,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (lock == INVALID_HANDLE_VALUE) {
        return FileHandle();
    }
    OVERLAPPED whole = {};
    if (::LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                     MAXDWORD, &whole)) {
        return FileHandle(reinterpret_cast<std::intptr_t>(lock));
    }
    if (::GetLastError() == ERROR_LOCK_VIOLATION) { // another copy holds it
        tellLockWaitBegins();
        whole = {};
        if (::LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
            return FileHandle(reinterpret_cast<std::intptr_t>(lock));
        }
    }
    const DWORD failure = ::GetLastError();
    ::CloseHandle(lock);
    ::SetLastError(failure);
    return FileHandle();
}

// Windows keeps no mode bits: the new file takes the access its folder gives, as the old one did.
bool replaceFileDurably(const std::string& path, const char* bytes, std::size_t count,
                        unsigned int /*permissions*/) {
    const std::optional<std::wstring> target = widePath(path);
    std::wstring replacement;
    const HANDLE file = target ? createReplacement(path, replacement) : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = writeAll(file, bytes, count) && ::FlushFileBuffers(file);
    DWORD failure = ::GetLastError();
    ::CloseHandle(file);
    if (written && moveOver(replacement, *target)) {
        return true;
    }
    failure = written ? ::GetLastError() : failure;
    ::DeleteFileW(replacement.c_str());
    ::SetLastError(failure);
    return false;
}

std::string lastFileError() {
    const DWORD error = ::GetLastError();
    wchar_t text[512] = {};
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, text, sizeof text / sizeof text[0], nullptr);
    std::wstring_view said(text, length);
    while (!said.empty() && (said.back() == L'\r' || said.back() == L'\n' || said.back() == L'.')) {
        said.remove_suffix(1);
    }
    const std::optional<std::string> reason = utf8FromUtf16(said);
    return reason && !reason->empty() ? *reason : "system error " + std::to_string(error);
}

} // namespace platform
