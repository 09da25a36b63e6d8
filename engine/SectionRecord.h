#pragma once

namespace SorvLib {

// One second-order section of an analog design before it is mapped to a biquad: two poles and
// two zeros as (real, imaginary) pairs and the key the sections are ordered by. A root that is
// absent has NaN as its real part; a first-order section has only its first pole or zero.
struct SectionRecord {
    double poles[4];
    double zeros[4];
    double key;
};

} // namespace SorvLib
