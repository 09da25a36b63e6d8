#include "vst/CPluginFactory.h"

#include <cstring>

namespace Steinberg {

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction createFunc,
                                   void* context) {
    if (!info || !createFunc)
        return false;
    ClassEntry entry;
    entry.info = *info;
    entry.infoW.fromAscii(*info);
    entry.createFunc = createFunc;
    entry.context = context;
    classes.push_back(entry);
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const {
    for (const ClassEntry& entry : classes)
        if (cid == FUID::fromTUID(entry.info.cid))
            return true;
    return false;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info) {
    if (!info)
        return kInvalidArgument;
    std::memcpy(info, &factoryInfo, sizeof(PFactoryInfo));
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() { return static_cast<int32>(classes.size()); }

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info) {
    if (!info || index < 0 || index >= countClasses())
        return kInvalidArgument;
    const PClassInfo2& ci = classes[index].info;
    *info = PClassInfo();
    std::memcpy(info->cid, ci.cid, sizeof(TUID));
    info->cardinality = ci.cardinality;
    std::memcpy(info->category, ci.category, sizeof(info->category));
    std::memcpy(info->name, ci.name, sizeof(info->name));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
    if (!info || index < 0 || index >= countClasses())
        return kInvalidArgument;
    std::memcpy(info, &classes[index].info, sizeof(PClassInfo2));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    if (!info || index < 0 || index >= countClasses())
        return kInvalidArgument;
    std::memcpy(info, &classes[index].infoW, sizeof(PClassInfoW));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid)
        return kInvalidArgument;
    for (const ClassEntry& entry : classes) {
        if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) != 0)
            continue;
        // The create function is the product's: whatever it throws stays here.
        FUnknown* instance = nullptr;
        try {
            instance = entry.createFunc(entry.context);
        } catch (...) {
            instance = nullptr;
        }
        if (!instance)
            return kOutOfMemory;
        tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk)
            *obj = nullptr;
        return result;
    }
    return kNoInterface;
}

tresult PLUGIN_API CPluginFactory::setHostContext(FUnknown*) { return kNotImplemented; }

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, IPluginFactory::iid, IPluginFactory)
    QUERY_INTERFACE(iid, obj, IPluginFactory2::iid, IPluginFactory2)
    QUERY_INTERFACE(iid, obj, IPluginFactory3::iid, IPluginFactory3)
    QUERY_INTERFACE(iid, obj, FUnknown::iid, IPluginFactory)
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef() { return static_cast<uint32>(++refCount); }

uint32 PLUGIN_API CPluginFactory::release() {
    int32 left = --refCount;
    if (left == 0) {
        delete this;
        return 0;
    }
    return static_cast<uint32>(left);
}

} // namespace Steinberg
