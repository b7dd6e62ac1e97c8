// The toolbox's own menu resource 'XMNU', read from its stored bytes: a
// 32-byte title, the menu's command number, an item count and 48-byte items.
// The reader believes neither the count nor the length bytes: it keeps the
// items that the bytes hold whole and clamps every title to its field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct XmnuItem {
    uint8_t title[32] = {};  // length byte (at most 31) and text
    int16_t iconID = 0;
    int16_t reserved = 0;
    int32_t command = 0;
    uint32_t kind = 0;
    uint8_t flags = 0;
    int16_t argument = 0;

    bool IsSwitch() const { return (flags & 0x80) != 0; }
};

struct XmnuMenu {
    uint8_t title[32] = {};
    int32_t command = 0;
    std::vector<XmnuItem> items;
};

constexpr size_t kXmnuHeaderSize = 38;
constexpr size_t kXmnuItemSize = 48;

// Fills menu from size bytes. Fewer than the header's 38 bytes give an empty
// menu (no title, command 0, no items); items are read only while a whole
// item remains, never more than the count says.
void ReadXmnu(const uint8_t* data, size_t size, XmnuMenu& menu);
