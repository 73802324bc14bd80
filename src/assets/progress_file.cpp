#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "assets/assets.h"
#include "shell/shell.h"

char Progress[2] = "0";
ProgressFileHandle ProgressFile;

namespace {

// A valid token is one digit; this much is enough to find it after a little whitespace, and a
// huge or endless file (a link to /dev/zero) is never read further. One byte more is read, so
// that a token ending exactly at the limit is seen to end there.
constexpr std::size_t TokenReadLimit = 64;
// What an editor saving "UTF-8" (Notepad) puts before the digit: no part of the token.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// A damaged file's content is kept beside it before the repair, this much of it at most.
constexpr std::size_t DamagedKeepLimit = 64 * 1024;
constexpr const char* DamagedSuffix = ".damaged";
constexpr const char* WhatIsSaved = "the progress";

// A save that failed since the last one that worked: the next one is made whatever its level.
bool progressUnsaved = false;

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void closeProgressFile() {
    ProgressFile.file.close();
}

// Up to `limit` bytes from the start of the file; none when it is not open.
std::string readProgressContent(const platform::FileHandle& file, std::size_t limit) {
    std::string content;
    char buffer[4096];
    while (file.isOpen() && content.size() < limit) {
        const std::ptrdiff_t got =
            platform::readFile(file, buffer, std::min(sizeof buffer, limit - content.size()));
        if (got <= 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return content;
}

// The first whitespace-delimited token of the content, as a level 1 to 5, or 0 when there is no
// valid one. Only the exact one-digit tokens count: "01", "1.0" or "6" do not.
int progressToken(std::string_view content) {
    if (content.starts_with(ByteOrderMark)) {
        content.remove_prefix(ByteOrderMark.size());
    }
    content = content.substr(0, TokenReadLimit + 1);
    std::size_t start = 0;
    while (start < content.size() && isWhitespace(content[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < content.size() && !isWhitespace(content[end])) {
        ++end;
    }
    const bool tokenEnds =
        end <= TokenReadLimit && (end < content.size() || content.size() <= TokenReadLimit);
    if (end - start != 1 || !tokenEnds) {
        return 0;
    }
    const char digit = content[start];
    return digit >= '1' && digit <= '5' ? digit - '0' : 0;
}

bool failedSave(const std::string& target, const std::string& reason) {
    tellFailedSave(WhatIsSaved, target, reason);
    return false;
}

// Replaces the progress file as a whole (replaceFileDurably): a crash or power cut at any moment
// leaves either the old digit or the new one. The file's folder is locked for the whole step and
// the digit on disk read anew, so that a copy of the game running beside this one is never
// overwritten with a lower level. A file that holds no level is damaged: what it held is kept
// beside it before it is replaced. True when the file holds `level` or a higher one after it.
bool writeProgressFile(int level) {
    const std::string target = platform::fileTarget(ProgressFileName);
    const platform::FileHandle folderLock = lockForSaving(target); // held to the return
    const platform::FileStatus existing = platform::fileStatus(target);
    bool damaged = false;
    if (existing.exists) {
        platform::FileHandle current;
        const bool readable =
            platform::openForReading(target, current) == platform::OpenResult::Opened;
        const std::string held = readProgressContent(current, DamagedKeepLimit);
        const int onDisk = progressToken(held);
        if (onDisk >= level) {
            return true;
        }
        if (existing.readOnly) {
            return failedSave(target, "it is read-only");
        }
        // A device or a folder in its place holds nothing of the player's worth keeping.
        damaged = onDisk == 0 && readable && existing.regular;
        if (damaged && !platform::replaceFileDurably(target + DamagedSuffix, held.data(),
                                                     held.size(), existing.permissions)) {
            return failedSave(target, "its damaged content could not be kept beside it: " +
                                          platform::lastFileError());
        }
    }
    const char digit = static_cast<char>('0' + level);
    // The player's choice of who may read it stays.
    if (!platform::replaceFileDurably(target, &digit, 1, existing.permissions)) {
        return failedSave(target, platform::lastFileError());
    }
    if (damaged) {
        std::fprintf(stderr,
                     "tolvar: %s held no level from 1 to 5: what it held is kept in %s%s, and it "
                     "now holds %c\n",
                     target.c_str(), target.c_str(), DamagedSuffix, digit);
    }
    return true;
}

} // namespace

void openProgressFile() {
    closeProgressFile();
    // Read and write, never create or truncate; a pipe in its place cannot hang the start-up,
    // and a folder does not open.
    ProgressFile.openResult = platform::openForUpdate(ProgressFileName, ProgressFile.file);
    ProgressFile.whyNotOpened =
        ProgressFile.file.isOpen() ? std::string() : platform::lastFileError();
}

void loadProgress() {
    const bool opened = ProgressFile.file.isOpen();
    if (!opened) {
        quitRequested = true;
        exitStatus = 1; // the game was not played, whatever the box left behind
        std::fprintf(stderr, "tolvar: can't open %s (%s)\n", ProgressFileName,
                     ProgressFile.whyNotOpened.c_str());
        platform::showMessageBox("Can't open Data.dat", "ERROR", platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Exclamation);
    }
    const int level = progressToken(
        readProgressContent(ProgressFile.file, ByteOrderMark.size() + TokenReadLimit + 1));
    // Closed once read, whatever it held: Windows refuses to replace a file another program
    // holds open, so a copy of the game idling on the menu would make every save of a rival
    // copy fail. Nothing needs it open: each save opens it anew.
    closeProgressFile();
    progressUnsaved = false;
    if (level != 0) {
        Progress[0] = static_cast<char>('0' + level);
        return; // the file stays untouched
    }
    // A missing file is created holding 1. One that exists but could not be opened for reading
    // and writing (read-only, unreadable, a folder) is the player's: it is left exactly as it is.
    if (opened || ProgressFile.openResult == platform::OpenResult::Missing) {
        progressUnsaved = !writeProgressFile(1);
    }
    Progress[0] = '1';
}

void recordProgress(int level) {
    if (unlockedLevel() >= level && !progressUnsaved) {
        return; // a level already unlocked is never recorded again
    }
    closeProgressFile();
    const int highest = std::max(level, unlockedLevel());
    progressUnsaved = !writeProgressFile(highest);
    // Raised in memory whatever happened on disk: the player, told, plays it on in this run.
    Progress[0] = static_cast<char>('0' + highest);
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
