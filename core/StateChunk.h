#pragma once
// Reading the effect's state chunk: every field is checked before anything is applied, so a
// chunk is either taken whole or refused whole.

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <vector>

namespace SorvLib {

class StateChunk {
public:
    struct Row {
        Steinberg::Vst::ParamID id;
        Steinberg::uint32 value; // float bits, or a program index
    };

    static constexpr Steinberg::uint32 kVersion = 1;
    static constexpr Steinberg::uint32 kHeaderBytes = 16;
    static constexpr Steinberg::uint32 kRowBytes = 8;
    // Far more rows than any effect of the framework has parameters.
    static constexpr Steinberg::uint32 kMostRows = 4096;

    enum class Outcome {
        kChunk,   // rows holds the chunk's rows
        kNothing, // the stream ended before its first byte: there is no chunk to restore
        kInvalid, // rows is empty
    };

    // Reads one chunk from the stream's position. kInvalid when a read fails part-way or a
    // field is impossible: the magic, a version of 0 or beyond 2^31 - 1, a size that cannot
    // hold the header or is beyond the largest chunk, a row count beyond kMostRows, or a value
    // other than a finite number in a row other than the program's.
    static Outcome read(Steinberg::IBStream* stream, std::vector<Row>& rows);
};

} // namespace SorvLib
