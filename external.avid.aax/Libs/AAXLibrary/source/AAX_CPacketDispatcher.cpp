#include "AAX_CPacketDispatcher.h"

#include "AAX_IController.h"

AAX_CPacketDispatcher::AAX_CPacketDispatcher() : mMutex(AAX_CMutex::Create()) {}

AAX_CPacketDispatcher::~AAX_CPacketDispatcher() {
    {
        AAX_StLock_Guard lock(mMutex);
        for (auto& packet : mPackets)
            delete packet.second;
        mPackets.clear();
        mRows.clear();
    }
    delete mMutex;
}

void AAX_CPacketDispatcher::Initialize(AAX_IController* controller, AAX_IEffectParameters* owner) {
    AAX_StLock_Guard lock(mMutex);
    mController = controller;
    mOwner = owner;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID identifier, int32_t fieldIndex,
                                                 Handler handler) {
    if (!identifier || !handler)
        return AAX_ERROR_NULL_ARGUMENT;
    AAX_StLock_Guard lock(mMutex);
    AAX_CPacket*& packet = mPackets[fieldIndex];
    if (!packet)
        packet = new AAX_CPacket(fieldIndex);
    mRows.emplace(identifier, Row{packet, std::move(handler)});
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID identifier, bool dirty) {
    if (!identifier)
        return AAX_SUCCESS;
    AAX_StLock_Guard lock(mMutex);
    const auto range = mRows.equal_range(identifier);
    for (auto row = range.first; row != range.second; ++row)
        row->second.packet->SetDirty(dirty);
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::Dispatch() {
    AAX_StLock_Guard lock(mMutex);
    AAX_Result result = AAX_SUCCESS;
    for (auto& row : mRows) {
        AAX_CPacket& packet = *row.second.packet;
        if (!packet.IsDirty())
            continue;
        if (row.second.handler(row.first.c_str(), packet) == AAX_SUCCESS && mController)
            result = mController->PostPacket(packet.GetID(), packet.GetData(), packet.GetSize());
        packet.SetDirty(false);
    }
    return result;
}
