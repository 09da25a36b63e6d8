// The stereo steps in the VEX encoding, for processors that run the AVX chain kernel. Compiled
// with -mavx alone (no FMA: a fused multiply-add would round once where the arithmetic rounds
// twice). Only called after ChainKernel found AVX usable.
#include "engine/StereoStepsBody.h"

namespace SorvLib {

StereoSteps::Parts stereoStepsAvx() {
    return {enter, feed, leave, turn};
}

} // namespace SorvLib
