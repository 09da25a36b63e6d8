// The native build has no Win32 platform layer: the process-wide services are the test doubles,
// which tests reach through activeTestUtils() and activeMemoryPreference().
#include "support/MemoryPreference.h"
#include "support/TestUtils.h"

namespace SorvLib {

IUtils* getUtils() {
    static SorvTest::TestUtils utils;
    return &utils;
}

IPreference* getPreferences() {
    static SorvTest::MemoryPreference preferences;
    return &preferences;
}

} // namespace SorvLib
