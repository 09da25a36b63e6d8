// WAV writer and reader together: every encoding and channel count survives a round trip
// exactly, PCM is rounded and clipped as documented, and a file only appears once finished.

#include "TestFolder.h"
#include "WavError.h"
#include "WavReader.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

using namespace SorvTools;

namespace {

struct Case {
    SampleEncoding encoding;
    uint16_t channels;
};

std::string caseName(const testing::TestParamInfo<Case>& info) {
    const char* names[] = {"Pcm16", "Pcm24", "Pcm32", "Float32"};
    return std::string(names[int(info.param.encoding)]) + "x" + std::to_string(info.param.channels);
}

// Values every encoding holds exactly: multiples of its own step, the extremes included.
std::vector<double> exactValues(SampleEncoding encoding, size_t count) {
    const int bits = bytesPerSample(encoding) * 8;
    const double step =
        encoding == SampleEncoding::Float32 ? 1.0 / 1024.0 : std::ldexp(1.0, 1 - bits);
    std::vector<double> values(count);
    for (size_t i = 0; i < count; ++i)
        values[i] = std::fmod(double(i) * 7919.0 * step, 2.0) - 1.0;
    values[0] = -1.0;
    if (count > 1)
        values[1] = 1.0 - (encoding == SampleEncoding::Float32 ? 0.0 : step);
    if (count > 2)
        values[2] = encoding == SampleEncoding::Float32 ? 3.5 : -step; // float keeps overs
    return values;
}

std::string encode(const std::vector<double>& values, SampleEncoding encoding, uint32_t rate,
                   uint16_t channels) {
    std::stringstream stream;
    WavWriter writer(stream, encoding, rate, channels);
    writer.write(values.data(), values.size() / channels);
    writer.finish();
    return stream.str();
}

class WavRoundTrip : public testing::TestWithParam<Case> {};

TEST_P(WavRoundTrip, ReadsBackWhatWasWritten) {
    const Case c = GetParam();
    const uint64_t frames = 1001; // odd, so 24-bit mono needs a pad byte
    const std::vector<double> values = exactValues(c.encoding, frames * c.channels);
    const std::string bytes = encode(values, c.encoding, 48000, c.channels);

    // Chunks are word-aligned and the RIFF size counts every byte after it.
    EXPECT_EQ(bytes.size() % 2, 0u);
    const auto riffSize = uint32_t(uint8_t(bytes[4])) | uint32_t(uint8_t(bytes[5])) << 8 |
                          uint32_t(uint8_t(bytes[6])) << 16 | uint32_t(uint8_t(bytes[7])) << 24;
    EXPECT_EQ(riffSize + 8, bytes.size());

    std::istringstream in(bytes);
    WavReader reader(in);
    EXPECT_EQ(reader.format().encoding, c.encoding);
    EXPECT_EQ(reader.format().sampleRate, 48000u);
    EXPECT_EQ(reader.format().channels, c.channels);
    EXPECT_EQ(reader.format().frames, frames);
    EXPECT_FALSE(reader.format().extensible);

    // In uneven pieces, to cross every read boundary.
    std::vector<double> back(values.size(), -9.0);
    uint64_t done = 0;
    for (uint64_t piece = 1; done < frames; piece = piece * 3 % 97 + 1)
        done += reader.read(back.data() + done * c.channels, piece);
    EXPECT_EQ(done, frames);
    double extra = 0.0;
    EXPECT_EQ(reader.read(&extra, 1), 0u);
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(back[i], values[i]) << "sample " << i;
}

INSTANTIATE_TEST_SUITE_P(
    EveryEncoding, WavRoundTrip,
    testing::Values(Case{SampleEncoding::Pcm16, 1}, Case{SampleEncoding::Pcm16, 2},
                    Case{SampleEncoding::Pcm24, 1}, Case{SampleEncoding::Pcm24, 2},
                    Case{SampleEncoding::Pcm32, 1}, Case{SampleEncoding::Pcm32, 2},
                    Case{SampleEncoding::Float32, 1}, Case{SampleEncoding::Float32, 2},
                    Case{SampleEncoding::Pcm24, 3}),
    caseName);

TEST(WavWriter, RoundsPcmToTheNearestStepAndClipsAtFullScale) {
    const double step = 1.0 / 32768.0;
    const std::vector<double> values = {0.4 * step, 0.6 * step,   -1.6 * step,   1.0,
                                        -1.5,       std::nan(""), 32766.7 * step};
    std::stringstream stream;
    WavWriter writer(stream, SampleEncoding::Pcm16, 44100, 1);
    writer.write(values.data(), values.size());
    writer.finish();
    EXPECT_EQ(writer.clippedSamples(), 3u); // 1.0, -1.5 and the NaN

    WavReader reader(stream);
    std::vector<double> back(values.size());
    ASSERT_EQ(reader.read(back.data(), back.size()), values.size());
    EXPECT_EQ(back[0], 0.0);
    EXPECT_EQ(back[1], step);
    EXPECT_EQ(back[2], -2.0 * step);
    EXPECT_EQ(back[3], 32767.0 * step);
    EXPECT_EQ(back[4], -1.0);
    EXPECT_EQ(back[5], 0.0);
    EXPECT_EQ(back[6], 32767.0 * step);
}

TEST(WavWriter, FloatFilesCarryTheFrameCountInAFactChunk) {
    const std::vector<double> values(6, 0.25);
    const std::string bytes = encode(values, SampleEncoding::Float32, 44100, 2);
    const auto fact = bytes.find("fact");
    ASSERT_NE(fact, std::string::npos);
    EXPECT_EQ(uint8_t(bytes[fact + 8]), 3u);
    EXPECT_EQ(bytes.substr(20, 2), std::string("\x03\x00", 2)); // WAVE_FORMAT_IEEE_FLOAT
}

TEST(WavWriter, RefusesDataBeyondTheFourGigabyteLimit) {
    EXPECT_EQ(WavWriter::maxFrames(SampleEncoding::Pcm16, 1), (0xFFFFFFFFull - 36 - 1) / 2);
    EXPECT_LT(WavWriter::maxFrames(SampleEncoding::Float32, 2) * 8 + 58, 0xFFFFFFFFull + 8);
    std::stringstream stream;
    WavWriter writer(stream, SampleEncoding::Pcm16, 44100, 1);
    double sample = 0.0;
    EXPECT_THROW(writer.write(&sample, WavWriter::maxFrames(SampleEncoding::Pcm16, 1) + 1),
                 WavError);
}

class WavFileOnDisk : public testing::Test {
protected:
    void SetUp() override {
        folder = SorvToolsTest::testFolder(
            "wav-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            found.push_back(entry.path().filename().u8string());
        return found;
    }

    std::filesystem::path folder;
};

TEST_F(WavFileOnDisk, AppearsUnderItsNameOnlyWhenFinished) {
    const auto path = folder / "out.wav";
    const std::vector<double> values = {0.5, -0.5, 0.25, -0.25};
    {
        WavWriter writer(path, SampleEncoding::Pcm24, 22050, 2);
        writer.write(values.data(), 2);
        EXPECT_EQ(names(), std::vector<std::string>{"out.wav.partial"});
        writer.finish();
        EXPECT_EQ(names(), std::vector<std::string>{"out.wav"});
    }
    WavReader reader(path);
    EXPECT_EQ(reader.format().frames, 2u);
    EXPECT_EQ(reader.format().sampleRate, 22050u);
}

TEST_F(WavFileOnDisk, AnUnfinishedWriteLeavesNothingAndKeepsAnOlderFile) {
    const auto path = folder / "out.wav";
    std::ofstream(path) << "older";
    {
        WavWriter writer(path, SampleEncoding::Float32, 44100, 1);
        const double sample = 0.1;
        writer.write(&sample, 1);
    }
    EXPECT_EQ(names(), std::vector<std::string>{"out.wav"});
    std::ifstream older(path);
    std::string text;
    older >> text;
    EXPECT_EQ(text, "older");
}

TEST_F(WavFileOnDisk, AFinishedWriteReplacesAnOlderFile) {
    const auto path = folder / "out.wav";
    std::ofstream(path) << "older";
    {
        WavWriter writer(path, SampleEncoding::Pcm16, 8000, 1);
        const double sample = 0.5;
        writer.write(&sample, 1);
        writer.finish();
    }
    WavReader reader(path);
    EXPECT_EQ(reader.format().frames, 1u);
}

TEST_F(WavFileOnDisk, MissingFilesAndFoldersAreNamedInTheError) {
    try {
        WavReader reader(folder / "none.wav");
        FAIL() << "a missing file was read";
    } catch (const WavError& e) {
        EXPECT_NE(std::string(e.what()).find("none.wav: no such file"), std::string::npos)
            << e.what();
    }
    EXPECT_THROW(WavReader reader(folder), WavError);
    EXPECT_THROW(WavWriter(folder / "no-folder" / "out.wav", SampleEncoding::Pcm16, 8000, 1),
                 WavError);
}

} // namespace
