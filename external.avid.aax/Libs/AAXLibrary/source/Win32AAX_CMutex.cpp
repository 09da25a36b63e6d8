#include "AAX_CMutex.h"

#include <windows.h>

AAX_CMutex* AAX_CMutex::Create() {
    HANDLE handle = CreateMutexW(nullptr, FALSE, nullptr);
    return handle ? new AAX_CMutex(handle) : nullptr;
}

AAX_CMutex::~AAX_CMutex() {
    CloseHandle(static_cast<HANDLE>(mHandle));
}

bool AAX_CMutex::Lock() {
    const uint32_t self = GetCurrentThreadId();
    if (mOwner.load() == self)
        return false;
    WaitForSingleObject(static_cast<HANDLE>(mHandle), INFINITE);
    mOwner.store(self);
    return true;
}

void AAX_CMutex::Unlock() {
    if (mOwner.load() != GetCurrentThreadId())
        return;
    mOwner.store(0);
    ReleaseMutex(static_cast<HANDLE>(mHandle));
}
