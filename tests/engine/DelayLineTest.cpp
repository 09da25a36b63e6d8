#include "engine/DelayLine.h"

#include <gtest/gtest.h>

#include <vector>

using SorvLib::DelayLine;

namespace {

void put(DelayLine& line, int channel, double value) {
    line.write(channel, value);
    line.advance(channel);
}

} // namespace

TEST(DelayLine, LengthOneReturnsThePreviousSample) {
    DelayLine line(1, 1);
    EXPECT_EQ(line.readOldest(0), 0.0);
    put(line, 0, 3.0);
    EXPECT_EQ(line.getPosition(0), 0);
    EXPECT_EQ(line.readOldest(0), 3.0);
    put(line, 0, 4.0);
    EXPECT_EQ(line.readOldest(0), 4.0);
    // Read after the write, whole delay 0 is the sample just written.
    line.write(0, 5.0);
    EXPECT_EQ(line.readInterpolated(0, 0.0), 5.0);
}

TEST(DelayLine, OldestIsTheSampleWrittenLengthSamplesAgoAcrossWraps) {
    const int length = 5;
    DelayLine line(2, length);
    std::vector<double> written;
    for (int n = 0; n < 23; ++n) {
        const double expected = n >= length ? written[static_cast<size_t>(n - length)] : 0.0;
        ASSERT_EQ(line.readOldest(0), expected) << "sample " << n;
        put(line, 0, n + 1.0);
        written.push_back(n + 1.0);
        ASSERT_GE(line.getPosition(0), 0);
        ASSERT_LT(line.getPosition(0), length);
    }
    // The other channel was never written.
    EXPECT_EQ(line.readOldest(1), 0.0);
    EXPECT_EQ(line.getPosition(1), 0);
}

TEST(DelayLine, InterpolatesBetweenTheTwoSamplesAroundTheDelay) {
    DelayLine line(1, 8);
    for (double v : {10.0, 20.0, 30.0, 40.0})
        put(line, 0, v);
    line.write(0, 50.0);
    // Two back is 30, three back is 20.
    EXPECT_EQ(line.readInterpolated(0, 2.25), 0.75 * 30.0 + 0.25 * 20.0);
    // The order of operations: (far − near)·f + near.
    const double f = 0.1;
    EXPECT_EQ(line.readInterpolated(0, 1.0 + f), (30.0 - 40.0) * f + 40.0);
}

TEST(DelayLine, EveryWholeDelayUpToLengthMinusOneReadsItsSampleAtEveryPosition) {
    const int length = 7;
    DelayLine line(2, length);
    std::vector<double> history;
    for (int n = 0; n < 40; ++n) {
        const double value = n * 1.5 - 7.0;
        line.write(1, value);
        history.push_back(value);
        for (int back = 0; back < length; ++back) {
            const int index = n - back;
            const double expected = index >= 0 ? history[static_cast<size_t>(index)] : 0.0;
            ASSERT_EQ(line.readInterpolated(1, back), expected)
                << "position " << line.getPosition(1) << " back " << back;
        }
        line.advance(1);
    }
}

TEST(DelayLine, ClearZeroesEverySampleAndPosition) {
    DelayLine line(2, 3);
    for (int n = 0; n < 4; ++n) {
        put(line, 0, 1.0 + n);
        put(line, 1, -1.0 - n);
    }
    line.clear();
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(line.getPosition(c), 0);
        EXPECT_EQ(line.readOldest(c), 0.0);
        for (int back = 0; back < 3; ++back)
            EXPECT_EQ(line.readInterpolated(c, back + 0.5), 0.0);
    }
    EXPECT_EQ(line.getLength(), 3);
    EXPECT_EQ(line.getChannels(), 2);
}
