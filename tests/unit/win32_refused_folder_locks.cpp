// A folder stands where the lock file goes: it cannot be opened as the lock, as a share that
// refuses the lock file cannot. It holds for every thread, which the tests' own folder allows.
#include <gtest/gtest.h>

#include <filesystem>

#include "unit/refused_folder_locks.h"

namespace refused_locks {

void refuseFolderLocksOnThisThread() {
    std::filesystem::remove("tolvar.lock"); // the lock file an earlier save left, held by none
    ASSERT_TRUE(std::filesystem::create_directory("tolvar.lock"));
}

} // namespace refused_locks
