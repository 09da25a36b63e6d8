#pragma once
// The top view of an editor: owns the pixel buffer and the native window, zooms all views,
// routes the mouse (with capture) and keys, keeps the focus and drives idle updates.

#include "vstgui/CDrawContext.h"
#include "vstgui/CViewContainer.h"
#include "vstgui/IMouseObserver.h"
#include "vstgui/IPlatformFrame.h"
#include "vstgui/VSTGUIEditorInterface.h"

#include <vector>

namespace VSTGUI {

class CFrame : public CViewContainer {
public:
    CFrame(const CRect& size, VSTGUIEditorInterface* editor);

    // Opens the native window inside the parent; false when that fails.
    bool open(void* parent, PlatformType type = PlatformType::kDefaultNative);
    // Removes every view, destroys the window and drops the frame's own reference.
    void close();
    IPlatformFrame* getPlatformFrame() const { return platformFrame.get(); }
    VSTGUIEditorInterface* getEditor() const { return editor; }

    // Scales every view; asks the editor first. False for a factor of 0 or less or when
    // the editor refuses the new size.
    bool setZoom(double factor);
    double getZoom() const { return zoom; }
    // New unscaled size; the editor is asked first.
    bool setSize(CCoord width, CCoord height);
    void setBitmapInterpolationQuality(BitmapInterpolationQuality q);
    BitmapInterpolationQuality getBitmapInterpolationQuality() const { return quality; }

    // Observers are not owned; each must unregister before it goes.
    void registerMouseObserver(IMouseObserver* observer);
    void unregisterMouseObserver(IMouseObserver* observer);

    void setFocusView(CView* view);
    CView* getFocusView() const { return focusView; }

    // Edits of controls reach the editor.
    void beginEdit(int32 index);
    void endEdit(int32 index);

    // Idle updates for the views that want them.
    void idle();

    // Pixels: the frame's buffer, its size, and drawing of a part of it.
    const PixelBuffer& getBuffer() const { return buffer; }
    int pixelWidth() const;
    int pixelHeight() const;
    // Draws a part; areas invalidated inside it are no longer pending.
    void drawPixels(const PixelRect& area);
    void drawAll() { drawPixels({0, 0, pixelWidth(), pixelHeight()}); }
    // Draws the areas invalidated since the last call; answers their union.
    PixelRect drawDirty();
    const std::vector<PixelRect>& dirtyAreas() const { return dirty; }

    // Input from the native window, in pixels of the zoomed frame.
    CMouseEventResult platformMouseDown(CPoint where, const CButtonState& buttons);
    CMouseEventResult platformMouseMoved(CPoint where, const CButtonState& buttons);
    CMouseEventResult platformMouseUp(CPoint where, const CButtonState& buttons);
    bool platformWheel(CPoint where, float distance, const CButtonState& buttons);
    bool platformKeyDown(VstKeyCode& key);
    void platformWindowGone() { platformFrame = nullptr; }

    void invalidChildRect(const CRect& rect) override;
    void removed() override {}
    // The unzoomed size of the frame; getViewSize is the zoomed one.
    const CRect& getBaseSize() const { return baseSize; }

private:
    ~CFrame() override;
    void applySize(const CRect& newBase, double newZoom);
    CView* mouseTarget(const CPoint& logical) const;
    void updateHover(const CPoint& logical);

    VSTGUIEditorInterface* editor;
    SharedPointer<IPlatformFrame> platformFrame;
    CRect baseSize;
    double zoom = 1.0;
    BitmapInterpolationQuality quality = BitmapInterpolationQuality::kHigh;
    CView* focusView = nullptr;
    SharedPointer<CView> mouseDownView;
    SharedPointer<CView> hoverView;
    std::vector<IMouseObserver*> mouseObservers;
    PixelBuffer buffer;
    std::vector<PixelRect> dirty;
};

} // namespace VSTGUI
