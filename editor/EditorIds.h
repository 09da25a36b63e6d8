#pragma once
// The editor's menu ids and preference keys, made once at module load.

#include <cstdint>
#include <string>

namespace SorvLib {

extern const uint32_t kHelpMenuId;
extern const uint32_t kMainMenuId;
extern const std::string kUILayerModeKey; // kept by the framework; this product reads it not
extern const uint32_t kUILayerModeMenuId;
extern const uint32_t kUIQualityMenuId;
extern const uint32_t kUISizeMenuId;
// Preference keys of the toolbar's size and scaling-quality menus.
extern const std::string kUISizeKey;
extern const std::string kUIScalingQualityKey;

} // namespace SorvLib
