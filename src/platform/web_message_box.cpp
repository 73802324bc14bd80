// Message boxes in the browser: its own alert and confirm, which hold the page until answered.
// The caption leads the text, since neither box has a title of its own.
#include <emscripten/emscripten.h>

#include "platform/platform.h"

namespace {

// clang-format off
EM_JS(void, showAlert, (const char* caption, const char* text), {
    alert(UTF8ToString(caption) + "\n\n" + UTF8ToString(text));
});

EM_JS(int, askConfirm, (const char* caption, const char* text), {
    return confirm(UTF8ToString(caption) + "\n\n" + UTF8ToString(text)) ? 1 : 0;
});
// clang-format on

} // namespace

namespace platform {

MessageBoxAnswer showMessageBox(const char* text, const char* caption, MessageBoxButtons buttons,
                                MessageBoxIcon) {
    const char* shownText = text != nullptr ? text : "";
    const char* shownCaption = caption != nullptr ? caption : "";
    if (buttons == MessageBoxButtons::YesNo) {
        return askConfirm(shownCaption, shownText) != 0 ? MessageBoxAnswer::Yes
                                                        : MessageBoxAnswer::No;
    }
    showAlert(shownCaption, shownText);
    return MessageBoxAnswer::Ok;
}

} // namespace platform
