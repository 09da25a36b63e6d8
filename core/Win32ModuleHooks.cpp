// The module's start and end hooks, run by the module entries on their outermost calls.
#include "vst/ModuleEntry.h"
#include "core/FactoryPresetExport.h"

#include <objbase.h>

namespace {
// Successful COM starts not yet ended, per thread, since COM is started per thread. A start
// that did not succeed must not be ended: that would undo the host's own start on its thread,
// and so would an end on a thread this module never started.
thread_local int comStarts = 0;
} // namespace

bool InitModule() {
    // S_FALSE (an apartment already started on this thread) counts as success.
    // RPC_E_CHANGED_MODE means the host's thread is already in the multithreaded apartment:
    // COM is usable, but this call started nothing that could be ended.
    const HRESULT result = CoInitialize(nullptr);
    if (SUCCEEDED(result))
        ++comStarts;
    else if (result != RPC_E_CHANGED_MODE)
        return false;
    // The export needs nothing of an apartment, so it runs on such a thread too.
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
