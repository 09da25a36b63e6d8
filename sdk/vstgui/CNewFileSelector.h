#pragma once
// A file dialog: open or save, with a title, a default name and file types; runModal waits
// for the user and answers whether a file was chosen.

#include "vstgui/VSTGUIBase.h"

#include <string>
#include <vector>

namespace VSTGUI {

class CFrame;

class CFileExtension {
public:
    CFileExtension(UTF8StringPtr description, UTF8StringPtr extension,
                   UTF8StringPtr mimeType = nullptr, int32 macType = 0,
                   UTF8StringPtr uti = nullptr);
    const std::string& getDescription() const { return description; }
    // Without the dot.
    const std::string& getExtension() const { return extension; }

private:
    std::string description;
    std::string extension;
};

class CNewFileSelector : public CBaseObject {
public:
    enum Style { kSelectFile = 0, kSelectSaveFile, kSelectDirectory };

    // The platform's dialog; null where there is none. The caller owns one reference.
    static CNewFileSelector* create(CFrame* parent = nullptr, Style style = kSelectFile);

    void setTitle(UTF8StringPtr text) { title = text ? text : ""; }
    void setDefaultSaveName(UTF8StringPtr name) { defaultSaveName = name ? name : ""; }
    void setInitialDirectory(UTF8StringPtr path) { initialDirectory = path ? path : ""; }
    void addFileExtension(const CFileExtension& extension) { extensions.push_back(extension); }

    // Shows the dialog; true when the user chose a file.
    bool runModal();
    uint32 getNumSelectedFiles() const { return static_cast<uint32>(selected.size()); }
    // UTF-8 path of a chosen file; null past the last one.
    UTF8StringPtr getSelectedFile(uint32 index) const;

protected:
    CNewFileSelector(CFrame* parent, Style style) : parent(parent), style(style) {}
    // Fills `selected`; true when the user chose.
    virtual bool runModalInternal() = 0;

    CFrame* parent;
    Style style;
    std::string title;
    std::string defaultSaveName;
    std::string initialDirectory;
    std::vector<CFileExtension> extensions;
    std::vector<std::string> selected;
};

} // namespace VSTGUI
