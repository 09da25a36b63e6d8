#include "core/Win32Preference.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace SorvLib;

namespace {

// Each test works on its own scratch key below HKCU\SOFTWARE and removes it afterwards.
class Win32PreferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        name = "SorvPreferenceTest-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        deleteScratchKey();
        store = std::make_unique<Win32Preference>(name);
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path().c_str(), 0, KEY_READ | KEY_WRITE, &raw),
                  ERROR_SUCCESS);
    }

    void TearDown() override {
        store.reset();
        if (raw)
            RegCloseKey(raw);
        EXPECT_EQ(deleteScratchKey(), ERROR_SUCCESS);
    }

    std::string path() const { return "SOFTWARE\\" + name; }
    LONG deleteScratchKey() { return RegDeleteKeyA(HKEY_CURRENT_USER, path().c_str()); }

    // The text the registry holds under the value name, read without the store. Cut at the
    // first zero: wine's RegSetValueExA terminates string data itself, so whether the store
    // wrote a terminator cannot be seen here.
    bool rawValue(const char* value, DWORD& type, std::string& text) {
        DWORD size = 0;
        if (RegQueryValueExA(raw, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        std::string data(size + 1, '\0');
        if (RegQueryValueExA(raw, value, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                             &size) != ERROR_SUCCESS)
            return false;
        text = data.c_str();
        return true;
    }

    void writeRaw(const char* value, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExA(raw, value, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    std::string name;
    std::unique_ptr<Win32Preference> store;
    HKEY raw = nullptr;
};

} // namespace

TEST_F(Win32PreferenceTest, FirstReadStoresTheDefault) {
    EXPECT_EQ(store->getPreference("QUOR-515 UI Size", "100%"), "100%");

    DWORD type = REG_NONE;
    std::string data;
    ASSERT_TRUE(rawValue("QUOR-515 UI Size", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, "100%");

    EXPECT_EQ(store->getPreference("QUOR-515 UI Size", "200%"), "100%");
}

TEST_F(Win32PreferenceTest, WrittenValuesReadBackAndPersist) {
    EXPECT_TRUE(store->setPreference("QUOR-515 UI Scaling Quality", "High"));
    EXPECT_EQ(store->getPreference("QUOR-515 UI Scaling Quality", "Low"), "High");
    EXPECT_TRUE(store->setPreference("QUOR-515 UI Scaling Quality", "Medium"));

    store = std::make_unique<Win32Preference>(name);
    EXPECT_EQ(store->getPreference("QUOR-515 UI Scaling Quality", "Low"), "Medium");
}

TEST_F(Win32PreferenceTest, EmptyDefaultStoresNothing) {
    EXPECT_EQ(store->getPreference("QUOR-515 UI Layer Mode", ""), "");
    DWORD type = REG_NONE;
    std::string data;
    EXPECT_FALSE(rawValue("QUOR-515 UI Layer Mode", type, data));
}

TEST_F(Win32PreferenceTest, StoredEmptyTextCountsAsMissing) {
    ASSERT_TRUE(store->setPreference("QUOR-515 UI Size", ""));
    EXPECT_EQ(store->getPreference("QUOR-515 UI Size", ""), "");

    EXPECT_EQ(store->getPreference("QUOR-515 UI Size", "150%"), "150%");
    DWORD type = REG_NONE;
    std::string data;
    ASSERT_TRUE(rawValue("QUOR-515 UI Size", type, data));
    EXPECT_EQ(data, "150%");
}

TEST_F(Win32PreferenceTest, TerminatingZeroFromOtherWritersIsDropped) {
    writeRaw("QUOR-515 UI Size", REG_SZ, "125%", 5);
    EXPECT_EQ(store->getPreference("QUOR-515 UI Size", "100%"), "125%");
}

TEST_F(Win32PreferenceTest, OtherValueTypesCountAsMissing) {
    const DWORD number = 125;
    writeRaw("QUOR-515 UI Size", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store->getPreference("QUOR-515 UI Size", "100%"), "100%");

    DWORD type = REG_NONE;
    std::string data;
    ASSERT_TRUE(rawValue("QUOR-515 UI Size", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, "100%");
}

TEST(Win32Preference, UnopenableKeyRefusesWritesAndGivesEmptyText) {
    // Registry key names are limited to 255 characters, so this key cannot be created.
    Win32Preference store(std::string(300, 'k'));
    EXPECT_FALSE(store.setPreference("QUOR-515 UI Size", "100%"));
    EXPECT_EQ(store.getPreference("QUOR-515 UI Size", "100%"), "");
    EXPECT_EQ(store.getPreference("QUOR-515 UI Size", ""), "");
}

TEST(Win32Preference, GetPreferencesIsOneRegistryStore) {
    IPreference* preferences = getPreferences();
    ASSERT_NE(preferences, nullptr);
    EXPECT_EQ(preferences, getPreferences());
    EXPECT_NE(dynamic_cast<Win32Preference*>(preferences), nullptr);
}
