// The module's start and end hooks, run by the module entries on their outermost calls.
#include "ModuleEntry.h"
#include "core/FactoryPresetExport.h"

#include <objbase.h>

namespace {
// Successful COM starts not yet ended. A failed start must not be ended: that would undo
// the host's own start on its thread.
int comStarts = 0;
} // namespace

bool InitModule() {
    // S_FALSE (an apartment already started on this thread) counts as success.
    if (FAILED(CoInitialize(nullptr)))
        return false;
    ++comStarts;
    SorvLib::exportFactoryPresets();
    return true;
}

bool DeinitModule() {
    if (comStarts > 0) {
        --comStarts;
        CoUninitialize();
    }
    return true;
}
