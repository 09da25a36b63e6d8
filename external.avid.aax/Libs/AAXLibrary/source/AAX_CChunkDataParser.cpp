#include "AAX_CChunkDataParser.h"

#include "AAX_Trace.h"

#include <cstring>
#include <stdexcept>

namespace {
constexpr uint32_t kTag = 0x01010101;
constexpr size_t kMaxName = 255;
constexpr AAX_Result kChunkDataFailure = -333;

uint32_t padded(uint32_t size) {
    return (size + 3) & ~3u;
}
uint32_t valueSize(const AAX_CChunkDataParser::DataValue& value) {
    switch (value.mType) {
    case AAX_CChunkDataParser::kDouble:
        return 8;
    case AAX_CChunkDataParser::kString:
        return value.mString.Length() + 1;
    default:
        return 4;
    }
}
const char* prefix(int32_t type) {
    switch (type) {
    case AAX_CChunkDataParser::kFloat:
        return "f_";
    case AAX_CChunkDataParser::kInt32:
        return "l_";
    case AAX_CChunkDataParser::kDouble:
        return "d_";
    case AAX_CChunkDataParser::kInt16:
        return "s_";
    case AAX_CChunkDataParser::kString:
        return "r_";
    default:
        return nullptr;
    }
}
// Big-endian bytes of the low count bytes of value.
void writeReversed(unsigned char* out, uint64_t value, int count) {
    for (int i = count - 1; i >= 0; --i, value >>= 8)
        out[i] = static_cast<unsigned char>(value);
}
uint64_t readReversed(const unsigned char* in, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | in[i];
    return value;
}
} // namespace

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value) {
    mValues.push_back({kInt32, AAX_CString(name), value, AAX_CString()});
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value) {
    int64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    mValues.push_back({kDouble, AAX_CString(name), bits, AAX_CString()});
}

void AAX_CChunkDataParser::AddString(const char* name, const char* value) {
    mValues.push_back({kString, AAX_CString(name), 0, AAX_CString(value)});
}

int32_t AAX_CChunkDataParser::FindName(const char* name) {
    const int32_t count = static_cast<int32_t>(mValues.size());
    for (int32_t step = 1; step <= count; ++step) {
        const int32_t index = ((mLastFoundIndex + step) % count + count) % count;
        if (mValues[size_t(index)].mName == name)
            return mLastFoundIndex = index;
    }
    return -1;
}

bool AAX_CChunkDataParser::GetInt32(const char* name, int32_t* value) {
    const int32_t index = FindName(name);
    if (index < 0 || mValues[size_t(index)].mType != kInt32)
        return false;
    *value = static_cast<int32_t>(mValues[size_t(index)].mValue);
    return true;
}

bool AAX_CChunkDataParser::GetDouble(const char* name, double* value) {
    const int32_t index = FindName(name);
    if (index < 0 || mValues[size_t(index)].mType != kDouble)
        return false;
    std::memcpy(value, &mValues[size_t(index)].mValue, sizeof(double));
    return true;
}

bool AAX_CChunkDataParser::GetString(const char* name, AAX_CString* value) {
    const int32_t index = FindName(name);
    if (index < 0 || mValues[size_t(index)].mType != kString)
        return false;
    *value = mValues[size_t(index)].mString;
    return true;
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const {
    uint32_t size = 4;
    for (const DataValue& value : mValues)
        size += padded(value.mName.Length() + 3) + padded(valueSize(value));
    return static_cast<int32_t>(size);
}

AAX_Result AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk) const {
    try {
        const uint32_t size = static_cast<uint32_t>(GetChunkDataSize());
        unsigned char* data = chunk->fData;
        std::memset(data, 0, size);
        writeReversed(data, kTag, 4);
        uint32_t position = 4;
        for (const DataValue& value : mValues) {
            const uint32_t bytes = value.mType == kInt16 ? 2 : valueSize(value);
            if (position + value.mName.Length() + 1 + 2 + bytes > size)
                throw std::out_of_range("aborting: chunk data will overflow buffer");
            if (const char* text = prefix(value.mType))
                std::memcpy(data + position, text, 2);
            position += 2;
            std::memcpy(data + position, value.mName.Get(), value.mName.Length() + 1);
            position = padded(position + value.mName.Length() + 1);
            switch (value.mType) {
            case kDouble:
                writeReversed(data + position, uint64_t(value.mValue), 8);
                position += 8;
                break;
            case kInt16:
                writeReversed(data + position, uint64_t(value.mValue), 2);
                position += 4;
                break;
            case kString:
                std::memcpy(data + position, value.mString.Get(), value.mString.Length() + 1);
                position = padded(position + value.mString.Length() + 1);
                break;
            default:
                writeReversed(data + position, uint64_t(value.mValue), 4);
                position += 4;
                break;
            }
        }
        chunk->fSize = static_cast<int32_t>(size);
        return AAX_SUCCESS;
    } catch (const std::exception& error) {
        AAX_Trace(AAX_eTracePriority_Registration, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                  error.what()[0] ? error.what() : "Unknown exception");
    } catch (...) {
    }
    return kChunkDataFailure;
}

void AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk, uint32_t dataSize) {
    Clear();
    mChunkVersion = chunk->fVersion;
    // Never read past what the record declares nor past what the caller holds.
    const uint32_t declared = chunk->fSize < 0 ? 0 : static_cast<uint32_t>(chunk->fSize);
    const uint32_t size = declared < dataSize ? declared : dataSize;
    const unsigned char* data = chunk->fData;
    if (size <= 4 || readReversed(data, 4) != kTag)
        return;
    uint32_t position = 4;
    while (position < size) {
        const size_t room = size - position < kMaxName ? size - position : kMaxName;
        const unsigned char* start = data + position;
        const void* end = std::memchr(start, 0, room);
        if (!end)
            return; // a name without its end: the list stops here
        const uint32_t length =
            static_cast<uint32_t>(static_cast<const unsigned char*>(end) - start);
        if (length < 2)
            return;
        DataValue value{0, AAX_CString(), 0, AAX_CString()};
        std::string name(reinterpret_cast<const char*>(start) + 2, length - 2);
        value.mName = AAX_CString(name.c_str());
        position = padded(position + length + 1);
        auto fits = [&](uint32_t bytes) { return position <= size && size - position >= bytes; };
        switch (start[0]) {
        case 'd':
            if (!fits(8))
                return;
            value.mType = kDouble;
            value.mValue = int64_t(readReversed(data + position, 8));
            position += 8;
            break;
        case 'f':
        case 'l':
            if (!fits(4))
                return;
            value.mType = start[0] == 'f' ? kFloat : kInt32;
            value.mValue = start[0] == 'f' ? int64_t(readReversed(data + position, 4))
                                           : int64_t(int32_t(readReversed(data + position, 4)));
            position += 4;
            break;
        case 's':
            if (!fits(4))
                return;
            value.mType = kInt16;
            value.mValue = int16_t(readReversed(data + position, 2));
            position += 4;
            break;
        case 'r': {
            if (!fits(1))
                return;
            const void* textEnd = std::memchr(data + position, 0, size - position);
            if (!textEnd)
                return;
            const uint32_t textLength = static_cast<uint32_t>(
                static_cast<const unsigned char*>(textEnd) - (data + position));
            value.mType = kString;
            value.mString = AAX_CString(reinterpret_cast<const char*>(data + position));
            position = padded(position + textLength + 1);
            break;
        }
        default:
            return; // an unknown prefix gives no way to find the next element
        }
        mValues.push_back(value);
    }
}

void AAX_CChunkDataParser::Clear() {
    mLastFoundIndex = -1;
    mValues.clear();
}

void AAX_CChunkDataParser::StartRebuild() {
    Clear();
    mChunkVersion = -1;
}
