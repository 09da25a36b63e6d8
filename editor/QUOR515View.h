#pragma once
// The QUOR-515 window: the background bitmap with the overload lamp, the power lamp and
// switch, four film-strip knobs and their value callouts.

#include "editor/SorvView.h"

namespace SorvLib {

class QUOR515View : public SorvView {
public:
    explicit QUOR515View(Steinberg::Vst::EditController* controller);
    ~QUOR515View() override;

    void createUI() override;

    OBJ_METHODS(QUOR515View, SorvView)

private:
    VSTGUI::SharedPointer<VSTGUI::CBitmap> background;
};

// A PNG resource of the module as a new SorvBitmap; the result owns its only reference.
VSTGUI::SharedPointer<VSTGUI::CBitmap> makeResourceBitmap(const char* name, int scaleFactor);

// The product's editor for the effect, with one reference for the caller.
Steinberg::IPlugView* createQUOR515View(Steinberg::Vst::EditController* controller);

} // namespace SorvLib
