#include "melody_notation.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace {

[[noreturn]] void fail(std::string_view token, const char* why) {
    throw std::invalid_argument("melody token '" + std::string(token) + "': " + why);
}

// Reads a length at `at` (letter with optional dot, or ":n"); keeps `previous` when none is there.
int readLength(std::string_view token, std::size_t at, int previous) {
    if (at == token.size()) {
        return previous;
    }
    if (token[at] == ':') {
        const std::string digits(token.substr(at + 1));
        if (digits.empty() || digits.size() > 3 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            fail(token, "bad row count");
        }
        const int rows = std::stoi(digits);
        if (rows < 1) {
            fail(token, "zero length");
        }
        return rows;
    }
    int rows = 0;
    switch (token[at]) {
    case 'w':
        rows = 16;
        break;
    case 'h':
        rows = 8;
        break;
    case 'q':
        rows = 4;
        break;
    case 'e':
        rows = 2;
        break;
    case 's':
        rows = 1;
        break;
    default:
        fail(token, "unknown length");
    }
    if (at + 1 < token.size()) {
        if (token[at + 1] != '.' || at + 2 != token.size() || rows % 2 != 0) {
            fail(token, "unreadable after the length");
        }
        rows += rows / 2;
    }
    return rows;
}

} // namespace

Melody parseMelody(std::string_view text, Mode mode, int tonicNote) {
    Melody melody;
    int length = 4;
    std::size_t start = 0;
    while (start < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[start]))) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        const std::string_view token = text.substr(start, end - start);
        start = end;

        if (token == "|") {
            if (melody.rows % RowsPerBar != 0) {
                fail(token, "bar line inside a bar");
            }
            continue;
        }
        if (token[0] == '~') {
            if (melody.notes.empty()) {
                fail(token, "nothing to hold");
            }
            length = readLength(token, 1, length);
            melody.notes.back().length += length;
            melody.rows += length;
            continue;
        }
        MelodyNote note;
        note.row = melody.rows;
        std::size_t at = 0;
        if (token[0] == 'r') {
            note.rest = true;
            at = 1;
        } else {
            int accidental = 0;
            if (token[at] == '#' || token[at] == 'b') {
                accidental = token[at] == '#' ? 1 : -1;
                ++at;
            }
            if (at >= token.size() || token[at] < '1' || token[at] > '7') {
                fail(token, "expected a degree 1..7");
            }
            const int degree = token[at] - '0';
            ++at;
            int octave = 0;
            while (at < token.size() && (token[at] == '\'' || token[at] == ',')) {
                octave += token[at] == '\'' ? 1 : -1;
                ++at;
            }
            note.note = tonicNote + degreeSemitones(mode, degree) + 12 * octave + accidental;
            if (note.note < 0 || note.note > 119) {
                fail(token, "note out of range");
            }
        }
        length = readLength(token, at, length);
        note.length = length;
        melody.rows += length;
        melody.notes.push_back(note);
    }
    if (melody.rows == 0 || melody.rows % RowsPerBar != 0) {
        throw std::invalid_argument("melody does not fill whole bars (" +
                                    std::to_string(melody.rows) + " rows)");
    }
    return melody;
}
