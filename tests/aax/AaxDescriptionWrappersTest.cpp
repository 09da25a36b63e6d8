// The description wrappers on the host model: what reaches the host, what the library
// answers itself, and that every host object is released with its wrapper.

#include "AAX_VCollection.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VEffectDescriptor.h"
#include "AaxFixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace SorvTest;

namespace {

void* p(uintptr_t value) {
    return reinterpret_cast<void*>(value);
}
constexpr AAX_Result kForwarded = 100; // the model answers forwarded host operation n with 100 + n
// The host's own descriptor behind a library component descriptor.
AaxHostComponentDescriptor& hostOf(AAX_IComponentDescriptor* component) {
    return *static_cast<AaxHostComponentDescriptor*>(static_cast<AAX_IACFComponentDescriptor_V3*>(
        static_cast<AAX_VComponentDescriptor*>(component)->HostInterface()));
}

using AaxDescriptionWrappers = AaxFixture;

TEST_F(AaxDescriptionWrappers, ChannelFormatsAreCheckedOnlyWithoutDescriptionHost) {
    const struct {
        AAX_EProperty id;
        uint32_t value;
        bool acceptedWithoutHost;
    } cases[] = {{AAX_eProperty_InputStemFormat, (12u << 16) | 8, true},
                 {AAX_eProperty_InputStemFormat, (13u << 16) | 8, false},
                 {AAX_eProperty_OutputStemFormat, 0xFFFE0002u, false}, // index -2
                 {AAX_eProperty_OutputStemFormat, 0xFFFF0000u, true},
                 {AAX_eProperty_OutputStemFormat, 0xFF9C0000u, true},
                 {AAX_eProperty_NativeAudioBufferLength, 0xFF000000u, true}};
    for (bool withDescriptionHost : {false, true}) {
        model.omitted.clear();
        if (!withDescriptionHost)
            model.omitted = {IID_IAAXDescriptionHostV1};
        AAX_VCollection collection(host);
        AAX_IPropertyMap* map = collection.NewPropertyMap();
        ASSERT_NE(map, nullptr);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << c.id << " " << std::hex << c.value << " " << withDescriptionHost);
            model.calls.clear();
            const bool accepted = withDescriptionHost || c.acceptedWithoutHost;
            EXPECT_EQ(map->AddProperty(c.id, static_cast<int32_t>(c.value)),
                      accepted ? AAX_SUCCESS : AAX_ERROR_PROPERTY_UNDEFINED);
            EXPECT_EQ(model.called("PropertyMap.AddProperty." + std::to_string(c.id)), accepted);
        }
    }
}

TEST_F(AaxDescriptionWrappers, DuplicateCopiesPropertiesTenTo401) {
    AAX_VEffectDescriptor effect(host);
    AAX_IComponentDescriptor* component = effect.NewComponentDescriptor();
    AAX_IPropertyMap* source = component->NewPropertyMap();
    static const char text[] = "pointer";
    for (int32_t id : {9, 10, 200, 402})
        source->AddProperty(static_cast<AAX_EProperty>(id), id * 2);
    source->AddPointerProperty(static_cast<AAX_EProperty>(401), text);

    model.calls.clear();
    AAX_IPropertyMap* copy = component->DuplicatePropertyMap(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(model.called("PropertyMap.GetProperty.10"));
    EXPECT_TRUE(model.called("PropertyMap.GetProperty.401"));
    EXPECT_FALSE(model.called("PropertyMap.GetProperty.9"));
    EXPECT_FALSE(model.called("PropertyMap.GetProperty.402"));
    EXPECT_EQ(
        aaxSnapshot(copy->NewestInterface()),
        (AaxProperties{{10, 20}, {200, 400}, {401, reinterpret_cast<AAX_CPropertyValue>(text)}}));
    const void* pointer = nullptr;
    EXPECT_TRUE(copy->GetPointerProperty(static_cast<AAX_EProperty>(401), &pointer));
    EXPECT_EQ(pointer, text);
}

// Older hosts without the newest component interface: procedures are registered one by one.
class AaxManualProcessProcs : public AaxFixture {
protected:
    void SetUp() override {
        AaxFixture::SetUp();
        model.omitted = {IID_IAAXComponentDescriptorV3};
        startHostServices();
        effect = std::make_unique<AAX_VEffectDescriptor>(host);
        component = effect->NewComponentDescriptor();
        map = component->NewPropertyMap();
        ASSERT_NE(map, nullptr);
    }
    void TearDown() override {
        effect.reset();
        AaxFixture::TearDown();
    }
    AaxHostComponentDescriptor& hostComponent() { return hostOf(component); }

    std::unique_ptr<AAX_VEffectDescriptor> effect;
    AAX_IComponentDescriptor* component = nullptr;
    AAX_IPropertyMap* map = nullptr;
};

TEST_F(AaxManualProcessProcs, NoProceduresEndTheIdListAtOnce) {
    AAX_CTypeID ids[1] = {99};
    EXPECT_EQ(component->AddProcessProc(map, ids, 1), AAX_SUCCESS);
    EXPECT_EQ(ids[0], 0u);
    EXPECT_EQ(component->AddProcessProc(map, ids, 0), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ(component->AddProcessProc(map, nullptr, 0), AAX_SUCCESS);
    EXPECT_TRUE(hostComponent().procs.empty());
}

TEST_F(AaxManualProcessProcs, NativeAndTIProceduresYieldTwoIds) {
    static const char dll[] = "dsp.dll", procName[] = "process";
    int nativeProc = 0;
    map->AddProperty(AAX_eProperty_NativeProcessProcs, 1);
    map->AddPointerProperty(AAX_eProperty_NativeProcessProc, &nativeProc);
    map->AddProperty(AAX_eProperty_TIProcessProcs, 1);
    map->AddPointerProperty(AAX_eProperty_TIDLLFileName, dll);
    map->AddPointerProperty(AAX_eProperty_TIProcessProc, procName);
    map->AddProperty(AAX_eProperty_NativeAudioBufferLength, 64);

    AAX_CTypeID ids[3] = {9, 9, 9};
    EXPECT_EQ(component->AddProcessProc(map, ids, 3), AAX_SUCCESS);
    EXPECT_EQ(ids[0], 1u);
    EXPECT_EQ(ids[1], 2u);
    EXPECT_EQ(ids[2], 0u);
    const auto& procs = hostComponent().procs;
    ASSERT_EQ(procs.size(), 2u);
    EXPECT_EQ(procs[0].route, "native");
    EXPECT_EQ(procs[0].proc, &nativeProc);
    // The native registration gets a copy without the buffer length; the map keeps it.
    EXPECT_EQ(procs[0].properties.count(AAX_eProperty_NativeAudioBufferLength), 0u);
    EXPECT_EQ(procs[0].properties.count(AAX_eProperty_NativeProcessProc), 1u);
    EXPECT_EQ(procs[1].route, "ti");
    EXPECT_EQ(procs[1].proc, procName);
    EXPECT_EQ(procs[1].properties.count(AAX_eProperty_NativeAudioBufferLength), 1u);
    EXPECT_TRUE(model.traces.empty());
    EXPECT_TRUE(model.assertions.empty());

    AAX_CTypeID tooFew[2] = {};
    EXPECT_EQ(component->AddProcessProc(map, tooFew, 2), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
}

TEST_F(AaxManualProcessProcs, ACopyTheHostHoldsNothingOfStillKeepsTheBufferLengthBack) {
    int nativeProc = 0;
    map->AddProperty(AAX_eProperty_NativeProcessProcs, 1);
    map->AddPointerProperty(AAX_eProperty_NativeProcessProc, &nativeProc);
    map->AddProperty(AAX_eProperty_NativeAudioBufferLength, 64);
    model.omitted.push_back(IID_IAAXPropertyMapV1); // the host makes no more maps
    AAX_CTypeID ids[2] = {};
    EXPECT_EQ(component->AddProcessProc(map, ids, 2), AAX_SUCCESS);
    ASSERT_EQ(hostComponent().procs.size(), 1u);
    EXPECT_EQ(hostComponent().procs[0].proc, &nativeProc);
    EXPECT_TRUE(hostComponent().procs[0].properties.empty());
}

TEST_F(AaxManualProcessProcs, MissingProceduresAreTracedAndRegisteredAnyway) {
    map->AddProperty(AAX_eProperty_NativeProcessProcsAlt, 1);
    map->AddProperty(AAX_eProperty_TIProcessProcs, 1);
    AAX_CTypeID ids[3] = {};
    EXPECT_EQ(component->AddProcessProc(map, ids, 3), AAX_SUCCESS);
    ASSERT_EQ(hostComponent().procs.size(), 2u);
    EXPECT_EQ(hostComponent().procs[0].proc, nullptr);
    const char* prefix =
        "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for ";
    ASSERT_EQ(model.traces.size(), 3u);
    for (const AaxTrace& trace : model.traces)
        EXPECT_EQ(trace.priority, 0x08000000);
    EXPECT_EQ(model.traces[0].text, std::string(prefix) + "AAX_eProperty_NativeProcessProc");
    EXPECT_EQ(model.traces[1].text, std::string(prefix) + "AAX_eProperty_TIDLLFileName");
    EXPECT_EQ(model.traces[2].text, std::string(prefix) + "AAX_eProperty_TIProcessProc");
}

TEST_F(AaxDescriptionWrappers, NewestComponentInterfaceTakesTheWholeMap) {
    AAX_VEffectDescriptor effect(host);
    AAX_IComponentDescriptor* component = effect.NewComponentDescriptor();
    AAX_IPropertyMap* map = component->NewPropertyMap();
    map->AddProperty(AAX_eProperty_NativeProcessProcs, 1);
    AAX_CTypeID ids[2] = {};
    EXPECT_EQ(component->AddProcessProc(map, ids, 2), AAX_SUCCESS);
    EXPECT_EQ(ids[0], 1u);
    EXPECT_TRUE(model.called("Component.AddProcessProc"));
    EXPECT_FALSE(model.called("Component.AddProcessProc_Native"));
    // Without the newest interface and without a map nothing can be registered.
    EXPECT_EQ(AAX_VComponentDescriptor(nullptr).AddProcessProc(map, ids, 2), AAX_ERROR_NULL_OBJECT);
    model.omitted = {IID_IAAXComponentDescriptorV3};
    EXPECT_EQ(AAX_VComponentDescriptor(host).AddProcessProc(nullptr, ids, 2),
              AAX_ERROR_NULL_OBJECT);
}

TEST_F(AaxDescriptionWrappers, PositionalOperationsReachTheirHostOperations) {
    AAX_VCollection collection(host);
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    AAX_IComponentDescriptor* c = effect->NewComponentDescriptor();
    AAX_IPropertyMap* map = c->NewPropertyMap();
    const struct {
        AAX_Result result;
        int hostOp;
    } component[] = {{c->Operation1(), 1},
                     {c->Operation5(p(1)), 6},
                     {c->Operation6(p(1)), 7},
                     {c->Operation7(p(1)), 8},
                     {c->Operation9(p(1), p(2), p(3)), 10},
                     {c->Operation10(p(1), p(2), p(3)), 11},
                     {c->Operation11(p(1), p(2)), 17},
                     {c->Operation12(p(1), p(2)), 12},
                     {c->Operation14(p(1), p(2), p(3), p(4)), 13},
                     {c->Operation15(p(1), p(2)), 2}};
    for (const auto& row : component)
        EXPECT_EQ(row.result, kForwarded + row.hostOp);
    // The context's fields reach the host with their slots, kinds and meter ids.
    const AAX_CTypeID meters[2] = {0x47724D74, 0x4F6C4C70};
    EXPECT_EQ(c->AddAudioIn(3), AAX_SUCCESS);
    EXPECT_EQ(c->AddAudioOut(4), AAX_SUCCESS);
    EXPECT_EQ(c->AddAudioBufferLength(0), AAX_SUCCESS);
    EXPECT_EQ(c->AddDataInPort(1, 8, AAX_eDataInPortType_Unbuffered), AAX_SUCCESS);
    EXPECT_EQ(c->AddMeters(2, meters, 2), AAX_SUCCESS);
    EXPECT_EQ(hostOf(c).fields, (std::map<AAX_CFieldIndex, AaxField>{
                                    {0, {AaxField::kBufferLength}},
                                    {1, {AaxField::kDataInPort, 8, AAX_eDataInPortType_Unbuffered}},
                                    {2, {AaxField::kMeters, 0, 0, {meters[0], meters[1]}}},
                                    {3, {AaxField::kAudioIn}},
                                    {4, {AaxField::kAudioOut}}}));
    EXPECT_EQ(effect->Operation5(p(1), p(2)), kForwarded + 4);
    EXPECT_EQ(effect->AddProcPtr(p(1), "proc"), AAX_SUCCESS);
    EXPECT_TRUE(model.called("Effect.AddProcPtr"));
    EXPECT_EQ(effect->Operation11(p(1), p(2), p(3), p(4)), kForwarded + 9);
    EXPECT_EQ(map->Operation7(p(1), p(2), p(3)), kForwarded + 4);
    EXPECT_TRUE(map->Operation8(p(1), p(2), p(3)));
    EXPECT_EQ(collection.AddEffect("id", nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_FALSE(model.called("Collection.AddEffect"));

    // A map of a host with version 1 only: later operations answer their codes.
    model.omitted = {IID_IAAXPropertyMapV2, IID_IAAXPropertyMapV3};
    AAX_IPropertyMap* older = c->NewPropertyMap();
    ASSERT_NE(older, nullptr);
    EXPECT_EQ(older->Operation7(p(1), p(2), p(3)), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_FALSE(older->Operation8(p(1), p(2), p(3)));
    ASSERT_NE(older->NewestInterface(), nullptr);
    EXPECT_EQ(older->AddProperty(AAX_eProperty_ProductID, 5), AAX_SUCCESS);
    EXPECT_EQ(aaxSnapshot(older->NewestInterface()), (AaxProperties{{AAX_eProperty_ProductID, 5}}));
}

TEST_F(AaxDescriptionWrappers, WithoutHostEveryOperationAnswersItsCode) {
    model.omitted = {IID_IACFComponentFactory};
    AAX_VCollection collection(host);
    EXPECT_EQ(collection.NewPropertyMap(), nullptr);
    EXPECT_EQ(collection.SetManufacturerName("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection.SetProperties(nullptr), AAX_ERROR_NULL_OBJECT);
    AAX_IEffectDescriptor* effect = collection.NewDescriptor();
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->AddName("x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(effect->NewPropertyMap(), nullptr);
    EXPECT_EQ(effect->AddMeterDescription(1, "m", nullptr), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(effect->Operation11(p(1), p(2), p(3), p(4)), AAX_ERROR_UNIMPLEMENTED);
    AAX_IComponentDescriptor* c = effect->NewComponentDescriptor();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Operation1(), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(c->AddAudioIn(0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(c->AddMeters(0, nullptr, 0), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(c->Operation11(p(1), p(2)), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(c->AddProcessProc_Native(nullptr, nullptr, nullptr, nullptr, nullptr),
              AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(c->DuplicatePropertyMap(nullptr), nullptr);
    EXPECT_EQ(collection.AddEffect("id", effect), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(collection.HostCollection().get(), nullptr);
}

TEST_F(AaxDescriptionWrappers, DescriptionHostReportsFeatures) {
    const acfUID feature = acfUIDFromText("01234567-89AB-CDEF-0123-456789ABCDEF");
    {
        AAX_VCollection collection(host);
        ASSERT_NE(collection.DescriptionHost(), nullptr);
        EXPECT_NE(collection.HostDefinition(), nullptr);
        std::unique_ptr<AAX_IFeatureInfo> info(
            collection.DescriptionHost()->AcquireFeatureProperties(feature));
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->ID() == feature);
        int32_t level = 0;
        EXPECT_EQ(info->SupportLevel(&level), AAX_SUCCESS);
        EXPECT_EQ(level, 2);
        std::unique_ptr<AAX_IPropertyMap> properties(info->AcquireProperties());
        ASSERT_NE(properties, nullptr);
        AAX_CPropertyValue value = 0;
        EXPECT_TRUE(properties->GetProperty(AAX_eProperty_MinProperty, &value));
        EXPECT_EQ(value, 7);
    }
    // A host that reports a failure beside the object it hands back gets the object back.
    model.failBesideObject = true;
    {
        AAX_VCollection collection(host);
        ASSERT_NE(collection.DescriptionHost(), nullptr);
        EXPECT_EQ(collection.DescriptionHost()->AcquireFeatureProperties(feature), nullptr);
        EXPECT_EQ(collection.NewPropertyMap()->NewestInterface(), nullptr);
        model.failBesideObject = false;
        std::unique_ptr<AAX_IFeatureInfo> info(
            collection.DescriptionHost()->AcquireFeatureProperties(feature));
        model.failBesideObject = true;
        EXPECT_EQ(info->AcquireProperties(), nullptr);
        model.failBesideObject = false;
    }
    model.omitted = {IID_IAAXDescriptionHostV1, IID_IACFDefinition};
    AAX_VCollection older(host);
    EXPECT_EQ(older.DescriptionHost(), nullptr);
    EXPECT_EQ(static_cast<const AAX_VCollection&>(older).DescriptionHost(), nullptr);
    EXPECT_EQ(older.HostDefinition(), nullptr);
}

} // namespace
