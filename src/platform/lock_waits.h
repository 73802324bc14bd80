// Below the seam: how each system's lockFolderOf tells the watcher set by watchLockWaits.
#pragma once

namespace platform {

void tellLockWaitBegins(); // nothing when no watcher is set

} // namespace platform
