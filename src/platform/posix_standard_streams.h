// For the POSIX files below the seam: keeping the game's files off the standard streams' numbers.
#pragma once

namespace platform {

// A descriptor that took a standard stream's number anyway moves above them (close-on-exec);
// others, and -1, pass unchanged.
int aboveStandardStreams(int descriptor);

} // namespace platform
