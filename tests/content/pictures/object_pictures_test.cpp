// The objects of play: the ball's transparency, the blocks' weight scale and numerals, and the
// board's wrapped edge.
#include "generated_pictures.h"

#include <cmath>

namespace picture_checks {
namespace {

using ObjectPictures = GeneratedPictures;

std::string blockPath(int weight) {
    return "Kuvat/Objektit/" + std::to_string(weight) + ".jpg";
}

Rgb pixelAt(const pictures::RgbaPicture& picture, int x, int y) {
    const std::uint8_t* p = picture.at(x, y);
    return Rgb{static_cast<double>(p[0]), static_cast<double>(p[1]), static_cast<double>(p[2])};
}

Rgb meanOf(const pictures::RgbaPicture& picture, int firstX, int lastX, int firstY, int lastY) {
    Rgb sum{0.0, 0.0, 0.0};
    int count = 0;
    for (int y = firstY; y <= lastY; ++y) {
        for (int x = firstX; x <= lastX; ++x) {
            const Rgb colour = pixelAt(picture, x, y);
            sum = Rgb{sum.r + colour.r, sum.g + colour.g, sum.b + colour.b};
            ++count;
        }
    }
    return Rgb{sum.r / count, sum.g / count, sum.b / count};
}

// The body of a block above its numeral, clear of the bevelled rim.
Rgb blockBody(const pictures::RgbaPicture& block) {
    return meanOf(block, 7, 24, 9, 16);
}

// Share of the numeral band that differs strongly from the block's body: the numeral's ink.
double numeralInk(const pictures::RgbaPicture& block) {
    const Rgb body = blockBody(block);
    int ink = 0;
    int count = 0;
    for (int y = 20; y <= 44; ++y) {
        for (int x = 4; x <= 27; ++x) {
            ink += distance(pixelAt(block, x, y), body) > 90.0 ? 1 : 0;
            ++count;
        }
    }
    return static_cast<double>(ink) / count;
}

TEST_F(ObjectPictures, BallIsOpaqueInsideAndTransparentAroundIt) {
    const pictures::RgbaPicture& ball = generatedPicture("Kuvat/Objektit/Pallo.png");
    ASSERT_EQ(ball.width, 128);
    ASSERT_EQ(ball.height, 128);
    const double centre = 64.0;
    for (int y = 0; y < ball.height; ++y) {
        for (int x = 0; x < ball.width; ++x) {
            const double radius = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            const int alpha = ball.at(x, y)[3];
            if (radius <= 60.0) {
                ASSERT_EQ(alpha, 255) << "at " << x << "," << y;
            } else if (radius >= 64.0) {
                ASSERT_EQ(alpha, 0) << "at " << x << "," << y;
            }
        }
    }
}

TEST_F(ObjectPictures, HeavierBlocksAreDarker) {
    double previous = 256.0;
    for (int weight = 1; weight <= 10; ++weight) {
        SCOPED_TRACE("weight " + std::to_string(weight));
        const pictures::RgbaPicture& block = generatedPicture(blockPath(weight));
        ASSERT_EQ(block.width, 32);
        const double bodyLuma = luma(blockBody(block));
        EXPECT_LT(bodyLuma, previous - 8.0);
        previous = bodyLuma;
    }
    // The scale spans from near white to deep dark, so a glance tells light from heavy.
    EXPECT_GE(luma(blockBody(generatedPicture(blockPath(1)))), 200.0);
    EXPECT_LE(luma(blockBody(generatedPicture(blockPath(10)))), 85.0);
}

TEST_F(ObjectPictures, EveryBlockShowsLargeNumerals) {
    for (int weight = 1; weight <= 10; ++weight) {
        SCOPED_TRACE("weight " + std::to_string(weight));
        const pictures::RgbaPicture& block = generatedPicture(blockPath(weight));
        ASSERT_EQ(block.width, 32);
        // Even the slim "1" covers a good share of the band; a missing or tiny numeral does not.
        EXPECT_GE(numeralInk(block), 0.12);
    }
    // "10" shows both digits: clearly more ink than "1" alone.
    EXPECT_GT(numeralInk(generatedPicture(blockPath(10))),
              numeralInk(generatedPicture(blockPath(1))) * 1.5);
}

TEST_F(ObjectPictures, BoardTopEdgeMatchesTheRowItWrapsOnto) {
    // With repeat wrapping the quad's top edge blends the first row with the last (unseen) one;
    // they must match or the board gets a stray line along its top.
    const pictures::RgbaPicture& board = generatedPicture("Kuvat/Objektit/lauta.jpg");
    ASSERT_EQ(board.height, 32);
    EXPECT_LE(distance(meanOf(board, 0, board.width - 1, 0, 0),
                       meanOf(board, 0, board.width - 1, board.height - 1, board.height - 1)),
              30.0);
}

} // namespace
} // namespace picture_checks
