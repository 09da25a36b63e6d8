// CACFUnknown reference counts, queries and aggregation; InterfacePtr; AAX_CString.

#include "AAX_CString.h"
#include "CACFUnknown.h"
#include "InterfacePtr.h"
#include "support/AaxHostModel.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace SorvTest;

namespace {

constexpr acfIID kTestIID = acfUIDFromText("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");

// A host-facing interface of the kind AAX_CEffectParameters implements.
class ITestFace : public IACFUnknown {
public:
    ACFMETHOD(int32_t) Value() = 0;
};

class TestObject : public ITestFace, public CACFUnknown {
public:
    explicit TestObject(IACFUnknown* outer = nullptr, bool* deleted = nullptr)
        : CACFUnknown(outer), mDeleted(deleted) {}
    ~TestObject() override {
        if (mDeleted)
            *mDeleted = true;
    }
    ACF_DELEGATING_UNKNOWN
    int32_t ACFMETHODCALLTYPE Value() override { return 42; }
    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override {
        if (iid == kTestIID) {
            *out = static_cast<ITestFace*>(this);
            AddRef();
            return ACF_OK;
        }
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

private:
    bool* mDeleted;
};

TEST(CACFUnknown, QueriesCountsAndDeletesOnLastRelease) {
    const int32_t liveBefore = gLiveObjectCount.load();
    bool deleted = false;
    auto* object = new TestObject(nullptr, &deleted);
    EXPECT_EQ(gLiveObjectCount.load(), liveBefore + 1);

    void* answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(
        object->QueryInterface(acfUIDFromText("00000000-0000-0000-C000-000000000046"), &answer),
        ACF_OK);
    IACFUnknown* inner = static_cast<IACFUnknown*>(answer);
    EXPECT_EQ(inner, object->GetPrivateUnknown());
    EXPECT_EQ(inner->AddRef(), 2u);
    EXPECT_EQ(inner->Release(), 1u);

    answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IAAXCollectionV1, &answer), ACF_E_NOINTERFACE);
    EXPECT_EQ(answer, nullptr);

    ASSERT_EQ(inner->QueryInterface(kTestIID, &answer), ACF_OK);
    EXPECT_EQ(static_cast<ITestFace*>(answer)->Value(), 42);
    EXPECT_EQ(static_cast<ITestFace*>(answer)->Release(), 1u);

    EXPECT_FALSE(deleted);
    EXPECT_EQ(inner->Release(), 0u);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(gLiveObjectCount.load(), liveBefore);
}

TEST(CACFUnknown, AggregatedObjectAnswersThroughItsOuterUnknown) {
    AaxHostModel model;
    {
        IACFUnknown* outer = model.newHost();
        bool deleted = false;
        auto* inner = new TestObject(outer, &deleted);
        IACFUnknown* privateUnknown = inner->GetPrivateUnknown();
        privateUnknown->AddRef();

        // The outer face belongs to the outer object: its queries and counts go there.
        void* answer = nullptr;
        EXPECT_EQ(inner->QueryInterface(IID_IACFComponentFactory, &answer), ACF_OK);
        EXPECT_EQ(answer, static_cast<void*>(outer));
        static_cast<IACFUnknown*>(answer)->Release();
        EXPECT_EQ(inner->AddRef(), 2u); // the outer's count: the test's and this one
        EXPECT_EQ(inner->Release(), 1u);
        // The private unknown answers the inner object's own interfaces.
        ASSERT_EQ(privateUnknown->QueryInterface(kTestIID, &answer), ACF_OK);
        EXPECT_EQ(static_cast<ITestFace*>(answer)->Value(), 42);
        // The face's reference belongs to the outer object, not to the inner one.
        EXPECT_EQ(static_cast<ITestFace*>(answer)->Release(), 1u);

        EXPECT_FALSE(deleted);
        EXPECT_EQ(privateUnknown->Release(), 0u);
        EXPECT_TRUE(deleted);
        EXPECT_EQ(outer->Release(), 0u);
    }
    EXPECT_EQ(model.liveObjects, 0);
}

TEST(InterfacePtr, RaisesItsCodesAndCountsReferences) {
    AaxHostModel model;
    IACFUnknown* host = model.newHost();
    try {
        InterfacePtr<IACFComponentFactory> none(nullptr, IID_IACFComponentFactory);
        FAIL();
    } catch (ACFRESULT code) {
        EXPECT_EQ(static_cast<uint32_t>(code), 0x80000003u);
    }
    try {
        InterfacePtr<IACFUnknown> none(host, IID_IAAXCollectionV1);
        FAIL();
    } catch (ACFRESULT code) {
        EXPECT_EQ(static_cast<uint32_t>(code), 0x80000004u);
    }
    try {
        InterfacePtr<IACFUnknown> empty;
        empty->AddRef();
        FAIL();
    } catch (ACFRESULT code) {
        EXPECT_EQ(static_cast<uint32_t>(code), 0x80000005u);
    }
    {
        InterfacePtr<IACFComponentFactory> factory(host, IID_IACFComponentFactory);
        InterfacePtr<IACFComponentFactory> copy;
        copy = factory;
        copy = copy;
        InterfacePtr<IACFComponentFactory> other(copy);
        EXPECT_EQ(host->AddRef(), 5u); // the test's, three holders and this one
        host->Release();
    }
    EXPECT_EQ(host->Release(), 0u);
    EXPECT_EQ(model.liveObjects, 0);
}

TEST(AaxCString, BehavesAsAByteString) {
    AAX_CString empty(static_cast<const char*>(nullptr));
    EXPECT_EQ(empty.Length(), 0u);
    EXPECT_STREQ(empty.Get(), "");
    EXPECT_EQ(empty.MaxLength(), 0xFFFFFFFEu);

    AAX_CString text("abcdef");
    EXPECT_EQ(text.MaxLength(), 0xFFFFFFFEu);
    AAX_CString cut = text;
    cut.Erase(4, 5);
    EXPECT_TRUE(cut == "abcd");
    cut = text;
    cut.Erase(1, 2);
    EXPECT_TRUE(cut == "adef");
    EXPECT_THROW(cut.Erase(5, 1), std::out_of_range);

    AAX_IString& face = text;
    face = static_cast<const AAX_IString&>(text); // assigning to itself keeps the text
    EXPECT_STREQ(text.Get(), "abcdef");
    face = "\xC3\xA9t\xC3\xA9"; // bytes pass unchanged
    EXPECT_EQ(text.Length(), 5u);
    EXPECT_EQ(text[0], '\xC3');

    AAX_CString left("left"), right("right");
    left = std::move(right);
    EXPECT_TRUE(left == "right");
    EXPECT_TRUE(right == "left");
    left += AAX_CString("+");
    EXPECT_TRUE(left != AAX_CString("right"));
    EXPECT_TRUE(left == AAX_CString(static_cast<const AAX_IString&>(AAX_CString("right+"))));
    left.Clear();
    EXPECT_EQ(left.Length(), 0u);
    left.Set(nullptr);
    EXPECT_STREQ(left.Get(), "");
}

} // namespace
