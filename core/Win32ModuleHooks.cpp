// The module's start and end hooks, run by the module entries on their outermost calls.
#include "ModuleEntry.h"

#include <objbase.h>

bool InitModule() {
    // S_FALSE (an apartment already started on this thread) counts as success.
    if (FAILED(CoInitialize(nullptr)))
        return false;
    return true;
}

bool DeinitModule() {
    CoUninitialize();
    return true;
}
