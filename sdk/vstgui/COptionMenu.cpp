#include "vstgui/COptionMenu.h"

#include "vstgui/CDrawContext.h"
#include "vstgui/CFrame.h"
#include "vstgui/IPlatformFrame.h"

namespace VSTGUI {

CMenuItem::CMenuItem(UTF8StringPtr t, COptionMenu* sub, int32 f)
    : title(t ? t : ""), submenu(sub), flags(f) {
    if (submenu)
        submenu->remember();
}

CMenuItem::~CMenuItem() {
    if (submenu)
        submenu->forget();
}

COptionMenu::COptionMenu(const CRect& size, IControlListener* l, int32 t, CBitmap* bitmap,
                         CBitmap* clicked, int32 style)
    : CParamDisplay(size, bitmap, style), backgroundWhenClicked(clicked) {
    listener = l;
    tag = t;
    vmax = 0.0f;
}

COptionMenu::COptionMenu(const COptionMenu& other)
    : CParamDisplay(other), items(other.items), backgroundWhenClicked(other.backgroundWhenClicked),
      currentIndex(other.currentIndex) {
    for (CMenuItem* item : items)
        item->remember();
}

COptionMenu::~COptionMenu() {
    removeAllEntry();
}

CMenuItem* COptionMenu::addEntry(CMenuItem* item, int32 index) {
    if (!item)
        return nullptr;
    if (index < 0 || index > getNbEntries())
        items.push_back(item);
    else
        items.insert(items.begin() + index, item);
    vmax = static_cast<float>(getNbEntries() - 1);
    return item;
}

CMenuItem* COptionMenu::addEntry(UTF8StringPtr title, int32 index, int32 itemFlags) {
    if (title && std::string(title) == "-")
        return addSeparator(index);
    return addEntry(new CMenuItem(title, nullptr, itemFlags), index);
}

CMenuItem* COptionMenu::addEntry(COptionMenu* submenu, UTF8StringPtr title) {
    return addEntry(new CMenuItem(title, submenu));
}

CMenuItem* COptionMenu::addSeparator(int32 index) {
    return addEntry(new CMenuItem("", nullptr, CMenuItem::kSeparator), index);
}

bool COptionMenu::removeEntry(int32 index) {
    if (index < 0 || index >= getNbEntries())
        return false;
    items[size_t(index)]->forget();
    items.erase(items.begin() + index);
    vmax = static_cast<float>(getNbEntries() > 0 ? getNbEntries() - 1 : 0);
    if (currentIndex >= getNbEntries())
        currentIndex = getNbEntries() - 1;
    return true;
}

bool COptionMenu::removeAllEntry() {
    for (CMenuItem* item : items)
        item->forget();
    items.clear();
    currentIndex = -1;
    vmax = 0.0f;
    return true;
}

CMenuItem* COptionMenu::getEntry(int32 index) const {
    return index >= 0 && index < getNbEntries() ? items[size_t(index)] : nullptr;
}

int32 COptionMenu::getCurrentIndex(bool countSeparator) const {
    if (countSeparator || currentIndex < 0)
        return currentIndex;
    int32 index = 0;
    for (int32 i = 0; i < currentIndex; ++i)
        if (!items[size_t(i)]->isSeparator())
            ++index;
    return index;
}

bool COptionMenu::setCurrent(int32 index, bool countSeparator) {
    int32 position = index;
    if (!countSeparator) {
        position = -1;
        for (int32 i = 0, n = 0; i < getNbEntries(); ++i) {
            if (items[size_t(i)]->isSeparator())
                continue;
            if (n++ == index) {
                position = i;
                break;
            }
        }
    }
    if (position < 0 || position >= getNbEntries() || items[size_t(position)]->isSeparator())
        return false;
    currentIndex = position;
    value = static_cast<float>(position);
    if (getStyle() & kCheckStyle)
        checkEntryAlone(position);
    invalid();
    return true;
}

bool COptionMenu::checkEntry(int32 index, bool state) {
    CMenuItem* item = getEntry(index);
    if (!item || item->isSeparator())
        return false;
    item->setChecked(state);
    return true;
}

bool COptionMenu::checkEntryAlone(int32 index) {
    if (!getEntry(index))
        return false;
    for (int32 i = 0; i < getNbEntries(); ++i)
        items[size_t(i)]->setChecked(i == index);
    return true;
}

COptionMenu* COptionMenu::getLastItemMenu(int32& indexInMenu) const {
    indexInMenu = lastIndex;
    return lastMenu;
}

void COptionMenu::setValue(float v) {
    int32 index = static_cast<int32>(v);
    if (getEntry(index))
        setCurrent(index);
    CParamDisplay::setValue(v);
}

void COptionMenu::draw(CDrawContext* context) {
    CBitmap* icon = open && backgroundWhenClicked ? backgroundWhenClicked.get() : background.get();
    if (icon) {
        icon->draw(context, size);
    } else {
        drawBack(context);
        if (CMenuItem* item = getCurrent())
            drawPlatformText(context, item->getTitle(), size);
    }
    setDirty(false);
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    popup();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COptionMenu::popup() {
    CFrame* frame = getFrame();
    if (!frame || !frame->getPlatformFrame() || items.empty())
        return false;
    SharedPointer<COptionMenu> keep(this);
    open = true;
    invalid();
    COptionMenu* chosenMenu = nullptr;
    int32 chosenIndex = -1;
    CPoint where = localToFrame(CPoint(size.left, size.bottom));
    bool chosen = frame->getPlatformFrame()->popupMenu(this, where, chosenMenu, chosenIndex);
    open = false;
    invalid();
    if (chosen)
        choose(chosenMenu, chosenIndex);
    return chosen;
}

void COptionMenu::choose(COptionMenu* menu, int32 index) {
    if (!menu || !menu->getEntry(index) || menu->getEntry(index)->isSeparator())
        return;
    lastMenu = menu;
    lastIndex = index;
    if (menu != this) {
        // The submenu reports to its own listener under its own tag.
        menu->lastMenu = menu;
        menu->lastIndex = index;
        menu->setCurrent(index);
        menu->valueChanged();
    } else {
        setCurrent(index);
    }
    valueChanged();
}

} // namespace VSTGUI
