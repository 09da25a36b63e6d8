// The module's VST 2.4 effect: the VST 3 effect of the class factory under the VST 2 wrapper.
#include "vst2wrapper/Vst2Entry.h"
#include "vst2wrapper/Vst2Wrapper.h"
#include "core/ClassFactory.h"
#include "engine/QUOR515Ids.h"

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    using namespace Steinberg;
    // VST 2 hosts show the plain parameter titles.
    Vst::Vst2Wrapper::setUnitPathInNames(false);
    IPluginFactory* factory = GetPluginFactory();
    if (!factory)
        return nullptr;
    TUID cid;
    SorvLib::kProcessorUID.toTUID(cid);
    AudioEffect* effect = Vst::Vst2Wrapper::create(
        factory, cid, static_cast<VstInt32>(SorvLib::kVst2UniqueId), audioMaster);
    // The wrapper holds the effect; the factory lives on while anyone else holds it.
    factory->release();
    return effect;
}
