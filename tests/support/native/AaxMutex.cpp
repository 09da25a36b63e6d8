// The AAX mutex of the native test build, on a standard mutex with numbered threads.
#include "AAX_CMutex.h"

#include <mutex>

namespace {
uint32_t currentThread() {
    static std::atomic<uint32_t> next{1};
    thread_local const uint32_t id = next++;
    return id;
}
} // namespace

AAX_CMutex* AAX_CMutex::Create() {
    return new AAX_CMutex(new std::mutex);
}

AAX_CMutex::~AAX_CMutex() {
    delete static_cast<std::mutex*>(mHandle);
}

bool AAX_CMutex::Lock() {
    const uint32_t self = currentThread();
    if (mOwner.load() == self)
        return false;
    static_cast<std::mutex*>(mHandle)->lock();
    mOwner.store(self);
    return true;
}

void AAX_CMutex::Unlock() {
    if (mOwner.load() != currentThread())
        return;
    mOwner.store(0);
    static_cast<std::mutex*>(mHandle)->unlock();
}
