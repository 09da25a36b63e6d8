#include "core/StringHash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SorvLib;

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

// Published FNV-1a test vectors.
TEST(Fnv1a, ThirtyTwoBitMatchesPublishedVectors) {
    EXPECT_EQ(fnv1a32(std::string()), 0x811C9DC5u);
    EXPECT_EQ(fnv1a32(std::string("a")), 0xE40C292Cu);
    EXPECT_EQ(fnv1a32(std::string("b")), 0xE70C2DE5u);
    EXPECT_EQ(fnv1a32(std::string("foo")), 0xA9F37ED7u);
    EXPECT_EQ(fnv1a32(std::string("foobar")), 0xBF9CF968u);

    EXPECT_EQ(fnv1a32(std::vector<uint8_t>()), 0x811C9DC5u);
    EXPECT_EQ(fnv1a32(bytesOf("a")), 0xE40C292Cu);
    EXPECT_EQ(fnv1a32(bytesOf("foobar")), 0xBF9CF968u);
}

TEST(Fnv1a, SixtyFourBitMatchesPublishedVectors) {
    EXPECT_EQ(fnv1a64(std::vector<uint8_t>()), 0xCBF29CE484222325ull);
    EXPECT_EQ(fnv1a64(bytesOf("a")), 0xAF63DC4C8601EC8Cull);
    EXPECT_EQ(fnv1a64(bytesOf("b")), 0xAF63DF4C8601F1A5ull);
    EXPECT_EQ(fnv1a64(bytesOf("foo")), 0xDCB27518FED9D577ull);
    EXPECT_EQ(fnv1a64(bytesOf("foobar")), 0x85944171F73967E8ull);
}

TEST(Fnv1a, StringAndByteFormsAgreeOnAscii) {
    for (const char* text : {"Main Menu", "Help Menu", "UI Size Menu", "UI Quality Menu",
                             "chongo was here!\n", "~\x01\x7F"}) {
        EXPECT_EQ(fnv1a32(std::string(text)), fnv1a32(bytesOf(text))) << text;
    }
}

TEST(Fnv1a, StringFormSignExtendsHighBytes) {
    // Expected values worked out by hand-rolled FNV-1a outside this code: the byte form is
    // the published hash, the string form XORs 0xFFFFFF00 | byte for bytes of 0x80 and up.
    EXPECT_EQ(fnv1a32(bytesOf("\x80")), 0x850B939Fu);
    EXPECT_EQ(fnv1a32(std::string("\x80")), 0x04F3B29Fu);
    EXPECT_EQ(fnv1a32(bytesOf("\xFF")), 0x7A0B824Eu);
    EXPECT_EQ(fnv1a32(std::string("\xFF")), 0xF9F3A14Eu);
    const std::string utf8 = u8"Größe";
    EXPECT_EQ(fnv1a32(bytesOf(utf8)), 0x48B3427Au);
    EXPECT_EQ(fnv1a32(utf8), 0x68D1107Au);
}

TEST(Fnv1a, StringFormTakesEmbeddedZeros) {
    const std::string withZero("a\0b", 3);
    EXPECT_EQ(fnv1a32(withZero), fnv1a32(bytesOf(withZero)));
    EXPECT_NE(fnv1a32(withZero), fnv1a32(std::string("ab")));
}

// RFC 4648 section 10 vectors, without the "=" padding.
TEST(Base32, EncodesRfc4648VectorsWithoutPadding) {
    const std::pair<const char*, const char*> vectors[] = {
        {"f", "MY"},         {"fo", "MZXQ"},        {"foo", "MZXW6"},
        {"foob", "MZXW6YQ"}, {"fooba", "MZXW6YTB"}, {"foobar", "MZXW6YTBOI"},
    };
    for (const auto& [input, expected] : vectors) {
        std::string output;
        EXPECT_TRUE(base32Encode(bytesOf(input), output)) << input;
        EXPECT_EQ(output, expected) << input;
    }
}

TEST(Base32, PadsTheLastGroupWithZeroBits) {
    std::string output;
    ASSERT_TRUE(base32Encode({0xFF}, output));
    EXPECT_EQ(output, "74"); // 11111 111(00)

    ASSERT_TRUE(base32Encode({0x00}, output));
    EXPECT_EQ(output, "AA");

    ASSERT_TRUE(base32Encode(bytesOf("abc"), output));
    EXPECT_EQ(output, "MFRGG");
}

TEST(Base32, UsesTheWholeAlphabetInOrder) {
    // These bytes hold the 5-bit groups 0, 1, 2, ..., 31 one after the other.
    const std::vector<uint8_t> ramp = {0x00, 0x44, 0x32, 0x14, 0xC7, 0x42, 0x54, 0xB6, 0x35, 0xCF,
                                       0x84, 0x65, 0x3A, 0x56, 0xD7, 0xC6, 0x75, 0xBE, 0x77, 0xDF};
    std::string output;
    ASSERT_TRUE(base32Encode(ramp, output));
    EXPECT_EQ(output, "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567");
}

TEST(Base32, LengthIsEightBitsPerByteInFiveBitLetters) {
    std::string output;
    for (size_t n = 1; n <= 16; ++n) {
        ASSERT_TRUE(base32Encode(std::vector<uint8_t>(n, 0xA5), output));
        EXPECT_EQ(output.size(), (8 * n + 4) / 5) << n;
    }
}

TEST(Base32, ReplacesPreviousOutput) {
    std::string output = "leftover";
    ASSERT_TRUE(base32Encode(bytesOf("f"), output));
    EXPECT_EQ(output, "MY");
}

TEST(Base32, EmptyInputFailsAndLeavesOutputUntouched) {
    std::string output = "untouched";
    EXPECT_FALSE(base32Encode({}, output));
    EXPECT_EQ(output, "untouched");
}
