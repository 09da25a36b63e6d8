#pragma once
// A control that pops up a menu of entries (with separators, check marks and submenus);
// its value is the index of the chosen entry. It shows its icon, or the current entry's
// title without one.

#include "vstgui/CParamDisplay.h"

#include <string>
#include <vector>

namespace VSTGUI {

class COptionMenu;

class CMenuItem : public CBaseObject {
public:
    enum Flags : int32 { kNoFlags = 0, kDisabled = 1 << 0, kChecked = 1 << 3, kSeparator = 1 << 4 };
    CMenuItem(UTF8StringPtr title, COptionMenu* submenu = nullptr, int32 flags = kNoFlags);
    ~CMenuItem() override;

    const std::string& getTitle() const { return title; }
    bool isSeparator() const { return (flags & kSeparator) != 0; }
    bool isChecked() const { return (flags & kChecked) != 0; }
    bool isEnabled() const { return (flags & kDisabled) == 0; }
    void setChecked(bool state) { flags = state ? flags | kChecked : flags & ~kChecked; }
    void setEnabled(bool state) { flags = state ? flags & ~kDisabled : flags | kDisabled; }
    COptionMenu* getSubmenu() const { return submenu; }

private:
    std::string title;
    COptionMenu* submenu; // counted
    int32 flags;
};

class COptionMenu : public CParamDisplay {
public:
    enum Style : int32 { kCheckStyle = 1 << 10, kMultipleCheckStyle = 1 << 11 };

    COptionMenu(const CRect& size = CRect(), IControlListener* listener = nullptr, int32 tag = -1,
                CBitmap* background = nullptr, CBitmap* backgroundWhenClicked = nullptr,
                int32 style = 0);
    // The copy shares the entries (and their submenus) through their counts.
    COptionMenu(const COptionMenu& other);
    COptionMenu& operator=(const COptionMenu&) = delete;
    ~COptionMenu() override;
    CView* newCopy() const override { return new COptionMenu(*this); }

    // Takes over the item's reference.
    CMenuItem* addEntry(CMenuItem* item, int32 index = -1);
    // A title of "-" makes a separator.
    CMenuItem* addEntry(UTF8StringPtr title, int32 index = -1,
                        int32 itemFlags = CMenuItem::kNoFlags);
    // The submenu is remembered by the new entry.
    CMenuItem* addEntry(COptionMenu* submenu, UTF8StringPtr title);
    CMenuItem* addSeparator(int32 index = -1);
    bool removeEntry(int32 index);
    bool removeAllEntry();
    int32 getNbEntries() const { return static_cast<int32>(items.size()); }
    CMenuItem* getEntry(int32 index) const;

    // The current entry, null when there is none.
    CMenuItem* getCurrent() const { return getEntry(currentIndex); }
    // Its index among all entries, or among the entries that are not separators.
    int32 getCurrentIndex(bool countSeparator = false) const;
    virtual bool setCurrent(int32 index, bool countSeparator = true);
    bool checkEntry(int32 index, bool state);
    // Checks this entry and unchecks every other one.
    bool checkEntryAlone(int32 index);
    // The menu (this one or a submenu) and index of the user's last choice.
    COptionMenu* getLastItemMenu(int32& indexInMenu) const;

    void setValue(float value) override;
    CBitmap* getBackgroundWhenClicked() const { return backgroundWhenClicked.get(); }
    bool isOpen() const { return open; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Pops the menu up at the control; true when an entry was chosen.
    virtual bool popup();
    // A choice of the entry at index in menu (this one or one of its submenus), as the
    // platform's menu reports it.
    void choose(COptionMenu* menu, int32 index);

private:
    std::vector<CMenuItem*> items; // counted
    SharedPointer<CBitmap> backgroundWhenClicked;
    int32 currentIndex = -1;
    COptionMenu* lastMenu = nullptr;
    int32 lastIndex = -1;
    bool open = false;
};

} // namespace VSTGUI
