#include "vst/ModuleEntry.h"

#include "pluginterfaces/base/ftypes.h"

#include <mutex>

namespace {
// Hosts that scan or load in parallel may enter from several threads at once; the count and
// the start and end hooks it guards change under one lock.
std::mutex& entryLock() {
    static std::mutex lock;
    return lock;
}
Steinberg::int32 moduleCounter = 0;
} // namespace

extern "C" {

bool InitDll() {
    try {
        std::lock_guard<std::mutex> lock(entryLock());
        if (++moduleCounter == 1)
            return InitModule();
        return true;
    } catch (...) {
        return false;
    }
}

bool ExitDll() {
    try {
        std::lock_guard<std::mutex> lock(entryLock());
        // An unbalanced call must not drive the count negative, or the next InitDll would
        // never start the module again.
        if (moduleCounter <= 0)
            return false;
        if (--moduleCounter == 0)
            return DeinitModule();
        return true;
    } catch (...) {
        return false;
    }
}

} // extern "C"
