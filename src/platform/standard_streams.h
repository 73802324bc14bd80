// The standard streams, below the seam. Run before anything opens a file.
#pragma once

namespace platform {

// Makes standard input, output and error usable for the whole run. POSIX: a stream a launcher
// left closed is put on /dev/null, so that no file of the game ever takes its number (what is
// written to standard error would land in it); writing to it still fails, as to a closed stream.
// Win32: a windowed program started from a console writes there (--help, --version, errors) unless
// its output was already sent elsewhere.
void openStandardStreams();

} // namespace platform
