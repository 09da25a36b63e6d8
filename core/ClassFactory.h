#pragma once
// The module's VST 3 class factory and the processor class id.

#include "base/source/fobject.h"
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"

namespace SorvLib {

// The VST 3 SDK's convention for class ids of VST 2 compatible plug-ins.
Steinberg::FUID convertVst2UidToFuid(Steinberg::int32 vst2Id, const char* name, bool controller);

// Derived at module load from the VST 2 unique id and the product name.
extern const Steinberg::FUID kProcessorUID;

// Creates one effect; defined by the product. The context is ignored.
Steinberg::FUnknown* createInstance(void* context);

} // namespace SorvLib

extern "C" {
// Main thread. Returns the one factory of the process with one more reference.
Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory();
}
