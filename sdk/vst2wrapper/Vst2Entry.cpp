#include "vst2wrapper/Vst2Entry.h"

#include "vst/ModuleEntry.h"
#include "vst2/AudioEffect.h"

extern "C" {

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    if (!InitModule())
        return nullptr;
    AudioEffect* effect = createEffectInstance(audioMaster);
    if (!effect) {
        // Only a made effect ends the module start at its end; this one never will.
        DeinitModule();
        return nullptr;
    }
    return effect->getAeffect();
}

AEffect* MAIN(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}

} // extern "C"
