// The stereo steps in the VEX encoding, for processors that run the AVX chain kernel. Compiled
// with -mavx alone (no FMA: a fused multiply-add would round once where the arithmetic rounds
// twice). Only called after ChainKernel found AVX usable.
#include "engine/StereoStepsBody.h"

namespace SorvLib {

void runStereoIntoChainsAvx(StereoSteps& steps, const StereoSteps::Sample& sample,
                            StereoSteps::Between& between) {
    intoChains(steps, sample, between);
}

void runStereoFromChainsAvx(StereoSteps& steps, const StereoSteps::Sample& sample,
                            const StereoSteps::Between& between, double* wet) {
    fromChains(steps, sample, between, wet);
}

} // namespace SorvLib
