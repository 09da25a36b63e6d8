#pragma once
// What a frame asks of the editor that owns it.

#include "vstgui/VSTGUIBase.h"

namespace VSTGUI {

class CFrame;

class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;
    // An edit of the parameter with this index (a control's tag) begins or ends.
    virtual void beginEdit(int32 index) { (void)index; }
    virtual void endEdit(int32 index) { (void)index; }
    // The frame is about to take a new size; false keeps the old one.
    virtual bool beforeSizeChange(const CRect& newSize, const CRect& oldSize) {
        (void)newSize;
        (void)oldSize;
        return true;
    }
    virtual CFrame* getFrame() const { return frame; }

protected:
    CFrame* frame = nullptr;
};

} // namespace VSTGUI
