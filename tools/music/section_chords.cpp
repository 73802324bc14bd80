#include "section_chords.h"

#include "melody_notation.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

std::vector<std::string_view> splitWords(std::string_view text, char separator) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) {
            words.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

} // namespace

SectionChords readSectionChords(const char* text, Key key) {
    SectionChords result;
    for (std::string_view bar : splitWords(text, ' ')) {
        std::vector<Chord> chords;
        for (std::string_view symbol : splitWords(bar, ',')) {
            chords.push_back(parseChord(key, symbol));
        }
        if (chords.empty() || chords.size() > 2) {
            throw std::invalid_argument("a bar holds one or two chords: " + std::string(bar));
        }
        result.bars.push_back(chords);
    }
    if (result.bars.empty()) {
        throw std::invalid_argument("a section without chords");
    }
    return result;
}

namespace {

const std::vector<Chord>& barChords(const SectionChords& chords, int bar) {
    return chords.bars[static_cast<std::size_t>(bar) % chords.bars.size()];
}

} // namespace

const Chord& chordAt(const SectionChords& chords, int bar, int step) {
    const std::vector<Chord>& inBar = barChords(chords, bar);
    return inBar.size() == 1 || step < RowsPerBar / 2 ? inBar[0] : inBar[1];
}

bool chordChangesAt(const SectionChords& chords, int bar, int step) {
    return step == 0 || (step == RowsPerBar / 2 && barChords(chords, bar).size() == 2);
}
