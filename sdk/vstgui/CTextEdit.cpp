#include "vstgui/CTextEdit.h"

#include "vstgui/CFrame.h"

namespace VSTGUI {

CTextEdit::CTextEdit(const CRect& size, IControlListener* l, int32 t, UTF8StringPtr txt,
                     CBitmap* background, int32 style)
    : CTextLabel(size, txt, background, style) {
    listener = l;
    tag = t;
}

CMouseEventResult CTextEdit::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (CFrame* frame = getFrame())
        frame->setFocusView(this);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus() {
    // The whole text starts selected: the first key replaces it.
    editing = true;
    selected = true;
    typed = text;
    invalid();
}

void CTextEdit::looseFocus() {
    editing = false;
    invalid();
}

int32 CTextEdit::onKeyDown(VstKeyCode& key) {
    if (!editing)
        return -1;
    if (key.virt == VKEY_RETURN || key.virt == VKEY_ENTER) {
        std::string committed = typed;
        if (CFrame* frame = getFrame())
            frame->setFocusView(nullptr);
        editing = false;
        beginEdit();
        setText(committed);
        valueChanged();
        endEdit();
        invalid();
        return 1;
    }
    if (key.virt == VKEY_ESCAPE) {
        if (CFrame* frame = getFrame())
            frame->setFocusView(nullptr);
        return 1;
    }
    if (key.virt == VKEY_BACK) {
        if (selected)
            typed.clear();
        selected = false;
        // Drop the last UTF-8 sequence.
        while (!typed.empty() && (static_cast<unsigned char>(typed.back()) & 0xC0) == 0x80)
            typed.pop_back();
        if (!typed.empty())
            typed.pop_back();
        invalid();
        return 1;
    }
    if (key.virt == 0 && key.character >= 0x20) {
        if (selected)
            typed.clear();
        selected = false;
        uint32_t c = static_cast<uint32_t>(key.character);
        if (c < 0x80) {
            typed += static_cast<char>(c);
        } else if (c < 0x800) {
            typed += static_cast<char>(0xC0 | (c >> 6));
            typed += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            typed += static_cast<char>(0xE0 | (c >> 12));
            typed += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            typed += static_cast<char>(0x80 | (c & 0x3F));
        }
        invalid();
        return 1;
    }
    return -1;
}

} // namespace VSTGUI
