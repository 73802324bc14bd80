#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "assets/assets.h"
#include "shell/shell.h"

char Progress[2] = "0";
ProgressFileStream ProgressFile;

namespace {

constexpr const char* ReplacementFileName = "Data.dat.new";
// A valid token is one digit; this much is enough to find it after a little whitespace, and a
// huge or endless file (a link to /dev/zero) is never read further.
constexpr int TokenReadLimit = 64;

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void closeProgressFile() {
    if (ProgressFile.descriptor >= 0) {
        ::close(ProgressFile.descriptor);
        ProgressFile.descriptor = -1;
    }
}

// The first whitespace-delimited token of the file, as a level 1 to 5, or 0 when there is no
// valid one. Only the exact one-digit tokens count: "01", "1.0" or "6" do not.
int readProgressToken() {
    if (ProgressFile.descriptor < 0) {
        return 0;
    }
    char buffer[TokenReadLimit];
    int filled = 0;
    while (filled < TokenReadLimit) {
        const ssize_t got = ::read(ProgressFile.descriptor, buffer + filled,
                                   static_cast<std::size_t>(TokenReadLimit - filled));
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
    const bool tokenEnds = end < filled || filled < TokenReadLimit;
    if (end - start != 1 || !tokenEnds) {
        return 0;
    }
    const char digit = buffer[start];
    return digit >= '1' && digit <= '5' ? digit - '0' : 0;
}

bool writeAll(int descriptor, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(descriptor, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

// Replaces Data.dat as a whole: the new digit goes to a file beside it, reaches the disk, and
// is renamed over the old one. A crash or power cut at any moment leaves either the old digit
// or the new one, never an empty or half-written file.
void writeProgressFile(int level) {
    const char digit = static_cast<char>('0' + level);
    const int descriptor =
        ::open(ReplacementFileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return;
    }
    const bool written = writeAll(descriptor, &digit, 1) && ::fsync(descriptor) == 0;
    ::close(descriptor);
    if (!written || ::rename(ReplacementFileName, ProgressFileName) != 0) {
        ::unlink(ReplacementFileName);
        return;
    }
    const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
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
    ProgressFile.descriptor = ::open(ProgressFileName, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ProgressFile.openError = ProgressFile.descriptor < 0 ? errno : 0;
}

void loadProgress() {
    const bool opened = ProgressFile.descriptor >= 0;
    if (!opened) {
        quitRequested = true;
        platform::showMessageBox("Can't open Data.dat", "ERROR", platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Exclamation);
    }
    const int level = readProgressToken();
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
