#include "support/gl_driver_frames.h"

#include <dlfcn.h>
#include <execinfo.h>

#include <cstring>
#include <initializer_list>

namespace {

bool isGlDriverLibrary(const char* path) {
    for (const char* name : {"_dri.so", "libLLVM", "libgallium", "libGLX", "libEGL", "libglapi"}) {
        if (std::strstr(path, name) != nullptr) {
            return true;
        }
    }
    return false;
}

} // namespace

void prepareGlDriverCheck() {
    void* warmUp[1];
    backtrace(warmUp, 1);
}

bool calledFromGlDriver() {
    void* frames[64];
    const int depth = backtrace(frames, 64);
    for (int i = 0; i < depth; ++i) {
        Dl_info library;
        if (dladdr(frames[i], &library) != 0 && library.dli_fname != nullptr &&
            isGlDriverLibrary(library.dli_fname)) {
            return true;
        }
    }
    return false;
}
