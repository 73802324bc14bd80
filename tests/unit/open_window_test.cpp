#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cctype>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace {

using scripted::script;
using scripted::WindowStep;

int openGameWindow() {
    return openWindow("Tolvar", 1024, 768, 32, true);
}

int positionOf(const std::string& call) {
    const std::vector<std::string>& calls = script().calls;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i] == call) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

struct FailingStep {
    WindowStep step;
    const char* message;
};

class OpenWindowFailureTest : public ::testing::TestWithParam<FailingStep> {};

TEST_P(OpenWindowFailureTest, TearsDownThenSaysWhichStepFailedAndTheRunFails) {
    script().failingSteps = {GetParam().step};
    EXPECT_EQ(scripted::runGameWith([](int) { scripted::requestClose(); }), 1);

    ASSERT_EQ(script().boxes.size(), 1u);
    EXPECT_EQ(script().boxes[0].text, GetParam().message);
    EXPECT_EQ(script().boxes[0].caption, "ERROR");
    EXPECT_EQ(script().boxes[0].buttons, platform::MessageBoxButtons::Ok);
    EXPECT_EQ(script().boxes[0].icon, platform::MessageBoxIcon::Exclamation);
    // The desktop comes back before the message: full screen left, class gone, box last.
    const int box = positionOf(std::string("box ERROR: ") + GetParam().message);
    EXPECT_LT(positionOf("leaveFullscreenMode"), box);
    EXPECT_LT(positionOf("unregisterWindowClass"), box);
    EXPECT_EQ(script().cursorCount, 0);
    // Nothing after the failure: no sound, no frame.
    EXPECT_EQ(scripted::countCalls("startSoundOutput"), 0);
    EXPECT_EQ(script().presentedFrames, 0);
}

std::string stepName(const ::testing::TestParamInfo<FailingStep>& info) {
    std::string name;
    for (const char* c = info.param.message; *c != '\0'; ++c) {
        if (std::isalpha(static_cast<unsigned char>(*c))) {
            name += *c;
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryStepAfterTheWindowExists, OpenWindowFailureTest,
    ::testing::Values(
        FailingStep{WindowStep::CreateWindow, "Window Creation Error."},
        FailingStep{WindowStep::DeviceContext, "Can't Create A GL Device Context."},
        FailingStep{WindowStep::ChoosePixelFormat, "Can't Find A Suitable PixelFormat."},
        FailingStep{WindowStep::SetPixelFormat, "Can't Set The PixelFormat."},
        FailingStep{WindowStep::CreateContext, "Can't Create A GL Rendering Context."},
        FailingStep{WindowStep::MakeCurrent, "Can't Activate The GL Rendering Context."}),
    stepName);

TEST(OpenWindowTest, NoDisplayIsSaidAndTheRunFailsBeforeAnythingIsMade) {
    script().failingSteps = {WindowStep::FindDisplay};
    EXPECT_EQ(scripted::runGameWith([](int) { scripted::requestClose(); }), 1);
    ASSERT_EQ(script().boxes.size(), 1u);
    EXPECT_EQ(script().boxes[0].caption, "ERROR");
    EXPECT_NE(script().boxes[0].text.find("No Display Found"), std::string::npos);
    EXPECT_EQ(scripted::countCalls("registerWindowClass"), 0);
    EXPECT_EQ(scripted::countCalls("window "), 0);
}

TEST(OpenWindowTest, AFailedClassRegistrationHasNothingToTearDown) {
    script().failingSteps = {WindowStep::RegisterClass};
    EXPECT_EQ(openGameWindow(), 0);
    ASSERT_EQ(script().boxes.size(), 1u);
    EXPECT_EQ(script().boxes[0].text, "Failed To Register The Window Class.");
    EXPECT_EQ(scripted::countCalls("destroyWindow"), 0);
    EXPECT_EQ(scripted::countCalls("unregisterWindowClass"), 0);
}

TEST(OpenWindowTest, RefusedFullScreenAnsweredNoClosesWithoutTeardownMessages) {
    script().failingSteps = {WindowStep::FullscreenMode};
    script().boxAnswers = {platform::MessageBoxAnswer::No};
    EXPECT_EQ(scripted::runGameWith([](int) { scripted::requestClose(); }), 0);
    ASSERT_EQ(script().boxes.size(), 2u);
    EXPECT_EQ(script().boxes[0].caption, "Ravu GL");
    EXPECT_EQ(script().boxes[0].text, "The Requested Fullscreen Mode Is Not Supported By\n"
                                      "Your Video Card. Use Windowed Mode Instead?");
    EXPECT_EQ(script().boxes[0].buttons, platform::MessageBoxButtons::YesNo);
    EXPECT_EQ(script().boxes[0].icon, platform::MessageBoxIcon::Exclamation);
    EXPECT_EQ(script().boxes[1].text, "Program Will Now Close.");
    EXPECT_EQ(script().boxes[1].caption, "ERROR");
    EXPECT_EQ(script().boxes[1].icon, platform::MessageBoxIcon::Error);
    EXPECT_EQ(scripted::countCalls("window "), 0);
    EXPECT_EQ(scripted::countCalls("destroyWindow"), 0);
}

TEST(OpenWindowTest, AQuestionThatCouldNotBeShownCountsAsNo) {
    script().failingSteps = {WindowStep::FullscreenMode};
    script().boxAnswers = {platform::MessageBoxAnswer::NotShown};
    EXPECT_EQ(openGameWindow(), 0);
    EXPECT_EQ(script().boxes.back().text, "Program Will Now Close.");
}

TEST(OpenWindowTest, RefusedFullScreenAnsweredYesRunsInAWindowWithTheCursorShown) {
    script().failingSteps = {WindowStep::FullscreenMode};
    script().boxAnswers = {platform::MessageBoxAnswer::Yes};
    ASSERT_EQ(openGameWindow(), 1);
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(scripted::countCalls("window Tolvar 1024x768 windowed"), 1);
    EXPECT_EQ(script().cursorCount, 0);
    closeWindow();
    EXPECT_EQ(scripted::countCalls("leaveFullscreenMode"), 0);
    EXPECT_TRUE(script().boxes.size() == 1u);
}

TEST(OpenWindowTest, FullScreenHidesTheCursorAndShutdownGivesItBack) {
    ASSERT_EQ(openGameWindow(), 1);
    EXPECT_TRUE(fullscreen);
    EXPECT_EQ(scripted::countCalls("window Tolvar 1024x768 fullscreen"), 1);
    EXPECT_EQ(scripted::countCalls("pixelFormat 32/16"), 1);
    EXPECT_EQ(script().cursorCount, -1);
    closeWindow();
    EXPECT_EQ(script().cursorCount, 0);
    EXPECT_TRUE(script().boxes.empty());
}

TEST(OpenWindowTest, TheFullScreenToggleSwitchesBothWaysAndARefusedSwitchChangesNothing) {
    ASSERT_EQ(openGameWindow(), 1);
    windowProc({platform::MessageKind::FullscreenToggle});
    EXPECT_FALSE(fullscreen);
    windowProc({platform::MessageKind::FullscreenToggle});
    EXPECT_TRUE(fullscreen);
    EXPECT_EQ(scripted::callsFrom("setFullscreen"),
              (std::vector<std::string>{"setFullscreen off", "setFullscreen on"}));
    script().failingSteps = {WindowStep::SetFullscreen};
    windowProc({platform::MessageKind::FullscreenToggle});
    EXPECT_TRUE(fullscreen);
    closeWindow();
}

TEST(OpenWindowTest, AFailedTeardownStepIsReportedAndTheTeardownGoesOn) {
    ASSERT_EQ(openGameWindow(), 1);
    script().failingSteps = {WindowStep::DestroyWindow, WindowStep::ReleaseContext};
    closeWindow();
    ASSERT_EQ(script().boxes.size(), 2u);
    EXPECT_EQ(script().boxes[0].text, "Release Of DC And RC Failed.");
    EXPECT_EQ(script().boxes[1].text, "Could Not Release hWnd.");
    EXPECT_EQ(script().boxes[1].caption, "SHUTDOWN ERROR");
    EXPECT_EQ(script().boxes[1].icon, platform::MessageBoxIcon::Information);
    EXPECT_LT(positionOf("box SHUTDOWN ERROR: Could Not Release hWnd."),
              positionOf("unregisterWindowClass"));
}

TEST(OpenWindowTest, RenderStateAfterOpening) {
    ASSERT_EQ(openGameWindow(), 1);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    EXPECT_NE(fontTexture, 0u);
    closeWindow();
}

class ResizeViewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(openGameWindow(), 1); }
    void TearDown() override { closeWindow(); }
    static std::vector<GLint> glViewportNow() {
        std::vector<GLint> box(4);
        glGetIntegerv(GL_VIEWPORT, box.data());
        return box;
    }
};

TEST_F(ResizeViewTest, AZeroHeightGivesAViewportOfHeightOne) {
    resizeView(1024, 0);
    EXPECT_EQ(viewport.height, 1);
    EXPECT_EQ(glViewportNow()[3], 1);
}

TEST_F(ResizeViewTest, AWideClientAreaKeepsTheSpaceFourByThreeAndCentred) {
    resizeView(1920, 1080);
    EXPECT_EQ(glViewportNow(), (std::vector<GLint>{240, 0, 1440, 1080}));
    // Clicks go through the same letterbox.
    const ClickPoint centre = drawingPointFromPixels({240 + 720, 540});
    EXPECT_EQ(centre.x, 512);
    EXPECT_EQ(centre.y, 384);
    EXPECT_LT(drawingPointFromPixels({100, 540}).x, 0);
}

TEST_F(ResizeViewTest, ATallClientAreaGetsBarsAboveAndBelow) {
    resizeView(800, 1000);
    EXPECT_EQ(glViewportNow(), (std::vector<GLint>{0, 200, 800, 600}));
    const ClickPoint corner = drawingPointFromPixels({799, 799});
    EXPECT_EQ(corner.x, 1022);
    EXPECT_EQ(corner.y, 766);
}

TEST_F(ResizeViewTest, TheProjectionIsTheFixedDrawingSpace) {
    resizeView(640, 480);
    GLdouble projection[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(static_cast<float>(projection[0]), 2.0f / 1024.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(projection[5]), -2.0f / 768.0f);
    EXPECT_DOUBLE_EQ(projection[12], -1.0);
    EXPECT_DOUBLE_EQ(projection[13], 1.0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST(ResizeViewWithoutContextTest, ASizeBeforeTheContextOnlyKeepsTheMapping) {
    resizeView(2048, 1536);
    EXPECT_EQ(viewport.width, 2048);
    const ClickPoint point = drawingPointFromPixels({1024, 768});
    EXPECT_EQ(point.x, 512);
    EXPECT_EQ(point.y, 384);
}

} // namespace
