#include "WavWriter.h"

#include "WavError.h"

#include <cmath>
#include <cstring>

namespace SorvTools {

namespace {

constexpr uint16_t kFormatPcm = 0x0001;
constexpr uint16_t kFormatFloat = 0x0003;
// RIFF form + fmt chunk of 16 bytes + data chunk header.
constexpr uint32_t kPcmHeaderSize = 12 + 8 + 16 + 8;
// Non-PCM data carries the fmt extension size (18-byte fmt) and a fact chunk with the frames.
constexpr uint32_t kFloatHeaderSize = 12 + 8 + 18 + 12 + 8;
constexpr uint64_t kMaxRiffSize = 0xFFFFFFFFull;

void put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

uint32_t headerSize(SampleEncoding encoding) {
    return encoding == SampleEncoding::Float32 ? kFloatHeaderSize : kPcmHeaderSize;
}

} // namespace

WavWriter::WavWriter(const std::filesystem::path& path, SampleEncoding encoding,
                     uint32_t sampleRate, uint16_t channels)
    : temporary(std::make_unique<TemporaryFile>(path)), encoding(encoding), sampleRate(sampleRate),
      channels(channels) {
    // Opened without truncation or creation: it is the empty file just made for this.
    file.open(temporary->path(), std::ios::binary | std::ios::in | std::ios::out);
    if (!file)
        throw WavError(temporary->path().u8string() + ": cannot open the file");
    out = &file;
    writeHeader();
}

WavWriter::WavWriter(std::ostream& stream, SampleEncoding encoding, uint32_t sampleRate,
                     uint16_t channels)
    : out(&stream), encoding(encoding), sampleRate(sampleRate), channels(channels) {
    writeHeader();
}

WavWriter::~WavWriter() {
    // The temporary file removes itself unless committed; it must be closed for that.
    file.close();
}

uint64_t WavWriter::maxFrames(SampleEncoding encoding, uint16_t channels) {
    const uint64_t frameBytes = uint64_t(channels) * uint64_t(bytesPerSample(encoding));
    if (frameBytes == 0)
        return 0;
    // The RIFF size counts everything after its own 8 bytes, the data pad byte included.
    const uint64_t room = kMaxRiffSize - (headerSize(encoding) - 8) - 1;
    return room / frameBytes;
}

void WavWriter::writeHeader() {
    if (channels == 0 || sampleRate == 0)
        throw WavError("a WAV file needs at least one channel and a sample rate above 0");
    const uint32_t sampleBytes = uint32_t(bytesPerSample(encoding));
    const uint32_t blockAlign = channels * sampleBytes;
    const uint64_t dataBytes = frames * blockAlign;
    const uint32_t pad = uint32_t(dataBytes & 1);
    const bool isFloat = encoding == SampleEncoding::Float32;

    uint8_t header[kFloatHeaderSize] = {};
    uint8_t* p = header;
    std::memcpy(p, "RIFF", 4);
    put32(p + 4, uint32_t(headerSize(encoding) - 8 + dataBytes + pad));
    std::memcpy(p + 8, "WAVE", 4);
    p += 12;
    std::memcpy(p, "fmt ", 4);
    put32(p + 4, isFloat ? 18 : 16);
    put16(p + 8, isFloat ? kFormatFloat : kFormatPcm);
    put16(p + 10, channels);
    put32(p + 12, sampleRate);
    put32(p + 16, sampleRate * blockAlign);
    put16(p + 20, blockAlign);
    put16(p + 22, sampleBytes * 8);
    p += 24;
    if (isFloat) {
        put16(p, 0);
        p += 2;
        std::memcpy(p, "fact", 4);
        put32(p + 4, 4);
        put32(p + 8, uint32_t(frames));
        p += 12;
    }
    std::memcpy(p, "data", 4);
    put32(p + 4, uint32_t(dataBytes));
    out->seekp(0);
    out->write(reinterpret_cast<const char*>(header), headerSize(encoding));
    if (!*out)
        throw WavError("cannot write the WAV header");
}

void WavWriter::write(const double* interleaved, uint64_t count) {
    if (finished)
        throw WavError("the WAV file is already finished");
    if (count > maxFrames(encoding, channels) - frames)
        throw WavError("the output exceeds the 4 GiB size limit of a WAV file");
    const size_t samples = size_t(count) * channels;
    const int sampleBytes = bytesPerSample(encoding);
    raw.resize(samples * size_t(sampleBytes));
    uint8_t* p = raw.data();
    if (encoding == SampleEncoding::Float32) {
        for (size_t i = 0; i < samples; ++i, p += 4) {
            const float value = float(interleaved[i]);
            uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            put32(p, bits);
        }
    } else {
        const int bitDepth = sampleBytes * 8;
        const double scale = std::ldexp(1.0, bitDepth - 1);
        for (size_t i = 0; i < samples; ++i, p += sampleBytes) {
            double value = std::nearbyint(interleaved[i] * scale);
            if (std::isnan(value)) {
                value = 0.0;
                ++clipped;
            } else if (value < -scale) {
                value = -scale;
                ++clipped;
            } else if (value > scale - 1.0) {
                value = scale - 1.0;
                ++clipped;
            }
            const uint32_t code = uint32_t(int64_t(value));
            for (int b = 0; b < sampleBytes; ++b)
                p[b] = uint8_t(code >> (8 * b));
        }
    }
    out->write(reinterpret_cast<const char*>(raw.data()), std::streamsize(raw.size()));
    if (!*out)
        throw WavError("write error (is the disk full?)");
    frames += count;
}

void WavWriter::finish() {
    if (finished)
        return;
    const uint64_t dataBytes = frames * uint64_t(channels) * uint64_t(bytesPerSample(encoding));
    if (dataBytes & 1)
        out->put(0);
    writeHeader();
    out->flush();
    if (!*out)
        throw WavError("write error (is the disk full?)");
    if (temporary) {
        file.close();
        if (file.fail())
            throw WavError(temporary->path().u8string() + ": cannot close the file");
        temporary->commit();
    }
    finished = true;
}

} // namespace SorvTools
