// The system clipboard seen by kind, and the kinds the program knows, in
// the order they were registered. The one instance, gScrap, is made at
// start-up, which registers text and pictures. Failures answer null, 0 or
// false; nothing throws.
#pragma once

#include "toolbox/drawing/VMenu.h"

#include <cstdint>
#include <vector>

#include "toolbox/drawing/VScrap.h"

class VClipScrap : public VScrap {
public:
    VClipScrap();
    ~VClipScrap() override;
    VClipScrap(const VClipScrap&) = delete;
    VClipScrap& operator=(const VClipScrap&) = delete;

    // A known kind has its registration count raised; a new one is added
    // with count 1. False when memory is short.
    bool RegisterKind(uint32_t kind);
    int32_t CountKinds() const { return int32_t(fKinds.size()); }
    // The n-th kind (1-based), 0 past the end.
    uint32_t GetKind(int32_t n) const;
    // How often a kind was registered (0: not known).
    int16_t GetRegistrationCount(uint32_t kind) const;
    // The answer CountAvailableKinds last stored for a known kind.
    bool WasAvailable(uint32_t kind) const;

    // Asks the clipboard for each known kind in order and stores the answer.
    int32_t CountAvailableKinds() override;
    bool IsKindAvailable(uint32_t kind) override;
    char** GetData(uint32_t kind) override;
    int32_t GetDataSize(uint32_t kind) override;
    bool PutData(uint32_t kind, const void* data, int32_t size) override;

private:
    struct Entry {
        uint32_t kind;
        int16_t count;
        bool available;
    };
    int32_t IndexOf(uint32_t kind) const;  // -1 when not known

    std::vector<Entry> fKinds;
};

extern VClipScrap* gScrap;

// Start-up's step: gScrap, once.
void MakeStartupScrap();

// The menus and the menu bar live in VMenu.h; start-up reaches InitMenus
// through this header.
