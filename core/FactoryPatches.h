#pragma once
#include "core/Patch.h"

namespace SorvLib {

// The product's eight factory patches, ended by a null pointer.
extern const Patch* const factoryPatches[];

} // namespace SorvLib
