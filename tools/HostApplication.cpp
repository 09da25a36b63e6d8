#include "HostApplication.h"

#include "TextConversion.h"

namespace SorvTools {

using namespace Steinberg;

tresult PLUGIN_API HostApplication::getName(Vst::String128 name) {
    copyToString128(kName, name);
    return kResultOk;
}

tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj) {
    *obj = nullptr;
    return kResultFalse;
}

tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, Vst::IHostApplication::iid)) {
        addRef();
        *obj = static_cast<Vst::IHostApplication*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace SorvTools
