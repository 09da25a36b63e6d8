#pragma once
#include "pluginterfaces/vst/vsttypes.h"

#include <cstddef>

namespace SorvLib {

constexpr Steinberg::Vst::ParamID kPatchEndId = 0xFFFFFFFF;
constexpr size_t kPatchNameSize = 32;

// One row of a patch: a parameter and its normalized value.
struct PatchRow {
    Steinberg::Vst::ParamID id;
    float value;
};

// One factory patch in the module's constant data: a zero-padded name and N rows, the last
// being the end row {kPatchEndId, -1.0}.
template <size_t N> struct Patch {
    char name[kPatchNameSize];
    PatchRow rows[N];
};

// Refers to one patch whatever its row count, so that patches of different lengths share one
// list: an array of these ended by a null one.
struct PatchRef {
    constexpr PatchRef(std::nullptr_t = nullptr) {}
    template <size_t N>
    constexpr PatchRef(const Patch<N>* patch)
        : name(patch ? patch->name : nullptr), rows(patch ? patch->rows : nullptr) {}

    constexpr explicit operator bool() const { return rows != nullptr; }

    const char* name = nullptr;
    const PatchRow* rows = nullptr;
};

} // namespace SorvLib
