// What the passes of a crossfade show, read back from each presented frame.
#include <GL/gl.h>

#include <optional>

#include "assets/assets.h"
#include "game/game.h"
#include "render/render_support.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace {

using render::Colour;
using render::Screenshot;

const Colour OutgoingColour{200, 60, 30};
const Colour IncomingColour{20, 90, 220};

void writeSolidScreenPicture(const char* path, const Colour& colour) {
    render::writeJpegPicture(path, 64, 64, [&colour](render::Picture& canvas) {
        render::paintSolid(canvas, colour, 0, 0, canvas.width, canvas.height);
    });
}

// Presented frames kept by their number.
class CrossfadePixelsTest : public render::RenderTest {
protected:
    void keepFrames(int first, int last) {
        scripted::script().onPresent = [this, first, last](int frame) {
            if (frame == first) {
                firstFrame = render::readScreen();
            }
            if (frame == last) {
                lastFrame = render::readScreen();
            }
        };
    }
    void TearDown() override {
        scripted::script().onPresent = nullptr;
        render::RenderTest::TearDown();
    }
    // The picture alone, as the screen shows it outside a fade.
    static Screenshot pictureAlone(unsigned int texture) {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawPicture(texture);
        return render::readScreen();
    }
    static int largestDifference(const Screenshot& a, const Screenshot& b) {
        int largest = 0;
        for (std::size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i) {
            largest = std::max(largest, std::abs(a.rgb[i] - b.rgb[i]));
        }
        return largest;
    }

    std::optional<Screenshot> firstFrame;
    std::optional<Screenshot> lastFrame;
};

TEST_F(CrossfadePixelsTest, TheFirstPassShowsTheOutgoingPictureAloneAndTheLastTheIncoming) {
    writeSolidScreenPicture("Data/Kuvat/Taustat/menu.jpg", OutgoingColour);
    writeSolidScreenPicture("Data/Kuvat/Taustat/help.jpg", IncomingColour);
    startUp();
    keepFrames(1, 51);
    Crossfade(menuTexture, helpTexture);
    ASSERT_TRUE(firstFrame && lastFrame);
    for (const Colour& cell : render::gridMeans(*firstFrame, 8, 8)) {
        EXPECT_PRED3(render::closeTo, cell, OutgoingColour, 2);
    }
    // The last pass draws with the alphas before its own step: incoming 0.99999958 and
    // outgoing 0.00000039, so the incoming picture all but alone.
    for (const Colour& cell : render::gridMeans(*lastFrame, 8, 8)) {
        EXPECT_PRED3(render::closeTo, cell, IncomingColour, 2);
    }
}

TEST_F(CrossfadePixelsTest, TheFirstPassOfAFadeBetweenTheGamesPicturesIsTheOutgoingOneAlone) {
    startUp();
    const Screenshot menuAlone = pictureAlone(menuTexture);
    keepFrames(1, 2);
    Crossfade(menuTexture, helpTexture);
    ASSERT_TRUE(firstFrame && lastFrame);
    EXPECT_LE(largestDifference(*firstFrame, menuAlone), 1);
    // The second pass already holds some of the help picture.
    EXPECT_GT(largestDifference(*lastFrame, menuAlone), 1);
}

TEST_F(CrossfadePixelsTest, TheFirstPassIntoALevelShowsTheOutgoingPictureAloneOverBallAndBoard) {
    startUp();
    const Screenshot playMenuAlone = pictureAlone(playMenuTexture);
    keepFrames(1, 51);
    LevelCrossfade(playMenuTexture, 1);
    ASSERT_TRUE(firstFrame && lastFrame);
    EXPECT_LE(largestDifference(*firstFrame, playMenuAlone), 1);
    // By the last pass the level's background, ball and board have taken its place.
    EXPECT_GT(largestDifference(*lastFrame, playMenuAlone), 40);
}

} // namespace
