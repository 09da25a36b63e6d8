#include "core/StateChunk.h"

#include "core/CoreIds.h"

#include <cmath>
#include <cstring>

namespace SorvLib {

using namespace Steinberg;

namespace {

constexpr uint32 kLastVersion = 0x7FFFFFFF;
constexpr uint32 kLargestChunk =
    StateChunk::kHeaderBytes + StateChunk::kRowBytes * StateChunk::kMostRows;

// Streams may answer kResultOk for a short read and report only the byte count.
bool readBigEndian(IBStream* stream, uint32& value) {
    unsigned char bytes[4] = {};
    int32 got = 4;
    if (stream->read(bytes, 4, &got) != kResultOk || got != 4)
        return false;
    value = (uint32(bytes[0]) << 24) | (uint32(bytes[1]) << 16) | (uint32(bytes[2]) << 8) |
            uint32(bytes[3]);
    return true;
}

} // namespace

tresult StateChunk::read(IBStream* stream, std::vector<Row>& rows) {
    rows.clear();
    if (!stream)
        return kResultFalse;
    uint32 magic = 0, version = 0, size = 0, count = 0;
    if (!readBigEndian(stream, magic) || !readBigEndian(stream, version) ||
        !readBigEndian(stream, size) || !readBigEndian(stream, count))
        return kResultFalse;
    // Versions after the first and size fields that miscount the rows have been read as long
    // as the rows are there; only values no chunk can have are refused.
    if (magic != kStateChunkMagic || version == 0 || version > kLastVersion ||
        size < kHeaderBytes || size > kLargestChunk || count > kMostRows)
        return kResultFalse;

    rows.reserve(count);
    for (uint32 k = 0; k < count; ++k) {
        Row row = {};
        if (!readBigEndian(stream, row.id) || !readBigEndian(stream, row.value)) {
            rows.clear();
            return kResultFalse;
        }
        if (row.id != kProgramId) {
            float value = 0.0f;
            std::memcpy(&value, &row.value, sizeof(value));
            if (!std::isfinite(value)) {
                rows.clear();
                return kResultFalse;
            }
        }
        rows.push_back(row);
    }
    return kResultOk;
}

} // namespace SorvLib
