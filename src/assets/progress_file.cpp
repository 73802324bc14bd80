#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "assets/assets.h"
#include "shell/shell.h"

char Progress[2] = "0";
ProgressFileStream ProgressFile;

namespace {

// A valid token is one digit; this much is enough to find it after a little whitespace, and a
// huge or endless file (a link to /dev/zero) is never read further. One byte more is read, so
// that a token ending exactly at the limit is seen to end there.
constexpr int TokenReadLimit = 64;

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void closeDescriptor(int& descriptor) {
    if (descriptor >= 0) {
        ::close(descriptor);
        descriptor = -1;
    }
}

void closeProgressFile() {
    closeDescriptor(ProgressFile.descriptor);
}

// The first whitespace-delimited token read from the descriptor, as a level 1 to 5, or 0 when
// there is no valid one. Only the exact one-digit tokens count: "01", "1.0" or "6" do not.
int readProgressToken(int descriptor) {
    if (descriptor < 0) {
        return 0;
    }
    char buffer[TokenReadLimit + 1];
    int filled = 0;
    while (filled < TokenReadLimit + 1) {
        const ssize_t got = ::read(descriptor, buffer + filled,
                                   static_cast<std::size_t>(TokenReadLimit + 1 - filled));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        filled += static_cast<int>(got);
    }
    int start = 0;
    while (start < filled && isWhitespace(buffer[start])) {
        ++start;
    }
    int end = start;
    while (end < filled && !isWhitespace(buffer[end])) {
        ++end;
    }
    const bool tokenEnds = end <= TokenReadLimit && (end < filled || filled <= TokenReadLimit);
    if (end - start != 1 || !tokenEnds) {
        return 0;
    }
    const char digit = buffer[start];
    return digit >= '1' && digit <= '5' ? digit - '0' : 0;
}

// Replaces the progress file as a whole: the new digit goes to a file beside it, reaches the
// disk, and is renamed over the old one. A crash or power cut at any moment leaves either the
// old digit or the new one, never an empty or half-written file. The file's folder is locked
// for the whole step and the digit on disk read anew, so that a copy of the game running beside
// this one is never overwritten with a lower level.
void writeProgressFile(int level) {
    const std::string target = fileTarget(ProgressFileName);
    // A folder that cannot be read or locked (no read permission, a file system without locks)
    // still takes the save, unguarded: losing the level would be worse.
    int folder = lockFolder(folderOf(target));
    mode_t mode = 0644;
    struct stat existing = {};
    if (::stat(target.c_str(), &existing) == 0) {
        int current =
            aboveStandardStreams(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        const int onDisk = readProgressToken(current);
        closeDescriptor(current);
        if (onDisk >= level || isReadOnlyFile(existing.st_mode, target)) {
            closeDescriptor(folder); // releases the lock
            return;
        }
        if (S_ISREG(existing.st_mode)) {
            mode = existing.st_mode & 07777; // the player's choice of who may read it stays
        }
    }
    const char digit = static_cast<char>('0' + level);
    replaceFileDurably(target, &digit, 1, mode, folder);
    closeDescriptor(folder);
}

} // namespace

ProgressFileStream::ProgressFileStream() {
    openProgressFile();
}

ProgressFileStream::~ProgressFileStream() {
    closeProgressFile();
}

void openProgressFile() {
    closeProgressFile();
    // Read and write, never create or truncate. Non-blocking, so that a pipe in its place
    // cannot hang the start-up; a directory fails to open for writing.
    // Never on a standard stream's number, where text meant for standard error would land in it.
    const int opened = ::open(ProgressFileName, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ProgressFile.openError = opened < 0 ? errno : 0;
    ProgressFile.descriptor = aboveStandardStreams(opened);
}

void loadProgress() {
    const bool opened = ProgressFile.descriptor >= 0;
    if (!opened) {
        quitRequested = true;
        exitStatus = 1; // the game was not played, whatever the box left behind
        platform::showMessageBox("Can't open Data.dat", "ERROR", platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Exclamation);
    }
    const int level = readProgressToken(ProgressFile.descriptor);
    if (level != 0) {
        Progress[0] = static_cast<char>('0' + level);
        return; // the file stays open and untouched
    }
    closeProgressFile();
    // A missing file is created holding 1. One that exists but could not be opened for reading
    // and writing (read-only, unreadable, a folder) is the player's: it is left exactly as it is.
    if (opened || ProgressFile.openError == ENOENT) {
        writeProgressFile(1);
    }
    Progress[0] = '1';
}

void recordProgress(int level) {
    if (unlockedLevel() >= level) {
        return; // a level already unlocked is never recorded again
    }
    closeProgressFile();
    writeProgressFile(level);
    // Raised in memory whatever happened on disk.
    Progress[0] = static_cast<char>('0' + level);
}

int unlockedLevel() {
    const char digit = Progress[0];
    return Progress[1] == '\0' && digit >= '1' && digit <= '5' ? digit - '0' : 0;
}
