#pragma once
// Every four-character id of the framework.
#include "core/FourCC.h"

namespace SorvLib {

constexpr uint32_t kMasterBypassId = fourCC("MByp"); // "Master Bypass"
constexpr uint32_t kProgramId = fourCC("Prog");      // program list, only under the VST 2 wrapper
constexpr uint32_t kGlobalLinkId = fourCC("GLnk");   // cross-instance linking option
constexpr uint32_t kStateChunkMagic = fourCC("SvCk"); // first field of the state chunk

} // namespace SorvLib
