// What the two POSIX sides of files.h share (posix_files.cpp on Linux, web_files.cpp in the
// browser): the handles, opening, reading and the status of a file, in posix_file_handles.cpp.
// Only the durable replace, the folder lock and links differ between them.
#pragma once

#include <cstddef>

#include "platform/files.h"

namespace platform {

int descriptorOf(const FileHandle& file);

// All `count` bytes to the descriptor, again where a signal cut a write short: false when the
// system refused one, errno saying why.
bool writeAll(int descriptor, const char* bytes, std::size_t count);

} // namespace platform
