// Every picture missing, cut short or replaced by noise, one at a time: start-up completes, the
// tour reaches every screen and quits cleanly, and the other 24 pictures are still exactly
// their textures, upright, each in its own slot.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "game_folder.h"
#include "picture_files.h"
#include "screen_tour.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/picture_slots.h"

// DevIL's PNG reader keeps a row buffer it never frees when the file ends early: a loss inside
// libIL, not in the game, and only with a cut-short PNG. Added to the suppressions of the
// environment.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libIL.so\n";
}

namespace {

using faults::Damage;

using expected::PictureCount;
using expected::PictureSlot;
using expected::pictureSlots;

// Decoders differ a little in rounding; a wrong, flipped or shifted picture differs by tens.
constexpr double LargestMeanDifference = 3.0;

std::optional<pictures::RgbaPicture> decodeOriginal(const std::string& path) {
    const std::string name = std::string(TOLVAR_DATA_DIR) + "/" + path.substr(5); // past "Data/"
    return path.ends_with(".png") ? pictures::readPng(name) : pictures::readJpeg(name);
}

// Compares the texture behind `name` with the picture file, t = 0 being the picture's bottom row.
// Empty when they match; otherwise what differs.
std::string textureMismatch(unsigned int name, const pictures::RgbaPicture& picture) {
    if (name == 0 || glIsTexture(name) != GL_TRUE) {
        return "no texture";
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> texels;
    if (width == picture.width && height == picture.height) {
        texels.resize(static_cast<std::size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    if (texels.empty()) {
        return "size " + std::to_string(width) + "x" + std::to_string(height) + ", file " +
               std::to_string(picture.width) + "x" + std::to_string(picture.height);
    }
    long long difference = 0;
    long long compared = 0;
    for (int row = 0; row < height; row += 3) {
        const std::uint8_t* textureRow = texels.data() + static_cast<std::size_t>(row) * width * 4;
        for (int column = 0; column < width; column += 3) {
            const std::uint8_t* texel = textureRow + column * 4;
            const std::uint8_t* pixel = picture.at(column, height - 1 - row);
            for (int channel = 0; channel < 4; ++channel) {
                difference += std::abs(texel[channel] - pixel[channel]);
            }
            compared += 4;
        }
    }
    const double mean = static_cast<double>(difference) / static_cast<double>(compared);
    if (mean > LargestMeanDifference) {
        return "mean difference " + std::to_string(mean);
    }
    return "";
}

// Every texel of the texture behind `name` is black.
bool isPlainBlack(unsigned int name) {
    if (name == 0 || glIsTexture(name) != GL_TRUE) {
        return false;
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<std::uint8_t> texels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    for (std::size_t i = 0; i < texels.size(); i += 4) {
        if (texels[i] != 0 || texels[i + 1] != 0 || texels[i + 2] != 0) {
            return false;
        }
    }
    return !texels.empty();
}

struct PictureFault {
    int picture;
    Damage damage;
};

class PictureFaultTest : public ::testing::TestWithParam<PictureFault> {};

TEST_P(PictureFaultTest, StartUpCompletesEveryScreenDrawsAndTheOtherPicturesStayIntact) {
    const PictureFault fault = GetParam();
    const PictureSlot& damaged = pictureSlots[fault.picture];
    faults::GameFolder folder("5");
    folder.damage(damaged.path, fault.damage);
    openProgressFile();
    ::testing::internal::CaptureStderr();

    std::vector<std::string> slotProblems;
    faults::TourHooks hooks;
    hooks.afterStartUp = [&] {
        for (int i = 0; i < PictureCount; ++i) {
            const unsigned int name = *pictureSlots[i].slot;
            for (int j = 0; j < i; ++j) {
                if (name != 0 && name == *pictureSlots[j].slot) {
                    slotProblems.push_back(std::string(pictureSlots[i].path) +
                                           " shares its texture with " + pictureSlots[j].path);
                }
            }
            if (i == fault.picture) {
                // A picture too large to decode, or no regular file, is left out: its slot is
                // plain black.
                const bool leftOut = fault.damage == Damage::Oversized ||
                                     fault.damage == Damage::Fifo ||
                                     fault.damage == Damage::Missing;
                if (leftOut && !isPlainBlack(name)) {
                    slotProblems.push_back(std::string(pictureSlots[i].path) + ": not black");
                }
                continue; // what another damaged picture looks like is the game's own business
            }
            const auto original = decodeOriginal(pictureSlots[i].path);
            if (!original) {
                slotProblems.push_back(std::string("cannot decode ") + pictureSlots[i].path);
                continue;
            }
            const std::string mismatch = textureMismatch(name, *original);
            if (!mismatch.empty()) {
                slotProblems.push_back(std::string(pictureSlots[i].path) + ": " + mismatch);
            }
        }
    };
    const faults::TourRecord record = faults::runScreenTour(hooks);
    const std::string said = ::testing::internal::GetCapturedStderr();

    // A picture left out is named, once, whatever was wrong with it (the decoder may still make
    // something of a picture cut short).
    const std::string named = std::string("tolvar: ") + damaged.path + ": ";
    const std::size_t first = said.find(named);
    if (fault.damage != Damage::Truncated) {
        EXPECT_NE(first, std::string::npos) << said;
    }
    EXPECT_TRUE(first == std::string::npos || said.find(named, first + 1) == std::string::npos)
        << said;
    EXPECT_EQ(record.exitCode, 0);
    EXPECT_EQ(record.stepsRun, faults::tourStepCount);
    EXPECT_TRUE(quitRequested);
    EXPECT_TRUE(slotProblems.empty()) << ::testing::PrintToString(slotProblems);
    for (std::uint32_t state = Logo; state <= LevelSelect; ++state) {
        EXPECT_TRUE(record.presentedStates.contains(state)) << "state " << state << " never drew";
    }
}

std::vector<PictureFault> everyPictureFault() {
    std::vector<PictureFault> all;
    for (int picture = 0; picture < PictureCount; ++picture) {
        for (Damage damage : {Damage::Missing, Damage::Truncated, Damage::Garbage}) {
            all.push_back({picture, damage});
        }
        const std::string path = pictureSlots[picture].path;
        if (path.ends_with("Pallo.png") || path.ends_with("logo.jpg")) {
            all.push_back({picture, Damage::Oversized});
        }
        if (path.ends_with("Pallo.png") || path.ends_with("menu.jpg")) {
            all.push_back({picture, Damage::Fifo});
        }
    }
    return all;
}

std::string faultName(const ::testing::TestParamInfo<PictureFault>& info) {
    std::string name = pictureSlots[info.param.picture].path;
    name = name.substr(name.rfind('/') + 1);
    for (char& c : name) {
        if (c == '.') {
            c = '_';
        }
    }
    return name + "_" + faults::damageName(info.param.damage);
}

INSTANTIATE_TEST_SUITE_P(EachPicture, PictureFaultTest, ::testing::ValuesIn(everyPictureFault()),
                         faultName);

} // namespace
