#include "core/ClassFactory.h"

#include "vst/CPluginFactory.h"
#include "base/source/updatehandler.h"
#include "core/ProductInfo.h"
#include "engine/QUOR515Ids.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace SorvLib {

namespace {
constexpr Steinberg::int32 kProcessorPrefix = 0x565354;  // "VST"
constexpr Steinberg::int32 kControllerPrefix = 0x565345; // "VSE"
constexpr int kNameBytes = 9;
} // namespace

Steinberg::FUID convertVst2UidToFuid(Steinberg::int32 vst2Id, const char* name, bool controller) {
    char text[40];
    std::snprintf(text, sizeof(text), "%06X%08X", controller ? kControllerPrefix : kProcessorPrefix,
                  static_cast<unsigned>(vst2Id));
    std::string digits = text;
    const size_t length = name ? std::strlen(name) : 0;
    for (int i = 0; i < kNameBytes; ++i) {
        int byte = i < static_cast<int>(length) ? static_cast<signed char>(name[i]) : 0;
        if (byte >= 'A' && byte <= 'Z')
            byte += 'a' - 'A';
        std::snprintf(text, sizeof(text), "%02X", byte & 0xFF);
        digits += text;
    }
    Steinberg::FUID uid;
    uid.fromString(digits.c_str());
    return uid;
}

const Steinberg::FUID kProcessorUID =
    convertVst2UidToFuid(static_cast<Steinberg::int32>(kVst2UniqueId), kProductName, false);

} // namespace SorvLib

namespace {

class ModuleFactory;
// One factory per process, shared by every GetPluginFactory; its reference count governs it.
// Hosts may ask for it on several threads at once: the pointer, and the step of the count
// that may end the factory, change under one lock.
ModuleFactory* gFactory = nullptr;

std::mutex& factoryLock() {
    static std::mutex lock;
    return lock;
}

// Forgets itself when its last reference goes, so a host that releases the factory and asks
// again gets a new one instead of a dangling pointer.
class ModuleFactory : public Steinberg::CPluginFactory {
public:
    using CPluginFactory::CPluginFactory;
    Steinberg::uint32 PLUGIN_API release() override {
        {
            std::lock_guard<std::mutex> lock(factoryLock());
            if (refCount > 1)
                return static_cast<Steinberg::uint32>(--refCount);
            if (gFactory == this)
                gFactory = nullptr;
        }
        delete this;
        return 0;
    }
};

Steinberg::IPluginFactory* makeFactory() {
    using namespace Steinberg;
    static const PFactoryInfo factoryInfo(SorvLib::kVendorName, SorvLib::kVendorUrl,
                                          SorvLib::kVendorEmail, PFactoryInfo::kUnicode);
    auto* factory = new ModuleFactory(factoryInfo);
    // Every effect's constructor asks for the SDK's update handler, which the SDK makes on
    // first use without a lock; made here, before any effect, threads only read it.
    UpdateHandler::instance();

    static PClassInfo2 classInfo;
    static bool classInfoBuilt = false;
    if (!classInfoBuilt) {
        TUID cid;
        SorvLib::kProcessorUID.toTUID(cid);
        classInfo = PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass,
                                SorvLib::kProductName, 0, SorvLib::kSubCategories, "",
                                SorvLib::kClassVersion, SorvLib::kSdkVersionText);
        classInfoBuilt = true;
    }
    try {
        factory->registerClass(&classInfo, &SorvLib::createInstance, nullptr);
    } catch (...) {
        delete factory;
        throw;
    }
    gFactory = factory;
    return factory;
}

} // namespace

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
    try {
        std::lock_guard<std::mutex> lock(factoryLock());
        if (gFactory) {
            gFactory->addRef();
            return gFactory;
        }
        return makeFactory();
    } catch (...) {
        return nullptr;
    }
}
