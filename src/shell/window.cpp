#include <GL/gl.h>

#include <string>

#include "assets/assets.h"
#include "shell/shell.h"

bool fullscreen = true;
Viewport viewport;
WindowSize windowedSize;
bool windowDeclined = false;

namespace {

constexpr const char* ErrorCaption = "ERROR";
constexpr const char* ShutdownErrorCaption = "SHUTDOWN ERROR";
constexpr const char* FullscreenQuestion = "The Requested Fullscreen Mode Is Not Supported "
                                           "By\nYour Video Card. Use Windowed Mode Instead?";

// What the window code holds between openWindow and closeWindow.
bool windowClassRegistered = false;
bool windowHeld = false;
bool deviceContextHeld = false;
bool renderingContextHeld = false;

// The variable part of the pixel format request, written by the first openWindow only.
struct PixelFormatRequest {
    bool written = false;
    int colourBits = 0;
    int depthBits = 0;
};
PixelFormatRequest pixelFormatRequest;

void showStartupError(const char* text) {
    platform::showMessageBox(text, ErrorCaption, platform::MessageBoxButtons::Ok,
                             platform::MessageBoxIcon::Exclamation);
}

void showShutdownError(const char* text) {
    platform::showMessageBox(text, ShutdownErrorCaption, platform::MessageBoxButtons::Ok,
                             platform::MessageBoxIcon::Information);
}

// A failure after the window exists: everything is torn down first, so the desktop is back
// before the player reads the message.
int failOpenWindow(const char* text) {
    closeWindow();
    showStartupError(text);
    return 0;
}

// A driver asked for by name that reaches no desktop is the driver's fault, not DISPLAY's.
void showNoDisplay() {
    const char* asked = platform::askedVideoDriver();
    if (asked == nullptr) {
        showStartupError(platform::noDisplayText());
        return;
    }
    const std::string text = "No Display Found: The Video Driver " + quotedText(asked, 32) +
                             "\n(Named By SDL_VIDEODRIVER) Reaches No Desktop.";
    showStartupError(text.c_str());
}

// The client area the game makes for a wanted one: never larger than the usable screen, in the
// same shape. The wanted size stays the player's, for a screen that fits it.
WindowSize fittedToScreen(WindowSize wanted) {
    int usableWidth = 0;
    int usableHeight = 0;
    if (!platform::usableScreenSize(usableWidth, usableHeight) ||
        (wanted.width <= usableWidth && wanted.height <= usableHeight)) {
        return wanted;
    }
    const long long width = wanted.width;
    const long long height = wanted.height;
    if (width * usableHeight > height * usableWidth) {
        return {usableWidth, static_cast<int>(height * usableWidth / width)};
    }
    return {static_cast<int>(width * usableHeight / height), usableHeight};
}

} // namespace

int openWindow(const char* title, int width, int height, int bits, bool fullscreenFlag) {
    fullscreen = fullscreenFlag;
    windowDeclined = false;

    // Without a desktop SDL would fall back on a window nobody sees; the player is told instead.
    if (!platform::findDisplay()) {
        showNoDisplay();
        return 0;
    }
    if (!platform::registerWindowClass()) {
        showStartupError("Failed To Register The Window Class.");
        return 0;
    }
    windowClassRegistered = true;

    if (fullscreen) {
        if (platform::enterFullscreenMode(layout::screenWidth, layout::screenHeight)) {
            platform::showCursor(false);
        } else if (platform::showMessageBox(
                       FullscreenQuestion, "Ravu GL", platform::MessageBoxButtons::YesNo,
                       platform::MessageBoxIcon::Exclamation) == platform::MessageBoxAnswer::Yes) {
            fullscreen = false;
        } else {
            platform::showMessageBox("Program Will Now Close.", ErrorCaption,
                                     platform::MessageBoxButtons::Ok,
                                     platform::MessageBoxIcon::Error);
            windowDeclined = true;
            return 0;
        }
    }

    const WindowSize fitted = fittedToScreen({width, height});
    if (!platform::createWindow(title, fitted.width, fitted.height, fullscreen)) {
        return failOpenWindow("Window Creation Error.");
    }
    windowHeld = true;

    if (!pixelFormatRequest.written) {
        pixelFormatRequest = {true, bits, 16};
    }

    if (!platform::acquireDeviceContext()) {
        return failOpenWindow("Can't Create A GL Device Context.");
    }
    deviceContextHeld = true;
    if (!platform::choosePixelFormat(pixelFormatRequest.colourBits, pixelFormatRequest.depthBits)) {
        return failOpenWindow("Can't Find A Suitable PixelFormat.");
    }
    if (!platform::setPixelFormat()) {
        return failOpenWindow("Can't Set The PixelFormat.");
    }
    if (!platform::createRenderingContext()) {
        return failOpenWindow("Can't Create A GL Rendering Context.");
    }
    renderingContextHeld = true;
    if (!platform::makeRenderingContextCurrent()) {
        return failOpenWindow("Can't Activate The GL Rendering Context.");
    }

    platform::showWindow();
    resizeView(fitted.width, fitted.height);
    if (!initRenderState()) {
        return failOpenWindow("Initialization Failed.");
    }
    return 1;
}

void useSettings(const Settings& settings) {
    musicMuted = settings.musicMuted;
    fullscreen = settings.fullscreen;
    windowedSize = {settings.windowWidth, settings.windowHeight};
}

Settings settingsInUse() {
    return Settings{musicMuted, fullscreen, windowedSize.width, windowedSize.height};
}

void closeWindow() {
    saveSettings(settingsInUse(), WindowSizeSetting);
    if (fullscreen) {
        platform::leaveFullscreenMode();
        platform::showCursor(true);
    }
    if (renderingContextHeld) {
        if (!platform::releaseRenderingContext()) {
            showShutdownError("Release Of DC And RC Failed.");
        }
        if (!platform::deleteRenderingContext()) {
            showShutdownError("Release Rendering Context Failed.");
        }
        renderingContextHeld = false;
    }
    if (deviceContextHeld) {
        if (!platform::releaseDeviceContext()) {
            showShutdownError("Release Device Context Failed.");
        }
        deviceContextHeld = false;
    }
    if (windowHeld) {
        if (!platform::destroyWindow()) {
            showShutdownError("Could Not Release hWnd.");
        }
        windowHeld = false;
    }
    if (windowClassRegistered) {
        if (!platform::unregisterWindowClass()) {
            showShutdownError("Could Not Unregister Class.");
        }
        windowClassRegistered = false;
    }
    // No context is current any more: this finds nothing to delete.
    deleteFont();
}

void noteWindowedSize(int width, int height) {
    // Only the player's window: full screen's size is the desktop's, a window too small to show
    // the game is not kept, and the size the game gave a window to fit this screen leaves the one
    // wanted for a larger screen as it is.
    const WindowSize fitted = fittedToScreen(windowedSize);
    if (!fullscreen && width >= SmallestWindowWidth && height >= SmallestWindowHeight &&
        (width != fitted.width || height != fitted.height)) {
        windowedSize = {width, height};
    }
}

void resizeView(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    if (width == 0) {
        width = 1;
    }
    // The largest centred 4:3 rectangle: on a 4:3 client area the whole of it, elsewhere black
    // bars, so the ball stays round on any display.
    Viewport fitted;
    if (static_cast<long long>(width) * 3 > static_cast<long long>(height) * 4) {
        fitted.height = height;
        fitted.width = static_cast<int>((static_cast<long long>(height) * 4 + 1) / 3);
    } else {
        fitted.width = width;
        fitted.height = static_cast<int>((static_cast<long long>(width) * 3 + 2) / 4);
    }
    fitted.width = fitted.width > width ? width : fitted.width;
    fitted.height = fitted.height > height ? height : fitted.height;
    fitted.left = (width - fitted.width) / 2;
    fitted.top = (height - fitted.height) / 2;
    viewport = fitted;

    // A size message can arrive before the context exists; then only the mapping is kept.
    if (!platform::hasCurrentRenderingContext()) {
        return;
    }
    glViewport(fitted.left, height - fitted.top - fitted.height, fitted.width, fitted.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, layout::screenWidth, layout::screenHeight, 0.0, -50.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    fitFontToView();
}

void toggleFullscreen() {
    if (!windowHeld) {
        return;
    }
    // A Size message with the new drawable size follows; the view is laid out again from it.
    if (platform::setFullscreen(!fullscreen)) {
        fullscreen = !fullscreen;
        saveSettings(settingsInUse(), WindowSetting | WindowSizeSetting);
    }
}

int initRenderState() {
    // Smooth shading and the perspective hint are left at their defaults: the first is the
    // default, and every quad lies flat at z = 0, where the second changes nothing.
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    buildSmallFont();
    return 1;
}
