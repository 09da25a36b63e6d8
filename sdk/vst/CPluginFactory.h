#pragma once
// The module's class factory: a list of class records, each with the function that
// creates its objects; served through IPluginFactory, IPluginFactory2 and IPluginFactory3.

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <vector>

namespace Steinberg {

class CPluginFactory : public IPluginFactory3 {
public:
    using CreateFunction = FUnknown* (*)(void* context);

    explicit CPluginFactory(const PFactoryInfo& info);
    virtual ~CPluginFactory() = default;

    bool registerClass(const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);
    bool isClassRegistered(const FUID& cid) const;

    // IPluginFactory
    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) SMTG_OVERRIDE;
    int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
    tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) SMTG_OVERRIDE;
    tresult PLUGIN_API createInstance(FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;
    // IPluginFactory2
    tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) SMTG_OVERRIDE;
    // IPluginFactory3
    tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) SMTG_OVERRIDE;
    tresult PLUGIN_API setHostContext(FUnknown* context) SMTG_OVERRIDE;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
    uint32 PLUGIN_API release() SMTG_OVERRIDE;

protected:
    std::atomic<int32> refCount{1};

private:
    struct ClassEntry {
        PClassInfo2 info;
        PClassInfoW infoW;
        CreateFunction createFunc;
        void* context;
    };

    PFactoryInfo factoryInfo;
    std::vector<ClassEntry> classes;
};

} // namespace Steinberg
