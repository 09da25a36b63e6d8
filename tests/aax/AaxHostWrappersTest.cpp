// The wrappers of the host's run-time interfaces against a host that records every call:
// each operation reaches the newest host version that has it, with its arguments unchanged,
// and answers its fixed result when the host lacks that version.

#include "AAX_IAutomationDelegate.h"
#include "AAX_IController.h"
#include "AAX_IPageTable.h"
#include "AAX_ITransport.h"
#include "AAX_IViewContainer.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"
#include "support/AaxHostModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace SorvTest;

namespace {

using Words = std::vector<uintptr_t>;
struct HostCall {
    int chain; // 0: the interface's main chain; 1: the controller's page-table chain
    int op;
    Words args;
};
std::vector<HostCall> gCalls;
AAX_Result gPageChainResult = AAX_SUCCESS;

uintptr_t w(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}
void* p(uintptr_t value) {
    return reinterpret_cast<void*>(value);
}
AAX_Point gViewSize = {10, 20};
AAX_CSampleRate gRate = 0;
AAX_EStemFormat gFormat = AAX_eStemFormat_None;
constexpr int kAnswer = 1000; // host results are kAnswer + the host operation

AAX_Result record(int op, Words args, int chain = 0) {
    gCalls.push_back({chain, op, std::move(args)});
    return chain == 1 ? gPageChainResult : kAnswer + op;
}

#define REC0(n)                                                                                    \
    AAX_Result ACFMETHODCALLTYPE Operation##n() override {                                         \
        return record(n, {});                                                                      \
    }
#define REC1(n)                                                                                    \
    AAX_Result ACFMETHODCALLTYPE Operation##n(void* a) override {                                  \
        return record(n, {w(a)});                                                                  \
    }
#define REC2(n)                                                                                    \
    AAX_Result ACFMETHODCALLTYPE Operation##n(void* a, void* b) override {                         \
        return record(n, {w(a), w(b)});                                                            \
    }
#define REC3(n)                                                                                    \
    AAX_Result ACFMETHODCALLTYPE Operation##n(void* a, void* b, void* c) override {                \
        return record(n, {w(a), w(b), w(c)});                                                      \
    }
#define REC4(n)                                                                                    \
    AAX_Result ACFMETHODCALLTYPE Operation##n(void* a, void* b, void* c, void* d) override {       \
        return record(n, {w(a), w(b), w(c), w(d)});                                                \
    }
#define REC5(n)                                                                                    \
    AAX_Result ACFMETHODCALLTYPE Operation##n(void* a, void* b, void* c, void* d, void* e)         \
        override {                                                                                 \
        return record(n, {w(a), w(b), w(c), w(d), w(e)});                                          \
    }

class HostPageTable : public AaxHostObject<AAX_IACFPageTable_V2> {
public:
    explicit HostPageTable(AaxHostModel& model)
        : AaxHostObject(model, {IID_IAAXPageTableV1, IID_IAAXPageTableV2}) {}
    REC0(1);
    REC1(2);
    REC1(3);
    REC1(4);
    REC1(5);
    REC2(6);
    REC2(7);
    REC3(8);
    REC3(9);
    REC1(10);
    REC2(11);
    REC2(12);
    REC4(13);
    REC3(14);
    REC0(15);
    REC1(16);
    REC3(17);
};

class HostTransport : public AaxHostObject<AAX_IACFTransport_V2> {
public:
    explicit HostTransport(AaxHostModel& model)
        : AaxHostObject(model, {IID_IAAXTransportV1, IID_IAAXTransportV2}) {}
    REC1(1);
    REC2(2);
    REC1(3);
    REC1(4);
    REC3(5);
    REC1(6);
    REC3(7);
    REC5(8);
    REC1(9);
    REC1(10);
    REC1(11);
    REC2(12);
    REC2(13);
    REC1(14);
};

class HostViewContainer : public AaxHostObject<AAX_IACFViewContainer_V2> {
public:
    explicit HostViewContainer(AaxHostModel& model)
        : AaxHostObject(model, {IID_IAAXViewContainerV1, IID_IAAXViewContainerV2}) {}
    int32_t ACFMETHODCALLTYPE GetType() override { return record(1, {}); }
    void* ACFMETHODCALLTYPE GetPtr() override { return p(record(2, {})); }
    REC1(3);
    AAX_Result ACFMETHODCALLTYPE SetViewSize(AAX_Point& size) override {
        return record(4, {w(&size)});
    }
    REC2(5);
    REC2(6);
    REC2(7);
    REC3(8);
    REC3(9);
    REC3(10);
};

class HostAutomation : public AaxHostObject<AAX_IACFAutomationDelegate> {
public:
    explicit HostAutomation(AaxHostModel& model)
        : AaxHostObject(model, {IID_IAAXAutomationDelegateV1}) {}
    AAX_Result ACFMETHODCALLTYPE RegisterParameter(AAX_CParamID id) override {
        return record(1, {w(id)});
    }
    AAX_Result ACFMETHODCALLTYPE UnregisterParameter(AAX_CParamID id) override {
        return record(2, {w(id)});
    }
    AAX_Result ACFMETHODCALLTYPE PostSetValueRequest(AAX_CParamID id, double value) override {
        return record(3, {w(id), static_cast<uintptr_t>(value * 1000)});
    }
    AAX_Result ACFMETHODCALLTYPE PostCurrentValue(AAX_CParamID id, double value) override {
        return record(4, {w(id), static_cast<uintptr_t>(value * 1000)});
    }
    AAX_Result ACFMETHODCALLTYPE PostTouchRequest(AAX_CParamID id) override {
        return record(5, {w(id)});
    }
    AAX_Result ACFMETHODCALLTYPE PostReleaseRequest(AAX_CParamID id) override {
        return record(6, {w(id)});
    }
    REC2(7);
};

// The controller answers both chains and the component factory that makes page tables.
class HostController : public AaxHostObject<AAX_IACFController_V3> {
public:
    explicit HostController(AaxHostModel& model)
        : AaxHostObject(model, {IID_IAAXControllerV1, IID_IAAXControllerV2, IID_IAAXControllerV3}),
          mPages(this), mFactory(this) {}
    REC1(1);
    AAX_Result ACFMETHODCALLTYPE GetSampleRate(AAX_CSampleRate* rate) override {
        return record(2, {w(rate)});
    }
    AAX_Result ACFMETHODCALLTYPE GetInputStemFormat(AAX_EStemFormat* format) override {
        return record(3, {w(format)});
    }
    AAX_Result ACFMETHODCALLTYPE GetOutputStemFormat(AAX_EStemFormat* format) override {
        return record(4, {w(format)});
    }
    REC1(5);
    REC2(6);
    REC1(7);
    REC1(8);
    REC3(9);
    AAX_Result ACFMETHODCALLTYPE PostPacket(int32_t field, const void* data,
                                            uint32_t size) override {
        return record(10, {uintptr_t(field), w(data), size});
    }
    REC2(11);
    REC2(12);
    REC1(13);
    REC2(14);
    REC1(15);
    REC1(16);
    REC2(17);
    REC3(18);
    REC1(19);
    REC1(20);
    REC1(21);
    REC1(22);
    REC1(23);

private:
    template <class Face> struct Part : Face {
        explicit Part(HostController* owner) : owner(owner) {}
        ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override {
            return owner->QueryInterface(iid, out);
        }
        acfUInt32 ACFMETHODCALLTYPE AddRef() override { return owner->AddRef(); }
        acfUInt32 ACFMETHODCALLTYPE Release() override { return owner->Release(); }
        HostController* owner;
    };
    struct Pages : Part<AAX_IACFController_V5> {
        using Part::Part;
        static Words words(std::initializer_list<void*> args, IACFUnknown* table) {
            Words out;
            for (void* a : args)
                out.push_back(w(a));
            out.push_back(table ? 1 : 0);
            return out;
        }
        AAX_Result ACFMETHODCALLTYPE Operation1(void* a, void* b, void* c, void* d, void* e,
                                                IACFUnknown* t) override {
            return record(1, words({a, b, c, d, e}, t), 1);
        }
        AAX_Result ACFMETHODCALLTYPE Operation2(void* a, void* b, void* c, void* d,
                                                IACFUnknown* t) override {
            return record(2, words({a, b, c, d}, t), 1);
        }
        AAX_Result ACFMETHODCALLTYPE Operation3(void* a, void* b, void* c, void* d, void* e,
                                                void* f, void* g, IACFUnknown* t) override {
            return record(3, words({a, b, c, d, e, f, g}, t), 1);
        }
        AAX_Result ACFMETHODCALLTYPE Operation4(void* a, void* b, void* c, void* d, void* e,
                                                IACFUnknown* t) override {
            return record(4, words({a, b, c, d, e}, t), 1);
        }
    } mPages;
    struct Factory : Part<IACFComponentFactory> {
        using Part::Part;
        ACFRESULT ACFMETHODCALLTYPE CreateComponent(const acfCLSID& clsid, IACFUnknown*,
                                                    const acfIID& iid, void** out) override {
            owner->mModel.calls.push_back("Factory.CreateComponent");
            *out = nullptr;
            if (clsid != AAXCompID_PageTable)
                return ACF_E_NOINTERFACE;
            auto* table = new HostPageTable(owner->mModel);
            table->AddRef();
            const ACFRESULT result = table->QueryInterface(iid, out);
            table->Release();
            return result;
        }
    } mFactory;

    void* otherFace(const acfIID& iid) override {
        if (iid == IID_IAAXControllerV4 || iid == IID_IAAXControllerV5)
            return static_cast<AAX_IACFController_V5*>(&mPages);
        if (iid == IID_IACFComponentFactory)
            return static_cast<IACFComponentFactory*>(&mFactory);
        return nullptr;
    }
};

// One operation of a library interface: how to call it, and what the host must see.
template <class Wrapper> struct Row {
    std::function<intptr_t(Wrapper&)> call;
    int hostOp;
    Words args;
    int version;
    intptr_t missing;
};

constexpr intptr_t kNull = AAX_ERROR_NULL_OBJECT;
constexpr intptr_t kUnimplemented = AAX_ERROR_UNIMPLEMENTED;

// Runs every row on a full host, on a host with version 1 only and on no host at all.
template <class Wrapper, class HostObject>
void checkForwarding(const std::vector<Row<Wrapper>>& rows, std::vector<acfIID> laterVersions) {
    for (int configuration = 0; configuration < 3; ++configuration) {
        AaxHostModel model;
        if (configuration == 1)
            model.omitted = laterVersions;
        auto* host = new HostObject(model);
        host->AddRef();
        {
            Wrapper wrapper(configuration == 2 ? nullptr : static_cast<IACFUnknown*>(host));
            for (size_t i = 0; i < rows.size(); ++i) {
                SCOPED_TRACE(testing::Message()
                             << "operation " << i + 1 << ", host " << configuration);
                const Row<Wrapper>& row = rows[i];
                gCalls.clear();
                const intptr_t result = row.call(wrapper);
                const bool present = configuration == 0 || (configuration == 1 && row.version == 1);
                if (present) {
                    EXPECT_EQ(result, kAnswer + row.hostOp);
                    ASSERT_EQ(gCalls.size(), 1u);
                    EXPECT_EQ(gCalls[0].op, row.hostOp);
                    EXPECT_EQ(gCalls[0].args, row.args);
                } else {
                    EXPECT_EQ(result, row.missing);
                    EXPECT_TRUE(gCalls.empty());
                }
            }
        }
        EXPECT_EQ(host->Release(), 0u) << "the wrapper kept or over-released a reference";
        EXPECT_EQ(model.liveObjects, 0);
    }
}

TEST(AaxHostWrappers, ControllerForwardsToTheNewestVersion) {
    using C = AAX_VController;
    std::vector<Row<C>> rows = {
        {[](C& c) { return c.Operation1(p(1)); }, 1, {1}, 1, kNull},
        {[](C& c) { return c.GetSampleRate(&gRate); }, 2, {w(&gRate)}, 1, kNull},
        {[](C& c) { return c.GetInputStemFormat(&gFormat); }, 3, {w(&gFormat)}, 1, kNull},
        {[](C& c) { return c.GetOutputStemFormat(&gFormat); }, 4, {w(&gFormat)}, 1, kNull},
        {[](C& c) { return c.Operation5(p(1)); }, 5, {1}, 1, kNull},
        {[](C& c) { return c.Operation6(p(1), p(2)); }, 6, {1, 2}, 1, kNull},
        {[](C& c) { return c.Operation7(p(1)); }, 7, {1}, 1, kNull},
        {[](C& c) { return c.Operation8(p(1)); }, 8, {1}, 1, kNull},
        {[](C& c) { return c.Operation9(p(1), p(2), p(3)); }, 9, {1, 2, 3}, 1, kNull},
        {[](C& c) { return c.PostPacket(1, p(2), 3); }, 10, {1, 2, 3}, 1, kNull},
        {[](C& c) { return c.Operation11(p(1)); }, 18, {1, 0, 0}, 2, kUnimplemented},
        {[](C& c) { return c.Operation12(p(1), p(2), p(3)); }, 18, {1, 2, 3}, 2, kUnimplemented},
        {[](C& c) { return c.Operation13(p(1), p(2)); }, 11, {1, 2}, 1, kNull},
        {[](C& c) { return c.Operation14(p(1), p(2)); }, 12, {1, 2}, 1, kNull},
        {[](C& c) { return c.Operation15(p(1)); }, 13, {1}, 1, kNull},
        {[](C& c) { return c.Operation16(p(1)); }, 16, {1}, 1, kNull},
        {[](C& c) { return c.Operation17(p(1), p(2)); }, 14, {1, 2}, 1, kNull},
        {[](C& c) { return c.Operation18(p(1)); }, 15, {1}, 1, kNull},
        {[](C& c) { return c.Operation19(p(1), p(2)); }, 17, {1, 2}, 1, kNull},
        {[](C& c) { return c.Operation20(p(1)); }, 19, {1}, 2, kUnimplemented},
        {[](C& c) { return c.Operation21(p(1)); }, 20, {1}, 2, kUnimplemented},
        {[](C& c) { return c.Operation22(p(1)); }, 21, {1}, 2, kUnimplemented},
        {[](C& c) { return c.Operation23(p(1)); }, 22, {1}, 3, kUnimplemented},
        {[](C& c) { return c.Operation24(p(1)); }, 23, {1}, 3, kUnimplemented},
    };
    checkForwarding<C, HostController>(rows, {IID_IAAXControllerV2, IID_IAAXControllerV3,
                                              IID_IAAXControllerV4, IID_IAAXControllerV5});
}

TEST(AaxHostWrappers, TransportForwardsToTheNewestVersion) {
    using T = AAX_VTransport;
    std::vector<Row<T>> rows = {
        {[](T& t) { return t.Operation1(p(1)); }, 1, {1}, 1, kNull},
        {[](T& t) { return t.Operation2(p(1), p(2)); }, 2, {1, 2}, 1, kNull},
        {[](T& t) { return t.Operation3(p(1)); }, 3, {1}, 1, kNull},
        {[](T& t) { return t.Operation4(p(1)); }, 4, {1}, 1, kNull},
        {[](T& t) { return t.Operation5(p(1), p(2), p(3)); }, 5, {1, 2, 3}, 1, kNull},
        {[](T& t) { return t.Operation6(p(1)); }, 6, {1}, 1, kNull},
        {[](T& t) { return t.Operation7(p(1), p(2), p(3)); }, 7, {1, 2, 3}, 1, kNull},
        {[](T& t) { return t.Operation8(p(1), p(2), p(3), p(4), p(5)); },
         8,
         {1, 2, 3, 4, 5},
         1,
         kNull},
        {[](T& t) { return t.Operation9(p(1)); }, 9, {1}, 1, kNull},
        {[](T& t) { return t.Operation10(p(1)); }, 10, {1}, 1, kNull},
        {[](T& t) { return t.Operation11(p(1)); }, 11, {1}, 2, kUnimplemented},
        {[](T& t) { return t.Operation12(p(1), p(2)); }, 12, {1, 2}, 2, kUnimplemented},
        {[](T& t) { return t.Operation13(p(1), p(2)); }, 13, {1, 2}, 2, kUnimplemented},
        {[](T& t) { return t.Operation14(p(1)); }, 14, {1}, 2, kUnimplemented},
    };
    checkForwarding<T, HostTransport>(rows, {IID_IAAXTransportV2});
}

TEST(AaxHostWrappers, ViewContainerForwardsToTheNewestVersion) {
    using V = AAX_VViewContainer;
    std::vector<Row<V>> rows = {
        {[](V& v) { return intptr_t(v.GetType()); }, 1, {}, 1, 0},
        {[](V& v) { return reinterpret_cast<intptr_t>(v.GetPtr()); }, 2, {}, 1, 0},
        {[](V& v) { return v.Operation3(p(1)); }, 3, {1}, 1, kUnimplemented},
        {[](V& v) { return v.SetViewSize(gViewSize); }, 4, {w(&gViewSize)}, 1, 0},
        {[](V& v) { return v.Operation5(p(1), p(2)); }, 5, {1, 2}, 1, kUnimplemented},
        {[](V& v) { return v.Operation6(p(1), p(2)); }, 6, {1, 2}, 1, kUnimplemented},
        {[](V& v) { return v.Operation7(p(1), p(2)); }, 7, {1, 2}, 1, kUnimplemented},
        {[](V& v) { return v.Operation8(p(1), p(2), p(3)); }, 8, {1, 2, 3}, 2, kUnimplemented},
        {[](V& v) { return v.Operation9(p(1), p(2), p(3)); }, 9, {1, 2, 3}, 2, kUnimplemented},
        {[](V& v) { return v.Operation10(p(1), p(2), p(3)); }, 10, {1, 2, 3}, 2, kUnimplemented},
    };
    checkForwarding<V, HostViewContainer>(rows, {IID_IAAXViewContainerV2});
}

TEST(AaxHostWrappers, PageTableForwardsToTheNewestVersion) {
    using P = AAX_VPageTable;
    const intptr_t u = kUnimplemented;
    std::vector<Row<P>> rows = {
        {[](P& t) { return t.Operation1(); }, 1, {}, 1, u},
        {[](P& t) { return t.Operation2(p(1)); }, 2, {1}, 1, u},
        {[](P& t) { return t.Operation3(p(1)); }, 3, {1}, 1, u},
        {[](P& t) { return t.Operation4(p(1)); }, 4, {1}, 1, u},
        {[](P& t) { return t.Operation5(p(1)); }, 5, {1}, 1, u},
        {[](P& t) { return t.Operation6(p(1), p(2)); }, 6, {1, 2}, 1, u},
        {[](P& t) { return t.Operation7(p(1), p(2)); }, 7, {1, 2}, 1, u},
        {[](P& t) { return t.Operation8(p(1), p(2), p(3)); }, 8, {1, 2, 3}, 1, u},
        {[](P& t) { return t.Operation9(p(1), p(2), p(3)); }, 9, {1, 2, 3}, 1, u},
        {[](P& t) { return t.Operation10(p(1)); }, 10, {1}, 2, u},
        {[](P& t) { return t.Operation11(p(1), p(2)); }, 11, {1, 2}, 2, u},
        {[](P& t) { return t.Operation12(p(1), p(2)); }, 12, {1, 2}, 2, u},
        {[](P& t) { return t.Operation13(p(1), p(2), p(3), p(4)); }, 13, {1, 2, 3, 4}, 2, u},
        {[](P& t) { return t.Operation14(p(1), p(2), p(3)); }, 14, {1, 2, 3}, 2, u},
        {[](P& t) { return t.Operation15(); }, 15, {}, 2, u},
        {[](P& t) { return t.Operation16(p(1)); }, 16, {1}, 2, u},
        {[](P& t) { return t.Operation17(p(1), p(2), p(3)); }, 17, {1, 2, 3}, 2, u},
    };
    checkForwarding<P, HostPageTable>(rows, {IID_IAAXPageTableV2});
}

TEST(AaxHostWrappers, AutomationDelegateForwardsEveryOperation) {
    using A = AAX_VAutomationDelegate;
    static const char id[] = "Powr";
    const uintptr_t i = w(id);
    std::vector<Row<A>> rows = {
        {[](A& a) { return a.RegisterParameter(id); }, 1, {i}, 1, kNull},
        {[](A& a) { return a.UnregisterParameter(id); }, 2, {i}, 1, kNull},
        {[](A& a) { return a.PostSetValueRequest(id, 0.25); }, 3, {i, 250}, 1, kNull},
        {[](A& a) { return a.PostCurrentValue(id, 0.75); }, 4, {i, 750}, 1, kNull},
        {[](A& a) { return a.PostTouchRequest(id); }, 5, {i}, 1, kNull},
        {[](A& a) { return a.PostReleaseRequest(id); }, 6, {i}, 1, kNull},
        {[](A& a) { return a.Operation7(p(1), p(2)); }, 7, {1, 2}, 1, kNull},
    };
    checkForwarding<A, HostAutomation>(rows, {});
}

TEST(AaxHostWrappers, ControllerMakesPageTablesOnlyWhenTheHostFillsThem) {
    AaxHostModel model;
    auto* host = new HostController(model);
    host->AddRef();
    {
        AAX_VController controller(host);
        gCalls.clear();
        std::unique_ptr<AAX_IPageTable> table(controller.Operation25(p(1), p(2), p(3), p(4), p(5)));
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(gCalls.size(), 1u);
        EXPECT_EQ(gCalls[0].chain, 1);
        EXPECT_EQ(gCalls[0].args, (Words{1, 2, 3, 4, 5, 1}));
        EXPECT_EQ(table->Operation16(p(9)), kAnswer + 16); // the new table is the host's
        table.reset();

        const int beforeFailure = model.liveObjects;
        gPageChainResult = AAX_ERROR_INVALID_VIEW_SIZE;
        EXPECT_EQ(controller.Operation26(p(1), p(2), p(3), p(4)), nullptr);
        EXPECT_EQ(controller.Operation27(p(1), p(2), p(3), p(4), p(5), p(6), p(7)), nullptr);
        gPageChainResult = AAX_SUCCESS;
        EXPECT_EQ(model.liveObjects, beforeFailure) << "a refused page table must be released";
        std::unique_ptr<AAX_IPageTable> last(controller.Operation28(p(1), p(2), p(3), p(4), p(5)));
        EXPECT_NE(last, nullptr);
        EXPECT_EQ(gCalls.back().op, 4);
    }
    EXPECT_EQ(host->Release(), 0u);
    EXPECT_EQ(model.liveObjects, 0);
}

TEST(AaxHostWrappers, ControllerWithoutPageChainNeverTouchesTheFactory) {
    AaxHostModel model;
    model.omitted = {IID_IAAXControllerV4, IID_IAAXControllerV5};
    auto* host = new HostController(model);
    host->AddRef();
    {
        AAX_VController controller(host);
        EXPECT_EQ(controller.Operation25(p(1), p(2), p(3), p(4), p(5)), nullptr);
        EXPECT_EQ(controller.Operation26(p(1), p(2), p(3), p(4)), nullptr);
        EXPECT_FALSE(model.called("Factory.CreateComponent"));
    }
    model.omitted = {IID_IACFComponentFactory};
    {
        // Without a factory the host gets no table to fill, and the caller none back.
        AAX_VController controller(host);
        gCalls.clear();
        EXPECT_EQ(controller.Operation25(p(1), p(2), p(3), p(4), p(5)), nullptr);
        ASSERT_EQ(gCalls.size(), 1u);
        EXPECT_EQ(gCalls[0].args.back(), 0u);
    }
    EXPECT_EQ(host->Release(), 0u);

    AAX_VController none(nullptr);
    EXPECT_EQ(none.Operation1(nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(none.Operation20(nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(none.Operation25(nullptr, nullptr, nullptr, nullptr, nullptr), nullptr);
}

} // namespace
