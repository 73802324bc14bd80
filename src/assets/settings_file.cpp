#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "assets/assets.h"
#include "shell/shell.h"

namespace {

// Far more than the few lines the game writes; a huge or endless file is not read further.
constexpr std::size_t SettingsReadLimit = 64 * 1024;
constexpr const char* NewFileTitle = "# Tolvar's settings, written when you change them in the "
                                     "game.\n";

// What Settings.txt holds as far as this run knows: read at start, then each key as written.
Settings settingsOnDisk;

struct FileText {
    bool exists = false;
    std::string text;
    std::string problem; // why the file could not be read; empty when it was, or is missing
};

// The whole file, opened without blocking and only when it is a regular file.
FileText readFileText(const std::string& path) {
    FileText file;
    platform::FileHandle handle;
    const platform::OpenResult opened = platform::openForReading(path, handle);
    if (opened != platform::OpenResult::Opened) {
        file.exists = opened != platform::OpenResult::Missing;
        file.problem = file.exists ? platform::lastFileError() : "";
        return file;
    }
    file.exists = true;
    if (!platform::isRegularFile(handle)) {
        file.problem = "not a regular file";
    } else {
        char buffer[4096];
        for (;;) {
            const std::ptrdiff_t got = platform::readFile(handle, buffer, sizeof buffer);
            if (got < 0) {
                file.problem = platform::lastFileError();
            }
            if (got <= 0) {
                break;
            }
            file.text.append(buffer, static_cast<std::size_t>(got));
            if (file.text.size() > SettingsReadLimit) {
                file.problem = "larger than 64 KiB";
                break;
            }
        }
    }
    if (!file.problem.empty()) {
        file.text.clear();
    }
    return file;
}

// Notepad's "UTF-8" and other editors put a byte-order mark before the first line: it belongs to
// no key, and a rewrite keeps it.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view byteOrderMarkOf(std::string_view text) {
    return text.starts_with(ByteOrderMark) ? ByteOrderMark : std::string_view();
}

// A line's end as the file has it: "\r\n" (Windows' editors), "\n", or none on the last line.
std::string_view lineEndOf(std::string_view line) {
    return line.ends_with("\r\n") ? "\r\n" : line.ends_with('\n') ? "\n" : "";
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view Blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// A "key = value" line; false for blank lines, comments and anything without '='.
bool splitLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t equals = line.find('=');
    if (trimmed(line).starts_with('#') || equals == std::string_view::npos) {
        return false;
    }
    key = trimmed(line.substr(0, equals));
    value = trimmed(line.substr(equals + 1));
    return true;
}

char lowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Letters compared without their case, as in "music = OFF"; `word` is in lower case.
bool sameWord(std::string_view value, std::string_view word) {
    if (value.size() != word.size()) {
        return false;
    }
    for (std::size_t index = 0; index < value.size(); ++index) {
        if (lowerCase(value[index]) != word[index]) {
            return false;
        }
    }
    return true;
}

// A side of smallest to LargestWindowSide, digits only; 0 when it is anything else.
int windowSide(std::string_view digits, int smallest) {
    if (digits.empty() || digits.size() > 5) {
        return 0;
    }
    int side = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') {
            return 0;
        }
        side = side * 10 + (digit - '0');
    }
    return side >= smallest && side <= LargestWindowSide ? side : 0;
}

// Each parse sets its setting and returns true, or leaves it and returns false.
bool parseMusic(std::string_view value, Settings& settings) {
    if (!sameWord(value, "on") && !sameWord(value, "off")) {
        return false;
    }
    settings.musicMuted = sameWord(value, "off");
    return true;
}

bool parseWindow(std::string_view value, Settings& settings) {
    if (!sameWord(value, "fullscreen") && !sameWord(value, "windowed")) {
        return false;
    }
    settings.fullscreen = sameWord(value, "fullscreen");
    return true;
}

bool parseWindowSize(std::string_view value, Settings& settings) {
    const std::size_t cross = value.find_first_of("xX");
    if (cross == std::string_view::npos) {
        return false;
    }
    const int width = windowSide(value.substr(0, cross), SmallestWindowWidth);
    const int height = windowSide(value.substr(cross + 1), SmallestWindowHeight);
    if (width == 0 || height == 0) {
        return false;
    }
    settings.windowWidth = width;
    settings.windowHeight = height;
    return true;
}

std::string musicText(const Settings& settings) {
    return settings.musicMuted ? "off" : "on";
}

std::string windowText(const Settings& settings) {
    return settings.fullscreen ? "fullscreen" : "windowed";
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string windowSizeText(const Settings& settings) {
    return sizeText(settings.windowWidth, settings.windowHeight);
}

// The settings the game knows, in the order a new file lists them.
struct SettingRule {
    SettingKey key;
    std::string_view name;
    std::string_view choices; // the values it takes, as a new file's header lists them
    bool (*parse)(std::string_view value, Settings& settings);
    std::string (*text)(const Settings& settings);
};

constexpr SettingRule SettingRules[] = {
    {MusicSetting, "music", "on | off", parseMusic, musicText},
    {WindowSetting, "window", "fullscreen | windowed", parseWindow, windowText},
    {WindowSizeSetting, "window_size", "WIDTHxHEIGHT", parseWindowSize, windowSizeText},
};

// What a damaged value should have been: "on or off", or the sizes a window takes.
std::string expectedValue(const SettingRule& rule) {
    if (rule.key == WindowSizeSetting) {
        return std::string(rule.choices) + ", from " +
               sizeText(SmallestWindowWidth, SmallestWindowHeight) + " to " +
               sizeText(LargestWindowSide, LargestWindowSide);
    }
    std::string words(rule.choices);
    const std::size_t bar = words.find(" | ");
    return words.replace(bar, 3, " or ");
}

// The first lines of a file the game makes: what it is, and the keys with their values.
std::string newFileHeader() {
    std::string header(NewFileTitle);
    for (const SettingRule& rule : SettingRules) {
        header.append(&rule == SettingRules ? "# " : ", ").append(rule.name).append(" = ");
        header.append(rule.choices);
    }
    return header.append("\n");
}

const SettingRule* ruleFor(std::string_view key) {
    for (const SettingRule& rule : SettingRules) {
        if (rule.name == key) {
            return &rule;
        }
    }
    return nullptr;
}

// Calls visit(line, lineNumber, rule, value) for each line of the text, rule null for the lines
// the game does not know; lines keep their ends ('\n'), the last one may have none. A byte-order
// mark before the first line is no part of it.
template <typename Visit> void forEachLine(std::string_view text, Visit visit) {
    std::size_t start = byteOrderMarkOf(text).size();
    for (int number = 1; start < text.size(); ++number) {
        const std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, next - start);
        std::string_view key;
        std::string_view value;
        const bool known = splitLine(line, key, value);
        visit(line, number, known ? ruleFor(key) : nullptr, value);
        start = next;
    }
}

} // namespace

Settings readSettingsFile(const char* path) {
    Settings settings;
    const FileText file = readFileText(path);
    if (!file.problem.empty()) {
        std::fprintf(stderr, "tolvar: cannot read %s (%s): the default settings are used\n", path,
                     file.problem.c_str());
        return settings;
    }
    forEachLine(file.text, [&](std::string_view, int number, const SettingRule* rule,
                               std::string_view value) {
        if (rule != nullptr && !rule->parse(value, settings)) {
            std::fprintf(stderr,
                         "tolvar: %s, line %d: %.*s should be %s, not %s: left at its default\n",
                         path, number, static_cast<int>(rule->name.size()), rule->name.data(),
                         expectedValue(*rule).c_str(), quotedText(value).c_str());
        }
    });
    return settings;
}

bool writeSettingsFile(const char* path, const Settings& settings, unsigned int keys) {
    const std::string target = platform::fileTarget(path);
    const platform::FileHandle folderLock = lockForSaving(target); // held to the return
    const FileText file = readFileText(target);
    std::string text = file.exists ? std::string(byteOrderMarkOf(file.text)) : newFileHeader();
    // Lines the file lacks end as its first line does.
    const std::size_t firstEnd = file.text.find('\n');
    const std::string_view newLine =
        firstEnd != std::string::npos
            ? lineEndOf(std::string_view(file.text).substr(0, firstEnd + 1))
            : "\n";
    unsigned int missing = keys;
    forEachLine(file.text,
                [&](std::string_view line, int, const SettingRule* rule, std::string_view) {
                    if (rule != nullptr && (keys & rule->key) != 0) {
                        text.append(rule->name).append(" = ").append(rule->text(settings));
                        text.append(lineEndOf(line));
                        missing &= ~static_cast<unsigned int>(rule->key);
                    } else {
                        text.append(line);
                    }
                });
    for (const SettingRule& rule : SettingRules) {
        if ((missing & rule.key) != 0) {
            const bool lineOpen = !text.ends_with('\n') && text != byteOrderMarkOf(file.text);
            text.append(lineOpen ? newLine : "");
            text.append(rule.name).append(" = ").append(rule.text(settings)).append(newLine);
        }
    }
    const platform::FileStatus status = platform::fileStatus(target);
    std::string reason;
    if (!file.problem.empty()) {
        reason = file.problem; // an unreadable file is the player's: it is not replaced
    } else if (file.exists && status.readOnly) {
        reason = "it is read-only";
    } else if (text != file.text && !platform::replaceFileDurably(target, text.data(), text.size(),
                                                                  status.permissions)) {
        reason = platform::lastFileError();
    }
    if (!reason.empty()) {
        tellFailedSave("the settings", path, reason);
        return false;
    }
    return true;
}

Settings loadSettings() {
    settingsOnDisk = readSettingsFile(SettingsFileName);
    return settingsOnDisk;
}

void saveSettings(const Settings& now, unsigned int keys) {
    unsigned int changed = 0;
    changed |= now.musicMuted != settingsOnDisk.musicMuted ? MusicSetting : 0u;
    changed |= now.fullscreen != settingsOnDisk.fullscreen ? WindowSetting : 0u;
    const bool resized = now.windowWidth != settingsOnDisk.windowWidth ||
                         now.windowHeight != settingsOnDisk.windowHeight;
    changed |= resized ? WindowSizeSetting : 0u;
    changed &= keys;
    if (changed == 0 || !writeSettingsFile(SettingsFileName, now, changed)) {
        return;
    }
    settingsOnDisk.musicMuted =
        (changed & MusicSetting) != 0 ? now.musicMuted : settingsOnDisk.musicMuted;
    settingsOnDisk.fullscreen =
        (changed & WindowSetting) != 0 ? now.fullscreen : settingsOnDisk.fullscreen;
    if ((changed & WindowSizeSetting) != 0) {
        settingsOnDisk.windowWidth = now.windowWidth;
        settingsOnDisk.windowHeight = now.windowHeight;
    }
}
