#include <cstddef>
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

void closeProgressFile() {
    ProgressFile.file.close();
}

// The first whitespace-delimited token read from the file, as a level 1 to 5, or 0 when there is
// no valid one. Only the exact one-digit tokens count: "01", "1.0" or "6" do not.
int readProgressToken(const platform::FileHandle& file) {
    if (!file.isOpen()) {
        return 0;
    }
    char buffer[TokenReadLimit + 1];
    int filled = 0;
    while (filled < TokenReadLimit + 1) {
        const std::ptrdiff_t got = platform::readFile(
            file, buffer + filled, static_cast<std::size_t>(TokenReadLimit + 1 - filled));
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
    const std::string target = platform::fileTarget(ProgressFileName);
    // A folder that cannot be read or locked (no read permission, a file system without locks)
    // still takes the save, unguarded: losing the level would be worse. Held until the return.
    const platform::FileHandle folderLock = platform::lockFolderOf(target);
    const platform::FileStatus existing = platform::fileStatus(target);
    if (existing.exists) {
        platform::FileHandle current;
        platform::openForReading(target, current);
        if (readProgressToken(current) >= level || existing.readOnly) {
            return;
        }
    }
    const char digit = static_cast<char>('0' + level);
    // The player's choice of who may read it stays.
    platform::replaceFileDurably(target, &digit, 1, existing.permissions, folderLock);
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
    // Read and write, never create or truncate; a pipe in its place cannot hang the start-up,
    // and a folder does not open.
    ProgressFile.openResult = platform::openForUpdate(ProgressFileName, ProgressFile.file);
}

void loadProgress() {
    const bool opened = ProgressFile.file.isOpen();
    if (!opened) {
        quitRequested = true;
        exitStatus = 1; // the game was not played, whatever the box left behind
        platform::showMessageBox("Can't open Data.dat", "ERROR", platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Exclamation);
    }
    const int level = readProgressToken(ProgressFile.file);
    // Closed once read, whatever it held: Windows refuses to replace a file another program
    // holds open, so a copy of the game idling on the menu would make every save of a rival
    // copy fail. Nothing needs it open: each save opens it anew.
    closeProgressFile();
    if (level != 0) {
        Progress[0] = static_cast<char>('0' + level);
        return; // the file stays untouched
    }
    // A missing file is created holding 1. One that exists but could not be opened for reading
    // and writing (read-only, unreadable, a folder) is the player's: it is left exactly as it is.
    if (opened || ProgressFile.openResult == platform::OpenResult::Missing) {
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

void makeProgressFileIfMissing() {
    if (!platform::fileStatus(platform::fileTarget(ProgressFileName)).exists) {
        // Under the folder's lock: one a rival copy made meanwhile is kept.
        writeProgressFile(1);
    }
}

int unlockedLevel() {
    const char digit = Progress[0];
    return Progress[1] == '\0' && digit >= '1' && digit <= '5' ? digit - '0' : 0;
}
