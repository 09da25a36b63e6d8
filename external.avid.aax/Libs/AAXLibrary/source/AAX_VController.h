#pragma once
// The host's controller of one effect instance, with every version the host offers.

#include "AAX_IController.h"
#include "InterfacePtr.h"

class AAX_VController : public AAX_IController {
public:
    // Queries every version from host; a null host leaves them all missing.
    explicit AAX_VController(IACFUnknown* host);
    ~AAX_VController() override;

    AAX_Result Operation1(void* a) const override;
    AAX_Result GetSampleRate(AAX_CSampleRate* rate) const override;
    AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const override;
    AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const override;
    AAX_Result Operation5(void* a) const override;
    AAX_Result Operation6(void* a, void* b) const override;
    AAX_Result Operation7(void* a) const override;
    AAX_Result Operation8(void* a) const override;
    AAX_Result Operation9(void* a, void* b, void* c) override;
    AAX_Result PostPacket(int32_t fieldIndex, const void* data, uint32_t size) override;
    AAX_Result Operation11(void* a) const override;
    AAX_Result Operation12(void* a, void* b, void* c) const override;
    AAX_Result Operation13(void* a, void* b) const override;
    AAX_Result Operation14(void* a, void* b) const override;
    AAX_Result Operation15(void* a) const override;
    AAX_Result Operation16(void* a) const override;
    AAX_Result Operation17(void* a, void* b) const override;
    AAX_Result Operation18(void* a) const override;
    AAX_Result Operation19(void* a, void* b) const override;
    AAX_Result Operation20(void* a) const override;
    AAX_Result Operation21(void* a) const override;
    AAX_Result Operation22(void* a) const override;
    AAX_Result Operation23(void* a) const override;
    AAX_Result Operation24(void* a) const override;
    AAX_IPageTable* Operation25(void* a, void* b, void* c, void* d, void* e) const override;
    AAX_IPageTable* Operation26(void* a, void* b, void* c, void* d) const override;
    AAX_IPageTable* Operation27(void* a, void* b, void* c, void* d, void* e, void* f,
                                void* g) const override;
    AAX_IPageTable* Operation28(void* a, void* b, void* c, void* d, void* e) const override;

private:
    // Makes an empty host page table, lets fill run the host operation on it and wraps the
    // table when the host succeeded. The wrapper holds the only library references.
    template <class Fill> AAX_IPageTable* NewPageTable(Fill fill) const;

    InterfacePtr<AAX_IACFController> mV1;
    InterfacePtr<AAX_IACFController_V2> mV2;
    InterfacePtr<AAX_IACFController_V3> mV3;
    InterfacePtr<AAX_IACFController_V4> mV4;
    InterfacePtr<AAX_IACFController_V5> mV5;
    InterfacePtr<IACFComponentFactory> mComponentFactory;
};
