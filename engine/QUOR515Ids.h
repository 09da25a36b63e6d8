#pragma once
// Every four-character id of the product.
#include "core/FourCC.h"

namespace SorvLib {

constexpr uint32_t kPowerId = fourCC("Powr");      // "Power"
constexpr uint32_t kFxLimiterId = fourCC("EfLm");  // "Fx Limiter"
constexpr uint32_t kFxMixId = fourCC("EfMx");      // "Fx Mix"
constexpr uint32_t kToneId = fourCC("Tone");       // "Tone"
constexpr uint32_t kPreDelayId = fourCC("Pred");   // "Pre-Delay"
constexpr uint32_t kOverloadId = fourCC("OlLp");   // "Overload", read-only
constexpr uint32_t kGrMeterId = fourCC("GrMt");    // "GR Meter", read-only
constexpr uint32_t kVst2UniqueId = fourCC("SQr5"); // VST 2 unique id

} // namespace SorvLib
