#pragma once
// What an AAX host must receive when QUOR-515 describes itself: one effect with both
// channel layouts. The type ids were worked out apart from the product's code.

#include "AaxHostModel.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace SorvTest {

constexpr uint32_t aaxFourCC(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
           uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3]));
}

struct AaxExpectedLayout {
    const char* effectId;
    uint32_t nativeId;
    uint32_t audioSuiteId;
    AAX_CPropertyValue stemFormat;
};

inline const AaxExpectedLayout (&aaxExpectedLayouts())[2] {
    static const AaxExpectedLayout layouts[2] = {
        {"com.sorvaudiolabs.quor-515.aaxwrapper.1.1", aaxFourCC("K7U2"), aaxFourCC("DLMH"),
         AAX_eStemFormat_Mono},
        {"com.sorvaudiolabs.quor-515.aaxwrapper.2.2", aaxFourCC("2TGC"), aaxFourCC("Y6KA"),
         AAX_eStemFormat_Stereo},
    };
    return layouts;
}

// route: how the host was asked to register the procedures ("all" on the newest component
// interface, "native" one by one on older hosts).
inline void expectQuor515Description(const AaxHostCollection& collection, const char* route) {
    EXPECT_EQ(collection.manufacturer, "Sorv Audio Labs");
    EXPECT_EQ(collection.packageNames, std::vector<std::string>{"QUOR-515"});
    EXPECT_EQ(collection.packageVersion, 1u);
    ASSERT_EQ(collection.effects.size(), 1u);
    EXPECT_EQ(collection.effects[0].first, aaxExpectedLayouts()[0].effectId);

    const AaxHostEffectDescriptor& effect = *collection.effects[0].second;
    EXPECT_EQ(effect.names, std::vector<std::string>{"QUOR-515"});
    EXPECT_EQ(effect.category, static_cast<uint32_t>(AAX_ePlugInCategory_Reverb));
    EXPECT_EQ(effect.resources,
              (std::map<int32_t, std::string>{{AAX_eResourceType_PageTable, "pagetables.xml"}}));
    ASSERT_EQ(effect.meters.size(), 1u);
    EXPECT_EQ(effect.meters[0].id, aaxFourCC("GrMt"));
    EXPECT_EQ(effect.meters[0].name, "GR Meter");
    EXPECT_EQ(effect.meters[0].properties,
              (AaxProperties{{AAX_eProperty_Meter_Type, 2}, {AAX_eProperty_Meter_Orientation, 0}}));

    // The host creates the run-time objects through these two.
    EXPECT_EQ(effect.procPtrs.size(), 2u);
    for (const char* id :
         {kAAX_ProcPtrID_Create_EffectParameters, kAAX_ProcPtrID_Create_EffectGUI}) {
        const auto found = effect.procPtrs.find(id);
        ASSERT_NE(found, effect.procPtrs.end()) << id;
        EXPECT_NE(found->second, nullptr) << id;
    }

    ASSERT_EQ(effect.components.size(), 2u);
    for (size_t row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        const AaxExpectedLayout& layout = aaxExpectedLayouts()[row];
        const auto& procs = effect.components[row]->procs;
        ASSERT_EQ(procs.size(), 1u);
        EXPECT_EQ(procs[0].route, route);
        EXPECT_NE(procs[0].proc, nullptr);
        // The algorithm context: audio in and out, the block length, a port for the instance's
        // packet and the meters, each in a slot of its own, slots 0 upwards.
        std::vector<AaxField> fields;
        for (const auto& field : effect.components[row]->fields)
            fields.push_back(field.second);
        std::sort(fields.begin(), fields.end(),
                  [](const AaxField& a, const AaxField& b) { return a.kind < b.kind; });
        ASSERT_EQ(fields, (std::vector<AaxField>{{AaxField::kAudioIn},
                                                 {AaxField::kAudioOut},
                                                 {AaxField::kBufferLength},
                                                 {AaxField::kDataInPort, sizeof(void*),
                                                  AAX_eDataInPortType_Unbuffered},
                                                 {AaxField::kMeters, 0, 0, {aaxFourCC("GrMt")}}}));
        EXPECT_EQ(effect.components[row]->fields.rbegin()->first + 1, fields.size());
        AaxProperties properties = procs[0].properties;
        EXPECT_EQ(properties.erase(AAX_eProperty_NativeProcessProc), 1u);
        EXPECT_EQ(properties,
                  (AaxProperties{{AAX_eProperty_ManufacturerID, aaxFourCC("SvAu")},
                                 {AAX_eProperty_ProductID, aaxFourCC("SQr5")},
                                 {AAX_eProperty_PlugInID_Native, layout.nativeId},
                                 {AAX_eProperty_PlugInID_AudioSuite, layout.audioSuiteId},
                                 {AAX_eProperty_InputStemFormat, layout.stemFormat},
                                 {AAX_eProperty_OutputStemFormat, layout.stemFormat},
                                 {AAX_eProperty_NativeProcessProcs, 1}}));
    }
}

} // namespace SorvTest
