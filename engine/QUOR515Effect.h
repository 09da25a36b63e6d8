#pragma once
#include "core/SorvEffect.h"

namespace SorvLib {

// The product's effect.
class QUOR515Effect : public SorvEffect {
public:
    QUOR515Effect();

    OBJ_METHODS(QUOR515Effect, SorvEffect)
};

} // namespace SorvLib
