#pragma once
#include "pluginterfaces/vst/vsttypes.h"

namespace SorvLib {

constexpr Steinberg::Vst::ParamID kPatchEndId = 0xFFFFFFFF;

// One factory patch in the module's constant data: rows of {id, normalized value},
// ended by {kPatchEndId, -1.0}.
struct Patch {
    struct Row {
        Steinberg::Vst::ParamID id;
        float value;
    };
    char name[32];
    Row rows[16];
};

} // namespace SorvLib
