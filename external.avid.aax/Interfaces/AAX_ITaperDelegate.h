#pragma once
// Maps between a parameter's normalized value (0 to 1, what the host automates) and its real value.

class AAX_ITaperDelegateBase {
public:
    virtual ~AAX_ITaperDelegateBase() {}
};

template <typename T> class AAX_ITaperDelegate : public AAX_ITaperDelegateBase {
public:
    // A new copy that the caller owns.
    virtual AAX_ITaperDelegate* Clone() const = 0;
    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;
    virtual T ConstrainRealValue(T value) const = 0;
    virtual T NormalizedToReal(double normalizedValue) const = 0;
    virtual double RealToNormalized(T realValue) const = 0;
};
