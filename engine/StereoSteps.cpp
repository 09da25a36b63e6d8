#include "engine/StereoSteps.h"

namespace SorvLib {

StereoSteps::Parts StereoSteps::parts(ChainKernel::Kind kind) {
    return kind == ChainKernel::kAvx && ChainKernel::isAvailable(ChainKernel::kAvx)
               ? stereoStepsAvx()
               : stereoStepsSse2();
}

} // namespace SorvLib
