// The game's files, below the seam: the ones it keeps between runs (Data.dat, Settings.txt),
// opened, read, and replaced as a whole so that no crash or power cut leaves half a file, under a
// lock that keeps the other copies of the game on the same folder away; and the data files it
// reads (openDataFile). Paths are UTF-8 on every system.
//
// What the files hold, when they are written and which content wins stays above this header;
// below it are only the system's calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

namespace platform {

// An open file or folder, closed when the handle goes: a descriptor on POSIX, a HANDLE on Win32.
class FileHandle {
public:
    static constexpr std::intptr_t None = -1; // neither system hands this out for an open file

    FileHandle() = default;
    explicit FileHandle(std::intptr_t handle) : handle(handle) {}
    ~FileHandle() { close(); }
    FileHandle(FileHandle&& other) noexcept : handle(std::exchange(other.handle, None)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            close();
            handle = std::exchange(other.handle, None);
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool isOpen() const { return handle != None; }
    std::intptr_t systemHandle() const { return handle; }
    void close(); // nothing when none is open
    // Gives the system's handle up to the caller, who closes it; the handle holds none after.
    std::intptr_t release() { return std::exchange(handle, None); }

private:
    std::intptr_t handle = None;
};

enum class OpenResult : std::uint8_t { Opened, Missing, Failed };

// Both open without ever blocking (a pipe in the file's place cannot hang the game), never on a
// standard stream's number, and leave the file open to the other copies of the game, which may
// replace it meanwhile. Missing: nothing of that name exists; Failed: something does, or the
// folder does not, and it could not be opened (lastFileError says why).
// For reading and writing, never creating or truncating; a folder never opens this way.
OpenResult openForUpdate(const std::string& path, FileHandle& file);
OpenResult openForReading(const std::string& path, FileHandle& file);

// Up to `count` bytes into `buffer`: how many were read, 0 at the end, -1 when reading failed.
std::ptrdiff_t readFile(const FileHandle& file, char* buffer, std::size_t count);
bool isRegularFile(const FileHandle& file); // a file on a disk, not a folder, pipe or device
// The open file as a C stream for reading bytes, which then owns it; nullptr (the file closed, the
// reason for lastFileError) when none could be made.
std::FILE* readingStream(FileHandle file);

struct FileStatus {
    bool exists = false;
    bool regular = false;
    // The player made it read-only, or this account may not write it (its rights, not only a
    // mark): it stays as it is.
    bool readOnly = false;
    // Who may read and write it (POSIX mode bits): a regular file's own, else those a new file
    // gets. Passed on to replaceFileDurably so that the player's choice stays.
    unsigned int permissions = 0644;
};

// What is at `path`, links followed.
FileStatus fileStatus(const std::string& path);

// Where the file `name` in the working folder really lives: the name itself, or, where it is a
// symbolic link to a regular file or to nothing yet, what the link names. A link to anything
// else (a device, a pipe) is no place for the game's files and is replaced by a file of its own.
std::string fileTarget(const std::string& name);

// Locks the folder holding `filePath` against the other copies of the game until the handle
// goes, waiting while another copy holds it. Not open, with lastFileError saying why, when the
// lock cannot be had (no permission, a file system without locks): never open and unlocked.
FileHandle lockFolderOf(const std::string& filePath);

// Called, when set, on the thread of a lockFolderOf that finds the lock held by another copy,
// just before it begins to wait for it: a test sees a save waiting without timing it.
void watchLockWaits(void (*beginsToWait)());

// Replaces the file at `path` as a whole: the bytes go to a file of their own beside it (a name no
// other save uses), reach the disk, are given `permissions` and take the old file's place in one
// step, and the folder then reaches the disk with the new name. A crash or power cut at any moment
// leaves the old content or the new, never an empty or half-written file. Where another program
// holds the old file for a moment (Windows' indexer, an antivirus), the step is tried again for
// about a quarter of a second. The caller keeps rival writers away with lockFolderOf. False, with
// lastFileError saying why and nothing left behind, when the file was not replaced.
bool replaceFileDurably(const std::string& path, const char* bytes, std::size_t count,
                        unsigned int permissions);

// Why the last failed call of this header failed, in the system's words.
std::string lastFileError();

} // namespace platform
