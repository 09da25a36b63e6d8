#pragma once
// Every operation a host calls runs its body through guarded(): an exception that reached the
// host would end the host's process. A bounds-checked container refusing an index means the
// caller passed a bad index; anything else (memory exhausted ...) is the plug-in's failure.

#include "pluginterfaces/base/funknown.h"

#include <new>
#include <stdexcept>

namespace SorvLib {

template <typename Body>
Steinberg::tresult guarded(Body&& body,
                           Steinberg::tresult onFailure = Steinberg::kInternalError) noexcept {
    try {
        return body();
    } catch (const std::out_of_range&) {
        return Steinberg::kInvalidArgument;
    } catch (const std::bad_alloc&) {
        return Steinberg::kOutOfMemory;
    } catch (...) {
        return onFailure;
    }
}

// For operations that answer a value instead of a result code.
template <typename Value, typename Body> Value guardedValue(Body&& body, Value onFailure) noexcept {
    try {
        return body();
    } catch (...) {
        return onFailure;
    }
}

} // namespace SorvLib
