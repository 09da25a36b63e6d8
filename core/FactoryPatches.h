#pragma once
#include "core/Patch.h"

namespace SorvLib {

// The product's eight factory patches, ended by a null entry.
extern const PatchRef factoryPatches[];

} // namespace SorvLib
