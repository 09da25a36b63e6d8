#pragma once
// Shows a parameter's normalized value as the effect shows it, and reads it back the same way.
// AAX texts are UTF-8, the effect's are UTF-16. A text cut to a host's length stays a true
// text: a number loses decimals (rounded), never digits before the point, and a word is cut
// between characters, never inside one.

#include "AAX_IDisplayDelegate.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>

class AAXWrapper_DisplayDelegate : public AAX_IDisplayDelegate<double> {
public:
    AAXWrapper_DisplayDelegate(Steinberg::Vst::IEditController* controller,
                               Steinberg::Vst::ParamID id)
        : mController(controller), mId(id) {}
    AAXWrapper_DisplayDelegate* Clone() const override;
    bool ValueToString(double value, AAX_CString* text) const override;
    // False when even the value's whole part does not fit; the text is then empty.
    bool ValueToString(double value, int32_t maxLength, AAX_CString* text) const override;
    bool StringToValue(const AAX_CString& text, double* value) const override;

    // UTF-8 of a 16-bit text.
    static std::string ToUtf8(const Steinberg::Vst::TChar* text);
    // A 16-bit text of UTF-8; false for malformed UTF-8 or more than fits.
    static bool FromUtf8(const char* text, Steinberg::Vst::String128 out);

private:
    Steinberg::Vst::IEditController* mController;
    Steinberg::Vst::ParamID mId;
};
