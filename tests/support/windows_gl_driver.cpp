// The GL driver as the tests see it on Windows. No leak checker runs there and no Mesa library is
// loaded by name, so nothing is pinned; and a driver (an ICD, or Wine's GL on the host's side)
// allocates with its own runtime, never through the program's operator new.
#include "support/gl_driver_frames.h"
#include "support/gl_driver_pin.h"

void pinGlDriverForLeakReports() {}

void prepareGlDriverCheck() {}

bool calledFromGlDriver() {
    return false;
}
