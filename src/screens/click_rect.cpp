#include "screens/screens.h"
#include "shell/shell.h"

bool clickedIn(const ClickRect& rect) {
    return clickLatch && clickPos.x > rect.left && clickPos.x < rect.right &&
           clickPos.y > rect.top && clickPos.y < rect.bottom;
}
