// The level scene read back: the board's tilt, upright blocks, the blended ball, the HUD, and
// which records are drawn. The pictures are replaced by ones of known colours.
#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render_support.h"
#include "screens/screens.h"
#include "shell/shell.h"

namespace {

using render::Colour;
using render::Screenshot;

const Colour BackgroundColour{100, 100, 100};
const Colour BoardColour{200, 40, 160};
const Colour BallColour{0, 255, 0};

// Level backgrounds of one grey: text that took any of its colour from the picture would come
// out grey, not white or black.
void writeLevelBackgrounds() {
    for (int level = 1; level <= 5; ++level) {
        const std::string path = "Data/Kuvat/Taustat/runtausta" + std::to_string(level) + ".jpg";
        render::writeJpegPicture(path, 256, 256, [](render::Picture& canvas) {
            render::paintSolid(canvas, BackgroundColour, 0, 0, canvas.width, canvas.height);
        });
    }
}

// The ball in three upright bands: transparent, half transparent and opaque, left to right.
constexpr int BallSide = 64;
constexpr int BallBandEnds[3] = {21, 43, 64};

void writeBall() {
    render::writePngPicture(
        "Data/Kuvat/Objektit/Pallo.png", BallSide, BallSide, [](render::Picture& canvas) {
            const double alphas[3] = {0.0, 128.0 / 255.0, 1.0};
            int left = 0;
            for (int band = 0; band < 3; ++band) {
                render::paintSolid(canvas, BallColour, left, 0, BallBandEnds[band] - left,
                                   canvas.height, alphas[band]);
                left = BallBandEnds[band];
            }
        });
}

void writeBoard() {
    render::writeJpegPicture("Data/Kuvat/Objektit/lauta.jpg", 64, 32, [](render::Picture& canvas) {
        render::paintSolid(canvas, BoardColour, 0, 0, canvas.width, canvas.height);
    });
}

class LevelSceneTest : public render::RenderTest {
protected:
    void SetUp() override {
        writeLevelBackgrounds();
        writeBall();
        writeBoard();
        render::writeWeightPictures();
        startUp();
    }
    static void dealSeeded(int level) {
        std::srand(5);
        dealLevel(level);
    }
    static void placeBlock(int index, float x, float y, int weight) {
        blocks[index].x = x;
        blocks[index].y = y;
        blocks[index].weight = weight;
        blocks[index].texture = &weightTextures[weight];
        blocks[index].landed = 1;
    }
};

// The middle row of the board's pixels in one column, in drawing space; -1 if none.
double boardRowAt(const Screenshot& shot, int x, int* rows) {
    long long sum = 0;
    int count = 0;
    for (int y = 600; y < render::ScreenHeight; ++y) {
        if (render::closeTo(shot.at(x, y), BoardColour, 30)) {
            sum += y;
            ++count;
        }
    }
    *rows = count;
    return count == 0 ? -1.0 : static_cast<double>(sum) / count;
}

TEST_F(LevelSceneTest, APositiveAngleLowersTheBoardsRightEnd) {
    constexpr int LeftX = 230;
    constexpr int RightX = 560;
    for (const float angle : {-7.0f, 0.0f, 3.0f, 7.0f}) {
        dealSeeded(1);
        board.angle = angle;
        drawLevelScene(1);
        const Screenshot shot = render::readScreen();
        int leftRows = 0;
        int rightRows = 0;
        const double left = boardRowAt(shot, LeftX, &leftRows);
        const double right = boardRowAt(shot, RightX, &rightRows);
        const double expectedDrop = (RightX - LeftX) * std::tan(angle * std::numbers::pi / 180.0);
        EXPECT_NEAR(right - left, expectedDrop, 1.5) << "angle " << angle;
        EXPECT_NEAR((left + right) / 2.0, 695.0, 1.5) << "angle " << angle;
        EXPECT_NEAR(leftRows, 15, 1) << "angle " << angle;
        EXPECT_NEAR(rightRows, 15, 1) << "angle " << angle;
    }
    // Level, the board reaches 200 either side of x 395 and no further.
    dealSeeded(1);
    drawLevelScene(1);
    const Screenshot level = render::readScreen();
    EXPECT_PRED3(render::closeTo, level.at(196, 690), BoardColour, 30);
    EXPECT_PRED3(render::closeTo, level.at(593, 690), BoardColour, 30);
    EXPECT_FALSE(render::closeTo(level.at(192, 690), BoardColour, 30));
    EXPECT_FALSE(render::closeTo(level.at(597, 690), BoardColour, 30));
}

// Pixels of one colour inside a box around a block: exactly its 25 by 40 upright rectangle.
void expectUprightBlock(const Screenshot& shot, int x, int y, const Colour& colour, float angle) {
    int inside = 0;
    int outside = 0;
    for (int row = y - 10; row < y + 50; ++row) {
        for (int column = x - 10; column < x + 35; ++column) {
            const bool coloured = render::closeTo(shot.at(column, row), colour, 12);
            const bool inRectangle = column >= x && column < x + 25 && row >= y && row < y + 40;
            if (coloured && inRectangle) {
                ++inside;
            } else if (coloured) {
                ++outside;
            }
        }
    }
    EXPECT_EQ(inside, 25 * 40) << "block at " << x << ", " << y << ", angle " << angle;
    EXPECT_EQ(outside, 0) << "block at " << x << ", " << y << ", angle " << angle;
}

TEST_F(LevelSceneTest, BlocksStayUprightAtAnyBoardAngle) {
    for (const float angle : {-9.0f, 0.0f, 4.0f, 9.0f}) {
        dealSeeded(1);
        board.angle = angle;
        placeBlock(0, 220.0f, 400.0f, 7);
        placeBlock(1, 550.0f, 300.0f, 3);
        drawLevelScene(1);
        const Screenshot shot = render::readScreen();
        expectUprightBlock(shot, 220, 400, render::WeightColours[7], angle);
        expectUprightBlock(shot, 550, 300, render::WeightColours[3], angle);
    }
}

TEST_F(LevelSceneTest, TheBallIsBlendedByItsAlpha) {
    dealSeeded(1);
    drawLevelScene(1);
    const Screenshot shot = render::readScreen();
    // The ball spans x 350 to 450; below the board, the middle of each band.
    auto bandMiddle = [](int band) {
        const int left = band == 0 ? 0 : BallBandEnds[band - 1];
        return 350 + (left + BallBandEnds[band]) * 100 / (2 * BallSide);
    };
    const Colour half{(BallColour.r + BackgroundColour.r) / 2,
                      (BallColour.g + BackgroundColour.g) / 2,
                      (BallColour.b + BackgroundColour.b) / 2};
    for (const int y : {720, 750}) {
        EXPECT_PRED3(render::closeTo, shot.at(bandMiddle(0), y), BackgroundColour, 4) << y;
        EXPECT_PRED3(render::closeTo, shot.at(bandMiddle(1), y), half, 5) << y;
        EXPECT_PRED3(render::closeTo, shot.at(bandMiddle(2), y), BallColour, 4) << y;
    }
}

// The four HUD lines of a level at the start, as the bitmap font draws them alone in white on
// black: their lit pixels inside the HUD's part of the screen.
constexpr int HudLeft = 840;
constexpr int HudTop = 36; // above the first line's glyphs
constexpr int HudRight = render::ScreenWidth;
constexpr int HudBottom = 215;

std::vector<int> hudLinesAlone(const std::string& label, int limit, int blockCount) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    placeTextPen(890.0f, 50.0f);
    drawText("%s", label.c_str());
    placeTextPen(883.0f, 150.0f);
    drawText("Balance");
    placeTextPen(855.0f, 165.0f);
    drawText("differential: %i", limit);
    placeTextPen(855.0f, 200.0f);
    drawText("Blocks left: %i", blockCount);
    glEnable(GL_TEXTURE_2D);
    return render::pixelsUnlike(render::readScreen(), Colour{0, 0, 0}, 0, HudLeft, HudTop, HudRight,
                                HudBottom);
}

TEST_F(LevelSceneTest, TheHudShowsItsFourLinesWhiteInLevelsOneToFourAndBlackInLevelFive) {
    const int limits[6] = {0, 9, 8, 7, 6, 5};
    const int blockCounts[6] = {0, 10, 15, 20, 25, 30};
    for (int level = 1; level <= 5; ++level) {
        const std::vector<int> expected =
            hudLinesAlone("Level " + std::to_string(level), limits[level], blockCounts[level]);
        ASSERT_GT(expected.size(), 100u);

        dealSeeded(level);
        drawLevelScene(level);
        drawLevelScene(level); // the second frame starts from the state the first one left
        const Screenshot shot = render::readScreen();
        const std::vector<int> lit =
            render::pixelsUnlike(shot, BackgroundColour, 12, HudLeft, HudTop, HudRight, HudBottom);
        EXPECT_EQ(lit, expected) << "level " << level;

        const Colour textColour = level == 5 ? Colour{0, 0, 0} : Colour{255, 255, 255};
        int otherColour = 0;
        for (const int pixel : lit) {
            otherColour +=
                render::closeTo(shot.at(pixel % render::ScreenWidth, pixel / render::ScreenWidth),
                                textColour, 12)
                    ? 0
                    : 1;
        }
        EXPECT_EQ(otherColour, 0) << "level " << level;
    }
}

TEST_F(LevelSceneTest, RecordsBeyondTheLevelsCountAreNotDrawn) {
    // A level-2 game leaves a landed block in record 12; level 1 is dealt over it.
    dealSeeded(2);
    placeBlock(12, 550.0f, 400.0f, 7);
    dealSeeded(1);
    placeBlock(9, 220.0f, 400.0f, 3);
    drawLevelScene(1);
    Screenshot shot = render::readScreen();
    EXPECT_PRED3(render::closeTo, render::meanColour(shot, 224, 404, 241, 436),
                 render::WeightColours[3], 6);
    EXPECT_PRED3(render::closeTo, render::meanColour(shot, 554, 404, 571, 436), BackgroundColour,
                 4);

    // The last of the 31 records is drawn by no level, not even the longest.
    dealSeeded(5);
    placeBlock(29, 220.0f, 400.0f, 3);
    placeBlock(30, 550.0f, 400.0f, 7);
    drawLevelScene(5);
    shot = render::readScreen();
    EXPECT_PRED3(render::closeTo, render::meanColour(shot, 224, 404, 241, 436),
                 render::WeightColours[3], 6);
    EXPECT_PRED3(render::closeTo, render::meanColour(shot, 554, 404, 571, 436), BackgroundColour,
                 4);
}

} // namespace
