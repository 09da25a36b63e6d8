// The stereo steps for SSE2, the baseline of every processor the product runs on.
#include "engine/StereoStepsBody.h"

namespace SorvLib {

StereoSteps::Parts stereoStepsSse2() {
    return {enter, feed, leave, turn};
}

} // namespace SorvLib
