#pragma once
// Constants of the build that name the product and its maker.

namespace SorvLib {

constexpr const char* kVendorName = "Sorv Audio Labs";
constexpr const char* kVendorUrl = "https://www.sorvaudiolabs.com";
constexpr const char* kVendorEmail = "support@sorvaudiolabs.com";
constexpr const char* kProductName = "QUOR-515";
constexpr unsigned kCatalogueNumber = 515; // the product's number in the maker's catalogue
constexpr const char* kProductVersion = "1.0.0";
constexpr const char* kClassVersion = "1.0.0.0";
constexpr const char* kSubCategories = "Fx|Reverb";
constexpr const char* kSdkVersionText = "VST 3.7.1";

} // namespace SorvLib
