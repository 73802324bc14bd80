// The 25 pictures as textures, checked by drawing them and reading the pixels back.
#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render_support.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace {

namespace fs = std::filesystem;
using render::Colour;
using render::RenderTest;

// A drawn picture and its file, compared as grids of cell means: fine enough to tell the ten
// weight pictures apart, coarse enough that filtering and scaling do not matter.
constexpr int GridColumns = 8;
constexpr int GridRows = 16;
// Mean of the largest channel difference per cell between a drawn picture and its own file.
constexpr double SamePictureDistance = 6.0;

// Which file of the working folder the texture shows: the index of the nearest picture of the
// catalogue, and how near it is.
struct Identified {
    int index = -1;
    double distance = 1e9;
};

// The rows a full-screen quad shows: the top 74.5 % of the picture.
render::Picture rowsOfAFullscreenQuad(const render::Picture& picture) {
    render::Picture shown = picture;
    shown.height = static_cast<int>(picture.height * (1.0 - HiddenPictureRows));
    shown.pixels.resize(static_cast<std::size_t>(shown.width) * shown.height * 4);
    return shown;
}

// Grids of every picture of the working folder, as drawn whole or as a full-screen quad; an
// empty grid where the file is missing or undecodable.
std::vector<std::vector<Colour>> catalogueGrids(bool fullscreenQuad) {
    std::vector<std::vector<Colour>> grids;
    for (const render::CataloguedPicture& entry : render::pictureCatalogue()) {
        render::Picture file = render::decodePicture(entry.path);
        if (file.width == 0) {
            grids.emplace_back();
            continue;
        }
        if (fullscreenQuad) {
            file = rowsOfAFullscreenQuad(file);
        }
        grids.push_back(render::gridMeans(file, GridColumns, GridRows));
    }
    return grids;
}

Identified nearestPicture(const std::vector<std::vector<Colour>>& grids) {
    const auto drawn = render::gridMeans(render::readScreen(), GridColumns, GridRows);
    Identified nearest;
    for (int i = 0; i < static_cast<int>(grids.size()); ++i) {
        if (grids[i].empty()) {
            continue;
        }
        const double distance = render::gridDistance(drawn, grids[i]);
        if (distance < nearest.distance) {
            nearest = {i, distance};
        }
    }
    return nearest;
}

void expectEverySlotShowsItsOwnPicture(const std::string& except) {
    const auto& catalogue = render::pictureCatalogue();
    const auto grids = catalogueGrids(false);
    for (int i = 0; i < static_cast<int>(catalogue.size()); ++i) {
        if (catalogue[i].path == except) {
            continue;
        }
        render::drawWholeTexture(*catalogue[i].slot);
        const Identified shown = nearestPicture(grids);
        EXPECT_EQ(shown.index, i) << catalogue[i].path << " shows "
                                  << (shown.index >= 0 ? catalogue[shown.index].path : "nothing");
        EXPECT_LT(shown.distance, SamePictureDistance) << catalogue[i].path;
    }
}

using TextureStartUpTest = RenderTest;

TEST_F(TextureStartUpTest, EverySlotHoldsItsOwnTextureAndTexturingIsOn) {
    startUp();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    const auto& catalogue = render::pictureCatalogue();
    ASSERT_EQ(catalogue.size(), 25u);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const unsigned int name = *catalogue[i].slot;
        EXPECT_NE(name, 0u) << catalogue[i].path;
        EXPECT_TRUE(glIsTexture(name)) << catalogue[i].path;
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(name, *catalogue[j].slot)
                << catalogue[i].path << " and " << catalogue[j].path;
        }
    }
}

TEST_F(TextureStartUpTest, EverySlotDrawsThePictureOfItsFile) {
    startUp();
    expectEverySlotShowsItsOwnPicture("");
}

// Quarters of known colours: a picture drawn upside down or mirrored puts them elsewhere.
const Colour TopLeft{220, 30, 30};
const Colour TopRight{230, 210, 40};
const Colour BottomLeft{30, 40, 220};
const Colour BottomRight{30, 200, 60};

void paintQuarters(render::Picture& canvas, double alpha) {
    const double halfWidth = canvas.width / 2.0;
    const double halfHeight = canvas.height / 2.0;
    render::paintSolid(canvas, TopLeft, 0, 0, halfWidth, halfHeight, alpha);
    render::paintSolid(canvas, TopRight, halfWidth, 0, halfWidth, halfHeight, alpha);
    render::paintSolid(canvas, BottomLeft, 0, halfHeight, halfWidth, halfHeight, alpha);
    render::paintSolid(canvas, BottomRight, halfWidth, halfHeight, halfWidth, halfHeight, alpha);
}

TEST_F(TextureStartUpTest, PicturesAreUprightOnAFullscreenQuadAndOnAWholeTexture) {
    render::writeJpegPicture("Data/Kuvat/Taustat/menu.jpg", 64, 64,
                             [](render::Picture& canvas) { paintQuarters(canvas, 1.0); });
    render::writePngPicture("Data/Kuvat/Objektit/Pallo.png", 64, 64,
                            [](render::Picture& canvas) { paintQuarters(canvas, 1.0); });
    startUp();

    // The full-screen picture shows rows 0.255 to 1: its middle row lies 515 pixels down.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawPicture(menuTexture);
    auto shot = render::readScreen();
    EXPECT_PRED3(render::closeTo, shot.at(100, 10), TopLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(900, 10), TopRight, 6);
    EXPECT_PRED3(render::closeTo, shot.at(100, 500), TopLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(100, 530), BottomLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(100, 760), BottomLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(900, 760), BottomRight, 6);

    // The PNG, all of it shown.
    render::drawWholeTexture(ballTexture);
    shot = render::readScreen();
    EXPECT_PRED3(render::closeTo, shot.at(100, 10), TopLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(900, 10), TopRight, 6);
    EXPECT_PRED3(render::closeTo, shot.at(100, 370), TopLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(100, 400), BottomLeft, 6);
    EXPECT_PRED3(render::closeTo, shot.at(900, 760), BottomRight, 6);
}

TEST_F(TextureStartUpTest, EachWeightSlotHoldsThePictureNamedByItsWeight) {
    render::writeWeightPictures();
    startUp();
    for (int weight = 1; weight <= 10; ++weight) {
        render::drawWholeTexture(weightTextures[weight]);
        EXPECT_PRED3(render::closeTo, render::readScreen().at(512, 384),
                     render::WeightColours[weight], 6)
            << "weight " << weight;
    }
}

TEST_F(TextureStartUpTest, ADealtBlockOfWeightSevenIsDrawnWithSevenJpg) {
    render::writeWeightPictures();
    startUp();
    std::srand(11);
    dealLevel(5);
    int sevens = 0;
    for (int i = 0; i < levelParams(5).blockCount; ++i) {
        if (blocks[i].weight != 7) {
            continue;
        }
        ++sevens;
        // Brought into sight one at a time, where the board and the ball are not.
        const float dealtY = blocks[i].y;
        blocks[i].y = 300.0f;
        drawLevelScene(5);
        blocks[i].y = dealtY;
        const Colour drawn =
            render::meanColour(render::readScreen(), static_cast<int>(blocks[i].x) + 4, 304,
                               static_cast<int>(blocks[i].x) + 21, 336);
        EXPECT_PRED3(render::closeTo, drawn, render::WeightColours[7], 6) << "block " << i;
    }
    EXPECT_GT(sevens, 0) << "seed 11 deals no weight 7 in level 5";
}

// One picture missing or undecodable: start-up goes on and every other slot still shows its own.
class OnePictureUnusableTest : public RenderTest,
                               public ::testing::WithParamInterface<const char*> {
protected:
    void spoilPicture() {
        const fs::path path = GetParam();
        if (path.filename() == "runtausta2.jpg") {
            // Not a picture at all.
            std::ofstream(path, std::ios::trunc) << "this is no JPEG file\n";
        } else {
            fs::remove(path);
        }
    }
};

TEST_P(OnePictureUnusableTest, TheOtherTwentyFourDrawTheirOwnAndItsSlotDrawsBlack) {
    spoilPicture();
    startUp();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    expectEverySlotShowsItsOwnPicture(GetParam());
    // The unusable picture's own slot draws plain black, the same in every run.
    for (const render::CataloguedPicture& entry : render::pictureCatalogue()) {
        if (entry.path == std::string(GetParam())) {
            render::drawWholeTexture(*entry.slot);
            const auto shot = render::readScreen();
            EXPECT_EQ(shot.at(10, 10), (Colour{0, 0, 0}));
            EXPECT_EQ(render::meanColour(shot, 0, 0, render::ScreenWidth, render::ScreenHeight),
                      (Colour{0, 0, 0}));
        }
    }
}

TEST_P(OnePictureUnusableTest, TheGameStartsAndShowsTheLogoAndTheMenu) {
    spoilPicture();
    std::ofstream("Data.dat") << "1";
    openProgressFile();
    // Frame 1 is the logo; the fade into the main menu follows; by frame 60 the menu shows.
    const auto grids = catalogueGrids(true);
    Identified logo;
    int menuFrames = 0;
    scripted::script().onPresent = [&](int frame) {
        if (frame == 1) {
            logo = nearestPicture(grids);
        }
        if (GameState == MainMenu && frame > 52) {
            ++menuFrames;
        }
    };
    const int exitCode = scripted::runGameWith([](int) {
        if (scripted::script().presentedFrames >= 60) {
            scripted::requestClose();
        }
    });
    scripted::script().onPresent = nullptr;
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(scripted::script().boxes.empty());
    EXPECT_GT(menuFrames, 0);
    if (fs::path(GetParam()).filename() != "logo.jpg") {
        EXPECT_EQ(logo.index, 0) << "the first frame is not the logo";
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, OnePictureUnusableTest,
                         ::testing::Values("Data/Kuvat/Taustat/menu.jpg",
                                           "Data/Kuvat/Objektit/Pallo.png",
                                           "Data/Kuvat/Objektit/7.jpg",
                                           "Data/Kuvat/Taustat/runtausta2.jpg"));

} // namespace
