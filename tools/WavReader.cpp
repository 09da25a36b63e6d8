#include "WavReader.h"

#include "WavError.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace SorvTools {

namespace {

constexpr uint16_t kFormatPcm = 0x0001;
constexpr uint16_t kFormatFloat = 0x0003;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kPlainFmtSize = 16;
constexpr uint32_t kExtensibleFmtSize = 40;
constexpr uint16_t kExtensionSize = 22;
// KSDATAFORMAT_SUBTYPE_PCM and _IEEE_FLOAT share these bytes after their 16-bit format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr double kPcm16Scale = 32768.0;
constexpr double kPcm24Scale = 8388608.0;
constexpr double kPcm32Scale = 2147483648.0;

uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

std::string chunkName(const uint8_t* id) {
    std::string name;
    for (int i = 0; i < 4; ++i)
        name += (id[i] >= 0x20 && id[i] < 0x7F) ? char(id[i]) : '?';
    return "'" + name + "'";
}

std::string hex16(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

SampleEncoding encodingOf(uint16_t tag, uint16_t bits) {
    const std::string readable = "(16, 24 or 32-bit PCM and 32-bit float are read)";
    if (tag == kFormatPcm) {
        if (bits == 16)
            return SampleEncoding::Pcm16;
        if (bits == 24)
            return SampleEncoding::Pcm24;
        if (bits == 32)
            return SampleEncoding::Pcm32;
        throw WavError("unsupported encoding: " + std::to_string(bits) + "-bit PCM " + readable);
    }
    if (tag == kFormatFloat) {
        if (bits == 32)
            return SampleEncoding::Float32;
        throw WavError("unsupported encoding: " + std::to_string(bits) + "-bit float " + readable);
    }
    throw WavError("unsupported encoding: format tag " + hex16(tag) + " " + readable);
}

} // namespace

WavReader::WavReader(const std::filesystem::path& path) {
    const std::string name = path.u8string();
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        throw WavError(name + ": no such file");
    if (std::filesystem::is_directory(path, error))
        throw WavError(name + ": is a folder, not a WAV file");
    file.open(path, std::ios::binary);
    if (!file)
        throw WavError(name + ": cannot open the file");
    in = &file;
    try {
        parseHeader();
    } catch (const WavError& e) {
        throw WavError(name + ": " + e.what());
    }
}

WavReader::WavReader(std::istream& stream) : in(&stream) {
    parseHeader();
}

void WavReader::parseHeader() {
    in->seekg(0, std::ios::end);
    const std::streamoff end = in->tellg();
    in->seekg(0, std::ios::beg);
    if (end < 0 || !*in)
        throw WavError("cannot read the file");
    const uint64_t fileSize = uint64_t(end);

    uint8_t riff[12];
    if (fileSize < sizeof riff || !in->read(reinterpret_cast<char*>(riff), sizeof riff))
        throw WavError("not a WAV file (too short for a RIFF header)");
    if (std::memcmp(riff, "RIFF", 4) != 0) {
        if (std::memcmp(riff, "RIFX", 4) == 0 || std::memcmp(riff, "RF64", 4) == 0)
            throw WavError("unsupported WAV variant " + chunkName(riff) +
                           " (only little-endian RIFF is read)");
        throw WavError("not a WAV file (no RIFF header)");
    }
    if (std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw WavError("not a WAV file (the RIFF form is " + chunkName(riff + 8) + ", not 'WAVE')");
    const uint64_t riffEnd = 8 + uint64_t(le32(riff + 4));
    if (riffEnd > fileSize)
        throw WavError("truncated: the RIFF header declares " + std::to_string(riffEnd) +
                       " bytes, the file has " + std::to_string(fileSize));

    bool haveFormat = false;
    uint16_t tag = 0, bits = 0;
    uint64_t dataStart = 0, dataSize = 0;
    bool haveData = false;
    uint64_t pos = 12;
    while (!haveData && pos + 8 <= riffEnd) {
        uint8_t header[8];
        in->seekg(std::streamoff(pos));
        if (!in->read(reinterpret_cast<char*>(header), sizeof header))
            throw WavError("cannot read the chunk at byte " + std::to_string(pos));
        const uint64_t size = le32(header + 4);
        const uint64_t body = pos + 8;
        if (body + size > riffEnd)
            throw WavError("chunk " + chunkName(header) + " at byte " + std::to_string(pos) +
                           " declares " + std::to_string(size) + " bytes, only " +
                           std::to_string(riffEnd - body) + " follow");
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (haveFormat)
                throw WavError("more than one fmt chunk");
            if (size < kPlainFmtSize)
                throw WavError("fmt chunk of " + std::to_string(size) + " bytes is too short");
            uint8_t fmt[kExtensibleFmtSize] = {};
            const auto wanted = std::streamsize(std::min<uint64_t>(size, sizeof fmt));
            if (!in->read(reinterpret_cast<char*>(fmt), wanted))
                throw WavError("cannot read the fmt chunk");
            tag = le16(fmt);
            info.channels = le16(fmt + 2);
            info.sampleRate = le32(fmt + 4);
            blockAlign = le16(fmt + 12);
            bits = le16(fmt + 14);
            if (tag == kFormatExtensible) {
                info.extensible = true;
                if (size < kExtensibleFmtSize || le16(fmt + 16) < kExtensionSize)
                    throw WavError("WAVE_FORMAT_EXTENSIBLE fmt chunk of " + std::to_string(size) +
                                   " bytes is too short");
                const uint16_t validBits = le16(fmt + 18);
                if (validBits > bits)
                    throw WavError(std::to_string(validBits) + " valid bits in a " +
                                   std::to_string(bits) + "-bit container");
                if (std::memcmp(fmt + 26, kSubFormatTail, sizeof kSubFormatTail) != 0)
                    throw WavError("unsupported encoding: WAVE_FORMAT_EXTENSIBLE with an unknown "
                                   "sub-format");
                // Fewer valid bits are left-justified in the container, so reading the
                // container as a whole gives the right scale.
                tag = le16(fmt + 24);
            }
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat)
                throw WavError("the data chunk comes before the fmt chunk");
            dataStart = body;
            dataSize = size;
            haveData = true;
        }
        // Chunks are word-aligned: an odd-sized chunk is followed by one pad byte.
        pos = body + size + (size & 1);
    }
    if (!haveFormat)
        throw WavError("no fmt chunk");
    if (!haveData)
        throw WavError("no data chunk");

    info.encoding = encodingOf(tag, bits);
    if (info.channels == 0)
        throw WavError("the fmt chunk gives 0 channels");
    if (info.sampleRate == 0)
        throw WavError("the fmt chunk gives a sample rate of 0 Hz");
    const uint32_t expectedAlign =
        uint32_t(info.channels) * uint32_t(bytesPerSample(info.encoding));
    if (blockAlign != expectedAlign)
        throw WavError("block align " + std::to_string(blockAlign) + " does not fit " +
                       std::to_string(info.channels) + " channels of " +
                       encodingName(info.encoding) + " (" + std::to_string(expectedAlign) + ")");
    // A trailing partial frame holds no complete sample set and is not audio.
    info.frames = dataSize / blockAlign;
    framesLeft = info.frames;
    in->seekg(std::streamoff(dataStart));
    if (!*in)
        throw WavError("cannot seek to the data chunk");
}

uint64_t WavReader::read(double* interleaved, uint64_t frames) {
    const uint64_t count = std::min(frames, framesLeft);
    if (count == 0)
        return 0;
    const size_t bytes = size_t(count * blockAlign);
    raw.resize(bytes);
    if (!in->read(reinterpret_cast<char*>(raw.data()), std::streamsize(bytes)))
        throw WavError("read error in the data chunk");
    const size_t samples = size_t(count) * info.channels;
    const uint8_t* p = raw.data();
    switch (info.encoding) {
    case SampleEncoding::Pcm16:
        for (size_t i = 0; i < samples; ++i, p += 2)
            interleaved[i] = double(int16_t(le16(p))) / kPcm16Scale;
        break;
    case SampleEncoding::Pcm24:
        for (size_t i = 0; i < samples; ++i, p += 3) {
            // Place the 24 bits at the top of a 32-bit word so the sign comes with them.
            const int32_t value =
                int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) / 256;
            interleaved[i] = double(value) / kPcm24Scale;
        }
        break;
    case SampleEncoding::Pcm32:
        for (size_t i = 0; i < samples; ++i, p += 4)
            interleaved[i] = double(int32_t(le32(p))) / kPcm32Scale;
        break;
    case SampleEncoding::Float32:
        for (size_t i = 0; i < samples; ++i, p += 4) {
            const uint32_t bitsOfSample = le32(p);
            float value;
            std::memcpy(&value, &bitsOfSample, sizeof value);
            interleaved[i] = double(value);
        }
        break;
    }
    framesLeft -= count;
    return count;
}

} // namespace SorvTools
