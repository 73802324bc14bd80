// Preloaded into the game under test: pins Mesa's GL driver for the whole process, as the test
// programs of the other rings do, so that the driver's own leftovers at exit carry its name and
// the leak suppressions pass over them instead of reporting them from an unloaded module.
#include "support/gl_driver_pin.h"

namespace {

__attribute__((constructor)) void pinGlDriverAtLoad() {
    pinGlDriverForLeakReports();
}

} // namespace
