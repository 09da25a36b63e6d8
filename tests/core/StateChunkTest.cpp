// The state chunk: exact bytes, round trips, every failure case, and random chunks.

#include "core/CoreIds.h"
#include "support/EffectFixture.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes saveState(TestEffect& effect) {
    MemoryStream stream;
    EXPECT_EQ(effect.getState(&stream), kResultOk);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(stream.getData());
    return Bytes(data, data + stream.getSize());
}

tresult loadState(TestEffect& effect, const Bytes& bytes) {
    MemoryStream stream;
    int32 written = 0;
    if (!bytes.empty())
        stream.write(const_cast<unsigned char*>(bytes.data()), static_cast<int32>(bytes.size()),
                     &written);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    return effect.setState(&stream);
}

void put(Bytes& bytes, uint32 value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<unsigned char>(value >> shift));
}

uint32 get(const Bytes& bytes, size_t offset) {
    return (uint32(bytes[offset]) << 24) | (uint32(bytes[offset + 1]) << 16) |
           (uint32(bytes[offset + 2]) << 8) | uint32(bytes[offset + 3]);
}

uint32 floatBits(float value) {
    uint32 bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

Bytes chunk(const std::vector<std::pair<uint32, uint32>>& rows,
            uint32 magic = SorvLib::kStateChunkMagic) {
    Bytes bytes;
    put(bytes, magic);
    put(bytes, 1);
    put(bytes, static_cast<uint32>(8 * rows.size() + 16));
    put(bytes, static_cast<uint32>(rows.size()));
    for (auto& row : rows) {
        put(bytes, row.first);
        put(bytes, row.second);
    }
    return bytes;
}

TEST(StateChunk, HasHeaderAndOneRowPerParameterInIndexOrder) {
    EffectFixture effect;
    effect->setParamNormalized(kLevelId, 0.3);
    effect->setParamNormalized(SorvLib::kMasterBypassId, 1.0);
    Bytes bytes = saveState(*effect);
    ASSERT_EQ(bytes.size(), 16u + 4 * 8);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "SvCk");
    EXPECT_EQ(get(bytes, 4), 1u);
    EXPECT_EQ(get(bytes, 8), 48u);
    EXPECT_EQ(get(bytes, 12), 4u);
    EXPECT_EQ(get(bytes, 16), SorvLib::kMasterBypassId);
    EXPECT_EQ(get(bytes, 20), floatBits(1.0f));
    EXPECT_EQ(get(bytes, 24), kLevelId);
    EXPECT_EQ(get(bytes, 28), floatBits(0.3f));
    EXPECT_EQ(get(bytes, 32), kStepsId);
    EXPECT_EQ(get(bytes, 40), kMeterId);
}

TEST(StateChunk, StoresBypassQuantised) {
    EffectFixture effect;
    effect->setParamNormalized(SorvLib::kMasterBypassId, 0.5);
    EXPECT_EQ(get(saveState(*effect), 20), floatBits(0.0f));
}

TEST(StateChunk, RoundTripGivesIdenticalBytes) {
    EffectFixture source(WrapperKind::Vst2);
    source->setParamNormalized(SorvLib::kProgramId, 0.5);
    source->setParamNormalized(kLevelId, 0.6180339887);
    source->setParamNormalized(kStepsId, 0.7);
    source->setParamNormalized(kMeterId, 0.25);
    Bytes saved = saveState(*source);

    EffectFixture target(WrapperKind::Vst2);
    EXPECT_EQ(loadState(*target, saved), kResultOk);
    EXPECT_EQ(saveState(*target), saved);
}

TEST(StateChunk, ProgramRowHoldsTheIndex) {
    EffectFixture effect(WrapperKind::Vst2);
    effect->setParamNormalized(SorvLib::kProgramId, 1.0);
    Bytes bytes = saveState(*effect);
    ASSERT_EQ(bytes.size(), 16u + 5 * 8);
    EXPECT_EQ(get(bytes, 24), SorvLib::kProgramId);
    EXPECT_EQ(get(bytes, 28), 2u);

    EffectFixture target(WrapperKind::Vst2);
    ASSERT_EQ(loadState(*target, bytes), kResultOk);
    EXPECT_EQ(target->getParamNormalized(SorvLib::kProgramId), 1.0);
}

TEST(StateChunk, Vst2ChunkLoadsIntoNativeInstance) {
    EffectFixture vst2(WrapperKind::Vst2);
    vst2->setParamNormalized(SorvLib::kProgramId, 0.5);
    vst2->setParamNormalized(kLevelId, 0.125);
    Bytes bytes = saveState(*vst2);

    EffectFixture native;
    EXPECT_EQ(loadState(*native, bytes), kResultOk);
    EXPECT_EQ(native->getParamNormalized(kLevelId), 0.125);
    EXPECT_EQ(native->getParamNormalized(kStepsId), 0.5);
    EXPECT_TRUE(native.handler.restarts.empty());
}

TEST(StateChunk, ToleratesOtherVersionAndWrongSize) {
    EffectFixture effect;
    Bytes bytes = chunk({{kLevelId, floatBits(0.75f)}});
    bytes[7] = 2;
    bytes[11] = 99;
    EXPECT_EQ(loadState(*effect, bytes), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.75);
}

TEST(StateChunk, FailureCasesAnswerAsDocumented) {
    EffectFixture effect;
    EXPECT_EQ(effect->getState(nullptr), kResultFalse);
    EXPECT_EQ(effect->setState(nullptr), kResultFalse);

    effect->setParamNormalized(kLevelId, 0.5);
    EXPECT_EQ(loadState(*effect, chunk({{kLevelId, floatBits(0.1f)}}, 0x53764358)), kResultFalse);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.5);

    Bytes header = chunk({{kLevelId, floatBits(0.1f)}});
    EXPECT_EQ(loadState(*effect, Bytes(header.begin(), header.begin() + 14)), kResultFalse);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.5);

    // A chunk whose last row is cut short applies none of its rows.
    Bytes rows = chunk({{kLevelId, floatBits(0.25f)}, {kStepsId, floatBits(0.4f)}});
    rows.resize(rows.size() - 2);
    EXPECT_EQ(loadState(*effect, rows), kResultFalse);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.5);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 0.0);
    rows.resize(rows.size() + 2);
    EXPECT_EQ(loadState(*effect, rows), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);

    // Unknown ids change nothing; no rows restore nothing; a count beyond any chunk is refused.
    EXPECT_EQ(
        loadState(*effect, chunk({{0xABCDEF01, floatBits(0.9f)}, {kStepsId, floatBits(0.6f)}})),
        kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 0.6);
    EXPECT_EQ(loadState(*effect, chunk({})), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 0.6);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);
    Bytes negative = chunk({{kLevelId, floatBits(0.9f)}});
    negative[12] = 0xFF;
    EXPECT_EQ(loadState(*effect, negative), kResultFalse);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);
}

// A stream that accepts a fixed number of bytes and then refuses.
class FullStream : public MemoryStream {
public:
    explicit FullStream(int32 room) : room(room) {}
    tresult PLUGIN_API write(void* buffer, int32 count, int32* written) override {
        if (count > room)
            return kResultFalse;
        room -= count;
        return MemoryStream::write(buffer, count, written);
    }
    int32 room;
};

TEST(StateChunk, FailedWriteKeepsWhatWasWritten) {
    EffectFixture effect;
    FullStream stream(20);
    EXPECT_EQ(effect->getState(&stream), kResultFalse);
    ASSERT_EQ(stream.getSize(), 20);
    EXPECT_EQ(std::memcmp(stream.getData(), "SvCk", 4), 0);
}

TEST(StateChunk, ProgramIndexBeyondTheListLoadsTheLastProgram) {
    EffectFixture effect(WrapperKind::Vst2);
    ASSERT_EQ(loadState(*effect, chunk({{SorvLib::kProgramId, 0x7FFFFFFF}})), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(SorvLib::kProgramId), 1.0);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.75);
    ASSERT_EQ(loadState(*effect, chunk({{SorvLib::kProgramId, 0xFFFFFFFF}})), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(SorvLib::kProgramId), 0.0);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);
}

TEST(StateChunk, NonNumericValuesChangeNothing) {
    EffectFixture effect;
    effect->setParamNormalized(kLevelId, 0.5);
    EXPECT_EQ(loadState(*effect, chunk({{kStepsId, floatBits(0.3f)}, {kLevelId, 0x7FC00000}})),
              kResultFalse);
    EXPECT_EQ(loadState(*effect, chunk({{kStepsId, floatBits(0.3f)}, {kLevelId, 0x7F800000}})),
              kResultFalse);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.5);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 0.0);
}

TEST(StateChunk, RandomChunksNeverCrashAndWrongMagicNeverSucceeds) {
    EffectFixture effect(WrapperKind::Vst2);
    Bytes good = saveState(*effect);
    std::mt19937 random(515);
    for (int round = 0; round < 4000; ++round) {
        Bytes bytes;
        if (round % 2 == 0) {
            bytes.resize(random() % 64);
            for (auto& byte : bytes)
                byte = static_cast<unsigned char>(random());
        } else {
            bytes = good;
            for (int flips = 1 + random() % 4; flips > 0; --flips)
                bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
            bytes.resize(random() % (bytes.size() + 8));
        }
        tresult result = loadState(*effect, bytes);
        bool magicOk = bytes.size() >= 16 && get(bytes, 0) == SorvLib::kStateChunkMagic;
        if (bytes.empty()) {
            EXPECT_EQ(result, kResultOk) << "round " << round; // nothing to restore
        } else if (!magicOk) {
            EXPECT_EQ(result, kResultFalse) << "round " << round;
        }
        for (ParamID id : {kLevelId, kStepsId, kMeterId, SorvLib::kProgramId}) {
            double value = effect->getParamNormalized(id);
            EXPECT_TRUE(value >= 0.0 && value <= 1.0) << "round " << round;
        }
    }
}

} // namespace
