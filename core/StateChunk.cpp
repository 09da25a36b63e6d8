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
bool readBigEndian(IBStream* stream, uint32& value, int32* gotBytes = nullptr) {
    unsigned char bytes[4] = {};
    int32 got = 4;
    const tresult result = stream->read(bytes, 4, &got);
    if (gotBytes)
        *gotBytes = result == kResultOk ? got : -1;
    if (result != kResultOk || got != 4)
        return false;
    value = (uint32(bytes[0]) << 24) | (uint32(bytes[1]) << 16) | (uint32(bytes[2]) << 8) |
            uint32(bytes[3]);
    return true;
}

} // namespace

StateChunk::Outcome StateChunk::read(IBStream* stream, std::vector<Row>& rows) {
    rows.clear();
    if (!stream)
        return Outcome::kInvalid;
    uint32 magic = 0, version = 0, size = 0, count = 0;
    int32 firstBytes = 0;
    if (!readBigEndian(stream, magic, &firstBytes))
        return firstBytes == 0 ? Outcome::kNothing : Outcome::kInvalid;
    if (!readBigEndian(stream, version) || !readBigEndian(stream, size) ||
        !readBigEndian(stream, count))
        return Outcome::kInvalid;
    // Versions after the first and size fields that miscount the rows have been read as long
    // as the rows are there; only values no chunk can have are refused.
    if (magic != kStateChunkMagic || version == 0 || version > kLastVersion ||
        size < kHeaderBytes || size > kLargestChunk || count > kMostRows)
        return Outcome::kInvalid;

    rows.reserve(count);
    for (uint32 k = 0; k < count; ++k) {
        Row row = {};
        if (!readBigEndian(stream, row.id) || !readBigEndian(stream, row.value)) {
            rows.clear();
            return Outcome::kInvalid;
        }
        if (row.id != kProgramId) {
            float value = 0.0f;
            std::memcpy(&value, &row.value, sizeof(value));
            if (!std::isfinite(value)) {
                rows.clear();
                return Outcome::kInvalid;
            }
        }
        rows.push_back(row);
    }
    return Outcome::kChunk;
}

} // namespace SorvLib
