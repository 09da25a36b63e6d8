#pragma once
// The VST 2.4 entry: VST 2 hosts call VSTPluginMain (older ones MAIN) with their callback and
// receive the effect's record.

#include "vst2/AEffect.h"

class AudioEffect;

extern "C" {
// Main thread. Null when the host gives no callback or version, the module cannot start, or
// no effect can be made.
AEffect* VSTPluginMain(audioMasterCallback audioMaster);
AEffect* MAIN(audioMasterCallback audioMaster);
}

// Makes the module's VST 2 effect; defined by the product. Null when it cannot.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
