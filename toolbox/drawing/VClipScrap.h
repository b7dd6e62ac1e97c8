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

class VMenuBar {
public:
    static void Init() {}
};

// Start-up's step: the menus, then the menu bar.
void InitMenus();
