// The program's private scrap: the kinds of data it can hold, in the order
// they were registered. Made once at start-up, which registers text and
// pictures.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VObject.h"

class VClipScrap : public VObject {
public:
    VClipScrap();
    ~VClipScrap() override;
    VClipScrap(const VClipScrap&) = delete;
    VClipScrap& operator=(const VClipScrap&) = delete;

    // Registers a kind once; false when memory is short.
    bool AddKind(uint32_t kind);
    bool HasKind(uint32_t kind) const;
    int32_t CountKinds() const { return fKinds.GetCount(); }
    uint32_t GetKind(int32_t n) const { return uint32_t(fKinds.GetLong(n)); }

private:
    VArrayLong fKinds;
};

extern VClipScrap* gScrap;

// Start-up's step: gScrap, once.
void MakeStartupScrap();

// The menus: whether the platform's menus keep properties (the link from a
// platform menu to its object), asked once.
class VMenu {
public:
    static void Init();
    static bool HasMenuFeature() { return sFeature; }

private:
    static bool sChecked;
    static bool sFeature;
};

class VCommand;
class VObject;

// The menu bar a toolbox window hands the commands nobody in it answered.
// This base knows no command; the menus layer derives the working bar.
class VMenuBar {
public:
    VMenuBar() = default;
    virtual ~VMenuBar() = default;
    VMenuBar(const VMenuBar&) = delete;
    VMenuBar& operator=(const VMenuBar&) = delete;

    static void Init() {}
    // The command of that number, or null.
    virtual VCommand* FindCommand(int32_t) { return nullptr; }
    // True when the bar handled the command.
    virtual bool DoCommand(VObject*, int32_t, intptr_t) { return false; }
    // A command's state changed: the bar's items follow it.
    virtual void UpdateCommand(VCommand*) {}
    // A window that used the bar is going.
    virtual void WindowClosed(VObject*) {}
};

// Start-up's step: the menus, then the menu bar.
void InitMenus();
