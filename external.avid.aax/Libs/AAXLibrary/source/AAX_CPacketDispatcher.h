#pragma once
// Turns confirmed parameter changes into data packets for the host's processing side: each
// row ties a parameter identifier to a packet and to a handler that fills it. SetDirty (any
// thread) marks a parameter's packets; Dispatch (from GenerateCoefficients) fills and posts
// the dirty ones through the controller. Both run under the dispatcher's mutex.

#include "AAX.h"
#include "AAX_CMutex.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class AAX_IController;
class AAX_IEffectParameters;

class AAX_CPacket {
public:
    explicit AAX_CPacket(int32_t fieldIndex) : mFieldIndex(fieldIndex), mData(1, 0) {}

    int32_t GetID() const { return mFieldIndex; }
    bool IsDirty() const { return mDirty; }
    void SetDirty(bool dirty) { mDirty = dirty; }
    uint32_t GetSize() const { return static_cast<uint32_t>(mData.size()); }
    const void* GetData() const { return mData.data(); }
    // The contents as one T; the packet is resized to hold exactly it.
    template <class T> T* GetPtr() {
        mData.assign(sizeof(T) ? sizeof(T) : 1, 0);
        return reinterpret_cast<T*>(mData.data());
    }

private:
    int32_t mFieldIndex;
    bool mDirty = false;
    std::vector<unsigned char> mData; // never empty
};

class AAX_CPacketDispatcher {
public:
    // Fills the packet for the identifier; 0 posts it.
    using Handler = std::function<AAX_Result(AAX_CParamID, AAX_CPacket&)>;

    AAX_CPacketDispatcher();
    AAX_CPacketDispatcher(const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator=(const AAX_CPacketDispatcher&) = delete;
    ~AAX_CPacketDispatcher();

    void Initialize(AAX_IController* controller, AAX_IEffectParameters* owner);
    // Adds a row: the field's packet is made on first use. Main thread, before processing.
    AAX_Result RegisterPacket(AAX_CParamID identifier, int32_t fieldIndex, Handler handler);
    AAX_Result SetDirty(AAX_CParamID identifier, bool dirty = true);
    AAX_Result Dispatch();

private:
    struct Row {
        AAX_CPacket* packet;
        Handler handler;
    };
    std::map<int32_t, AAX_CPacket*> mPackets;
    std::multimap<std::string, Row> mRows;
    AAX_IController* mController = nullptr;
    AAX_IEffectParameters* mOwner = nullptr;
    AAX_CMutex* mMutex;
};
