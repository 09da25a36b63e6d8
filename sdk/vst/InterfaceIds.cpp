// Interface ids that the SDK headers declare but no SDK source defines.
#include "vst/IGainReductionInfo.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {
DEF_CLASS_IID(IPlugView)
DEF_CLASS_IID(IPlugFrame)
DEF_CLASS_IID(IPlugViewContentScaleSupport)
} // namespace Steinberg

namespace Presonus {
DEF_CLASS_IID(IGainReductionInfo)
} // namespace Presonus
