#pragma once

namespace SorvLib {

// One first- or second-order section, normalised so that a0 = 1, run in transposed direct
// form II with two states per channel (both 0 after a reset):
//   y = b0·x + s1;  s1 = (b1·x − a1·y) + s2;  s2 = b2·x − a2·y
// A first-order section leaves b2 = a2 = 0 and keeps only s1. The member order is the one the
// per-sample loops read them in. A default-constructed section passes its input through.
struct BiquadCoefficients {
    double b0 = 1.0;
    double b1 = 0.0;
    double a1 = 0.0;
    double b2 = 0.0;
    double a2 = 0.0;
};

} // namespace SorvLib
