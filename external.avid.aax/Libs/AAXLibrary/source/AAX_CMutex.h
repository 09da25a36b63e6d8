#pragma once
// The library's only lock, on a platform mutex. Re-entrant for its owner thread without a
// count: a nested Lock on the holding thread neither waits nor takes the mutex again.

#include <atomic>
#include <cstdint>

class AAX_CMutex {
public:
    // A new mutex, or null when the platform cannot make one.
    static AAX_CMutex* Create();
    AAX_CMutex(const AAX_CMutex&) = delete;
    AAX_CMutex& operator=(const AAX_CMutex&) = delete;
    ~AAX_CMutex();

    // Whether this call took the mutex (false when the calling thread already holds it).
    bool Lock();
    // Only after a Lock that returned true, on the same thread.
    void Unlock();

private:
    explicit AAX_CMutex(void* handle) : mHandle(handle) {}

    std::atomic<uint32_t> mOwner{0}; // thread id of the holder; 0 when free
    void* mHandle;
};

// Holds a mutex (when there is one) from construction to destruction, on every exit path.
class AAX_StLock_Guard {
public:
    explicit AAX_StLock_Guard(AAX_CMutex* mutex) : mMutex(mutex), mTook(mutex && mutex->Lock()) {}
    AAX_StLock_Guard(const AAX_StLock_Guard&) = delete;
    AAX_StLock_Guard& operator=(const AAX_StLock_Guard&) = delete;
    ~AAX_StLock_Guard() {
        if (mTook)
            mMutex->Unlock();
    }

private:
    AAX_CMutex* mMutex;
    bool mTook;
};
