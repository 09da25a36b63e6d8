#include "engine/StereoSteps.h"

namespace SorvLib {

StereoSteps::IntoChains StereoSteps::intoChains(ChainKernel::Kind kind) {
    return kind == ChainKernel::kAvx && ChainKernel::isAvailable(ChainKernel::kAvx)
               ? runStereoIntoChainsAvx
               : runStereoIntoChainsSse2;
}

StereoSteps::FromChains StereoSteps::fromChains(ChainKernel::Kind kind) {
    return kind == ChainKernel::kAvx && ChainKernel::isAvailable(ChainKernel::kAvx)
               ? runStereoFromChainsAvx
               : runStereoFromChainsSse2;
}

} // namespace SorvLib
