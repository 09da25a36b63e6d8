#include "ModuleEntry.h"

#include "pluginterfaces/base/ftypes.h"

namespace {
// Hosts call the entries on their main thread only.
Steinberg::int32 moduleCounter = 0;
} // namespace

extern "C" {

bool InitDll() {
    if (++moduleCounter == 1)
        return InitModule();
    return true;
}

bool ExitDll() {
    // An unbalanced call must not drive the count negative, or the next InitDll would
    // never start the module again.
    if (moduleCounter <= 0)
        return false;
    if (--moduleCounter == 0)
        return DeinitModule();
    return true;
}

} // extern "C"
