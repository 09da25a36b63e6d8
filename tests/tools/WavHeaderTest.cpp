// The WAV reader against headers no writer of ours makes: extensible formats, odd chunks,
// wrong sizes, truncation and formats it must refuse with a clear message.

#include "WavError.h"
#include "WavReader.h"
#include "WavTestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace SorvTools;
using namespace SorvToolsTest;

namespace {

// Four stereo 16-bit frames.
const Bytes kData16 = {0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F, 0x00, 0x80,
                       0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};

WavFormat formatOf(const std::string& bytes) {
    std::istringstream in(bytes);
    return WavReader(in).format();
}

// The reader's message for bytes it must refuse.
std::string refusal(const std::string& bytes) {
    std::istringstream in(bytes);
    try {
        WavReader reader(in);
    } catch (const WavError& e) {
        return e.what();
    }
    return "(accepted)";
}

#define EXPECT_REFUSED(bytes, words)                                                               \
    EXPECT_PRED_FORMAT2(testing::IsSubstring, words, refusal(bytes))

TEST(WavHeader, ReadsExtensiblePcmAndFloat) {
    const std::string pcm = WavBytes()
                                .chunk("fmt ", extensibleBody(1, 2, 44100, 16, 16))
                                .chunk("data", kData16)
                                .build();
    WavFormat format = formatOf(pcm);
    EXPECT_TRUE(format.extensible);
    EXPECT_EQ(format.encoding, SampleEncoding::Pcm16);
    EXPECT_EQ(format.frames, 4u);

    Bytes floats;
    put32(floats, 0x3F000000); // 0.5f
    put32(floats, 0xBF800000); // -1.0f
    std::istringstream in(WavBytes()
                              .chunk("fmt ", extensibleBody(3, 1, 96000, 32, 32))
                              .chunk("data", floats)
                              .build());
    WavReader reader(in);
    EXPECT_EQ(reader.format().encoding, SampleEncoding::Float32);
    double back[2] = {};
    ASSERT_EQ(reader.read(back, 2), 2u);
    EXPECT_EQ(back[0], 0.5);
    EXPECT_EQ(back[1], -1.0);
}

TEST(WavHeader, Reads20ValidBitsInA24BitContainerAtFullScale) {
    Bytes data = {0x00, 0x00, 0x80, 0xF0, 0xFF, 0x7F}; // -1.0 and the top 20-bit step
    std::istringstream in(
        WavBytes().chunk("fmt ", extensibleBody(1, 1, 48000, 24, 20)).chunk("data", data).build());
    WavReader reader(in);
    double back[2] = {};
    ASSERT_EQ(reader.read(back, 2), 2u);
    EXPECT_EQ(back[0], -1.0);
    EXPECT_EQ(back[1], 1.0 - 1.0 / 524288.0);
}

TEST(WavHeader, SkipsUnknownChunksWithTheirPadByte) {
    const std::string bytes = WavBytes()
                                  .chunk("LIST", {'a', 'b', 'c'}) // odd: one pad byte follows
                                  .chunk("fmt ", fmtBody(1, 2, 44100, 16))
                                  .chunk("junk", {1, 2, 3, 4, 5})
                                  .chunk("data", kData16)
                                  .build();
    std::istringstream in(bytes);
    WavReader reader(in);
    double back[8] = {};
    ASSERT_EQ(reader.read(back, 4), 4u);
    EXPECT_EQ(back[0], 0.5);
    EXPECT_EQ(back[1], -0.5);
    EXPECT_EQ(back[3], -1.0);
    EXPECT_EQ(back[5], -1.0 / 32768.0);
}

TEST(WavHeader, AnOddChunkWithoutItsPadByteBreaksTheChunkChain) {
    const std::string bytes = WavBytes()
                                  .chunk("LIST", {'a', 'b', 'c'}, -1, false)
                                  .chunk("fmt ", fmtBody(1, 2, 44100, 16))
                                  .chunk("data", kData16)
                                  .build();
    EXPECT_NE(refusal(bytes), "(accepted)");
}

TEST(WavHeader, IgnoresAPartialLastFrameAndReadsAnEmptyDataChunk) {
    Bytes data = kData16;
    data.resize(7); // one whole stereo frame and three stray bytes
    EXPECT_EQ(
        formatOf(WavBytes().chunk("fmt ", fmtBody(1, 2, 8000, 16)).chunk("data", data).build())
            .frames,
        1u);
    std::istringstream in(
        WavBytes().chunk("fmt ", fmtBody(1, 1, 8000, 16)).chunk("data", {}).build());
    WavReader reader(in);
    EXPECT_EQ(reader.format().frames, 0u);
    double sample = 7.0;
    EXPECT_EQ(reader.read(&sample, 1), 0u);
    EXPECT_EQ(sample, 7.0);
}

TEST(WavHeader, RefusesWhatIsNotAWavFile) {
    EXPECT_REFUSED("", "not a WAV file");
    EXPECT_REFUSED("Hello, this is text and no audio at all.", "not a WAV file (no RIFF header)");
    EXPECT_REFUSED(WavBytes().chunk("fmt ", fmtBody(1, 1, 8000, 16)).build(-1, "AVI "),
                   "not a WAV file (the RIFF form is 'AVI '");
    std::string rifx =
        WavBytes().chunk("fmt ", fmtBody(1, 1, 8000, 16)).chunk("data", {0, 0}).build();
    rifx[3] = 'X';
    EXPECT_REFUSED(rifx, "unsupported WAV variant 'RIFX'");
}

TEST(WavHeader, RefusesTruncatedFilesAndChunksThatRunPastTheEnd) {
    const std::string whole =
        WavBytes().chunk("fmt ", fmtBody(1, 2, 44100, 16)).chunk("data", kData16).build();
    for (size_t cut : {4u, 11u, 20u, 40u, 44u, 50u, 59u})
        EXPECT_REFUSED(whole.substr(0, cut),
                       whole.size() > cut && cut >= 12 ? "truncated" : "not a WAV")
            << "cut at " << cut;

    // The RIFF size agrees with the file, but the data chunk claims more than there is.
    const std::string longData =
        WavBytes().chunk("fmt ", fmtBody(1, 2, 44100, 16)).chunk("data", kData16, 1600).build();
    EXPECT_REFUSED(longData, "chunk 'data' at byte 36 declares 1600 bytes, only 16 follow");
    // An unknown chunk whose size overruns the file.
    EXPECT_REFUSED(WavBytes()
                       .chunk("fmt ", fmtBody(1, 2, 44100, 16))
                       .chunk("LIST", {1, 2, 3, 4}, 0x7FFFFFF0)
                       .chunk("data", kData16)
                       .build(),
                   "chunk 'LIST'");
    // A RIFF size beyond the file.
    EXPECT_REFUSED(
        WavBytes().chunk("fmt ", fmtBody(1, 2, 44100, 16)).chunk("data", kData16).build(9000),
        "the RIFF header declares 9008 bytes, the file has 60");
}

TEST(WavHeader, RefusesMalformedFormatChunks) {
    Bytes shortFmt = fmtBody(1, 2, 44100, 16);
    shortFmt.resize(14);
    EXPECT_REFUSED(WavBytes().chunk("fmt ", shortFmt).chunk("data", kData16).build(),
                   "fmt chunk of 14 bytes is too short");
    Bytes shortExtensible = extensibleBody(1, 2, 44100, 16, 16);
    shortExtensible.resize(24);
    EXPECT_REFUSED(WavBytes().chunk("fmt ", shortExtensible).chunk("data", kData16).build(),
                   "WAVE_FORMAT_EXTENSIBLE fmt chunk of 24 bytes is too short");
    EXPECT_REFUSED(
        WavBytes().chunk("fmt ", fmtBody(1, 0, 44100, 16, 4)).chunk("data", kData16).build(),
        "0 channels");
    EXPECT_REFUSED(WavBytes().chunk("fmt ", fmtBody(1, 2, 0, 16)).chunk("data", kData16).build(),
                   "sample rate of 0 Hz");
    EXPECT_REFUSED(
        WavBytes().chunk("fmt ", fmtBody(1, 2, 44100, 16, 6)).chunk("data", kData16).build(),
        "block align 6 does not fit 2 channels of 16-bit PCM (4)");
    EXPECT_REFUSED(WavBytes()
                       .chunk("fmt ", fmtBody(1, 2, 44100, 16))
                       .chunk("fmt ", fmtBody(1, 2, 44100, 16))
                       .chunk("data", kData16)
                       .build(),
                   "more than one fmt chunk");
    EXPECT_REFUSED(
        WavBytes().chunk("data", kData16).chunk("fmt ", fmtBody(1, 2, 44100, 16)).build(),
        "the data chunk comes before the fmt chunk");
    EXPECT_REFUSED(WavBytes().chunk("fmt ", fmtBody(1, 2, 44100, 16)).build(), "no data chunk");
    EXPECT_REFUSED(WavBytes().chunk("LIST", {1, 2}).build(), "no fmt chunk");
    EXPECT_REFUSED(WavBytes()
                       .chunk("fmt ", extensibleBody(1, 2, 44100, 16, 24))
                       .chunk("data", kData16)
                       .build(),
                   "24 valid bits in a 16-bit container");
}

TEST(WavHeader, RefusesEncodingsItDoesNotRead) {
    EXPECT_REFUSED(WavBytes().chunk("fmt ", fmtBody(1, 2, 44100, 8)).chunk("data", kData16).build(),
                   "unsupported encoding: 8-bit PCM");
    EXPECT_REFUSED(
        WavBytes().chunk("fmt ", fmtBody(3, 1, 44100, 64)).chunk("data", kData16).build(),
        "unsupported encoding: 64-bit float");
    EXPECT_REFUSED(
        WavBytes().chunk("fmt ", fmtBody(2, 1, 44100, 4, 256)).chunk("data", kData16).build(),
        "unsupported encoding: format tag 0x0002");
    EXPECT_REFUSED(WavBytes()
                       .chunk("fmt ", extensibleBody(1, 2, 44100, 16, 16, false))
                       .chunk("data", kData16)
                       .build(),
                   "unknown sub-format");
    EXPECT_REFUSED(
        WavBytes().chunk("fmt ", extensibleBody(6, 1, 8000, 8, 8)).chunk("data", kData16).build(),
        "format tag 0x0006");
}

TEST(WavHeader, ReadsThreeChannelsForTheCallerToJudge) {
    Bytes data(3 * 3 * 2, 0);
    const WavFormat format =
        formatOf(WavBytes().chunk("fmt ", fmtBody(1, 3, 44100, 24)).chunk("data", data).build());
    EXPECT_EQ(format.channels, 3);
    EXPECT_EQ(format.frames, 2u);
}

} // namespace
