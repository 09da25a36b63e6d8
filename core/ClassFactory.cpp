#include "core/ClassFactory.h"

#include "CPluginFactory.h"
#include "core/ProductInfo.h"
#include "engine/QUOR515Ids.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstdio>
#include <cstring>
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
ModuleFactory* gFactory = nullptr;

// Forgets itself on destruction, so a host that releases the factory and asks again gets a
// new one instead of a dangling pointer.
class ModuleFactory : public Steinberg::CPluginFactory {
public:
    using CPluginFactory::CPluginFactory;
    ~ModuleFactory() override {
        if (gFactory == this)
            gFactory = nullptr;
    }
};

} // namespace

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() {
    using namespace Steinberg;
    if (gFactory) {
        gFactory->addRef();
        return gFactory;
    }
    static const PFactoryInfo factoryInfo(SorvLib::kVendorName, SorvLib::kVendorUrl,
                                          SorvLib::kVendorEmail, PFactoryInfo::kUnicode);
    gFactory = new ModuleFactory(factoryInfo);

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
    gFactory->registerClass(&classInfo, &SorvLib::createInstance, nullptr);
    return gFactory;
}
