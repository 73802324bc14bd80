// A folder whose lock cannot be had, as on a file system without locks (some network and FUSE
// ones): each system makes it its own way (posix_refused_folder_locks.cpp,
// win32_refused_folder_locks.cpp).
#pragma once

namespace refused_locks {

// From now on the saves this thread makes in the working folder find its lock refused. It cannot
// be undone everywhere: call it on a thread of the test's own, in a folder of the test's own.
void refuseFolderLocksOnThisThread();

} // namespace refused_locks
