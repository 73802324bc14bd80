#include <GL/gl.h>

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
constexpr const char* NoDisplayText = "No Display Found: Tolvar Needs An X11 Or Wayland "
                                      "Desktop\n(Neither DISPLAY Nor WAYLAND_DISPLAY "
                                      "Reaches One).";

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

} // namespace

int openWindow(const char* title, int width, int height, int bits, bool fullscreenFlag) {
    fullscreen = fullscreenFlag;
    windowDeclined = false;

    // Without a desktop SDL would fall back on a window nobody sees; the player is told instead.
    if (!platform::findDisplay()) {
        showStartupError(NoDisplayText);
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

    if (!platform::createWindow(title, width, height, fullscreen)) {
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
    resizeView(width, height);
    if (!initRenderState()) {
        return failOpenWindow("Initialization Failed.");
    }
    return 1;
}

void closeWindow() {
    saveSettings(WindowSizeSetting);
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
    // Only the player's window: full screen's size is the desktop's.
    if (!fullscreen && width > 0 && height > 0) {
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
        saveSettings(WindowSetting | WindowSizeSetting);
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
