#include "engine/QUOR515Effect.h"

#include "core/ClassFactory.h"
#include "core/FactoryPatches.h"

#include <new>

namespace SorvLib {

QUOR515Effect::QUOR515Effect() : SorvEffect(SorvLib::factoryPatches) {}

Steinberg::FUnknown* createInstance(void*) {
    auto* effect = new (std::nothrow) QUOR515Effect();
    if (!effect)
        return nullptr;
    return static_cast<Steinberg::Vst::IAudioProcessor*>(effect);
}

} // namespace SorvLib
