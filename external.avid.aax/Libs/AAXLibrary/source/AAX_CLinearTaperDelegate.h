#pragma once
// A straight line from the minimum (normalized 0) to the maximum (normalized 1).

#include "AAX_ITaperDelegate.h"

#include <algorithm>

template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T> {
public:
    AAX_CLinearTaperDelegate(T minimum = 0, T maximum = 1) : mMinimum(minimum), mMaximum(maximum) {}

    AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
    T GetMaximumValue() const override { return mMaximum; }
    T GetMinimumValue() const override { return mMinimum; }
    T ConstrainRealValue(T value) const override {
        if (mMinimum == mMaximum)
            return mMinimum;
        const T low = std::min(mMinimum, mMaximum);
        const T high = std::max(mMinimum, mMaximum);
        // A value that compares with nothing (NaN) would pass both tests: it becomes the low end.
        if (!(value >= low))
            return low;
        return value > high ? high : value;
    }
    T NormalizedToReal(double normalizedValue) const override {
        return ConstrainRealValue(
            static_cast<T>((mMaximum - mMinimum) * normalizedValue + mMinimum));
    }
    double RealToNormalized(T realValue) const override {
        const T value = ConstrainRealValue(realValue);
        if (mMinimum == mMaximum)
            return 0.5;
        return (value - mMinimum) / static_cast<double>(mMaximum - mMinimum);
    }

private:
    T mMinimum;
    T mMaximum;
};
