// The stereo steps for SSE2, the baseline of every processor the product runs on.
#include "engine/StereoStepsBody.h"

namespace SorvLib {

void runStereoIntoChainsSse2(StereoSteps& steps, const StereoSteps::Sample& sample,
                             StereoSteps::Between& between) {
    intoChains(steps, sample, between);
}

void runStereoFromChainsSse2(StereoSteps& steps, const StereoSteps::Sample& sample,
                             const StereoSteps::Between& between, double* wet) {
    fromChains(steps, sample, between, wet);
}

} // namespace SorvLib
