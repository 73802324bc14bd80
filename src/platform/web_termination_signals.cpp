// A page is closed by the browser without asking the game: there are no termination requests to
// watch. Progress and settings are in storage from the moment they were recorded.
#include "platform/termination_signals.h"

namespace termination_signals {

void watch() {}

} // namespace termination_signals
