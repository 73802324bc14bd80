#include <GL/gl.h>

#include "support/game_fixture.h"

namespace {

using CrossfadeTest = ScriptedGameTest;

TEST_F(CrossfadeTest, AtOneFramePerPassAFadeTakesFiftyOnePasses) {
    Crossfade(menuTexture, helpTexture);
    EXPECT_EQ(scripted::script().presentedFrames, 51);
    EXPECT_NEAR(fadeIn, 1.02, 1e-5);
    EXPECT_NEAR(fadeOut, -0.02, 1e-5);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(CrossfadeTest, FiftyPassesFallJustShortOfOpaque) {
    // Each pass adds the float step in double and stores the sum as a float.
    float sum = 0.0f;
    for (int pass = 0; pass < 50; ++pass) {
        sum = static_cast<float>(static_cast<double>(sum) + FadeStep);
    }
    EXPECT_LT(sum, 1.0f);
    EXPECT_NEAR(sum, 0.99999958, 1e-7);
}

TEST_F(CrossfadeTest, AStallBeforeTheFirstPassEndsTheFadeInThatPass) {
    scripted::script().counter += 50 * scripted::script().ticksPerPresentedFrame;
    LevelCrossfade(playMenuTexture, 1);
    EXPECT_EQ(scripted::script().presentedFrames, 1);
    EXPECT_GE(fadeIn, 1.0f);
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA); // until the level's first frame
}

TEST_F(CrossfadeTest, AtTwoFramesPerPassItTakesHalfAsManyPasses) {
    scripted::script().ticksPerPresentedFrame = 200'000;
    Crossfade(menuTexture, helpTexture);
    EXPECT_EQ(scripted::script().presentedFrames, 26);
}

// The game is being ended by a signal: a fade under way stops after the pass it is in.
TEST_F(CrossfadeTest, ATerminationSignalEndsBothFadesAfterOnePass) {
    scripted::script().watchingTerminationSignals = true;
    scripted::script().onPresent = [](int) { scripted::script().terminationSignal = true; };
    Crossfade(menuTexture, helpTexture);
    EXPECT_EQ(scripted::script().presentedFrames, 1);
    LevelCrossfade(playMenuTexture, 1);
    EXPECT_EQ(scripted::script().presentedFrames, 2);
    scripted::script().onPresent = nullptr;
}

TEST_F(CrossfadeTest, TheLevelsFirstFrameRestoresTheAdditiveBlend) {
    LevelCrossfade(playMenuTexture, 2);
    dealSeeded(2);
    drawLevelScene(2);
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(destination, GL_ONE);
}

} // namespace
