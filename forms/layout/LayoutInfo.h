// A form's properties as its container chunks keep them: script flags,
// size limits, look, size object, inherited form, the ten layers. The
// reader takes every stored name cut to its field here, the rest of its
// bytes skipped.
//
// "Layr": u16 layer count (written 10, not used), u8 current layer (10 or
// more reads as 0), then per layer u8 flag 2, u8 flag 1 and the name as a
// length byte and its characters (no pad).
//
// "FLAG", read until the chunk ends (later fields keep what they hold):
//   u8 fixed entry order; u32 first script-flags long (the second becomes
//   0); 6 x i16 size limits, horizontal and vertical size (missing: 0,
//   32767, 0, 32767, 0, 0, option flags 0, both names empty); u8 mode
//   (0: A 0, D 0, B and C then 1; 1: A 0, D 1; 2: A 1, D 1); u8 B; u8 C;
//   size object name (a length above 31 empties it and ends the chunk);
//   form text; u32 look; i16 inherited form table; inherited form name;
//   u32 byte count and that many bytes of script flags (8 kept); u8 last.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"

constexpr int32_t kLayerCount = 10;
constexpr int32_t kFormNameMax = 31;
constexpr int32_t kFormTextMax = 32;

void DfltLayoutScriptFlags(uint32_t flags[2]);

struct LayoutInfo {
    uint32_t scriptFlags[2] = {0x1EBD27FF, 0xFFFFF9C0};
    int16_t sizeLimits[4] = {0, 32767, 0, 32767};  // height low, high, width low, high
    int16_t hSize = 0, vSize = 0;
    uint8_t fixedEntryOrder = 0;
    uint8_t optionA = 1, optionB = 1, optionC = 1, optionD = 1;
    unsigned char sizeObjectName[kFormNameMax + 1] = {};
    unsigned char formText[kFormTextMax + 1] = {};
    uint32_t look = 0;
    uint32_t versionLong = 0;
    uint16_t khpr[6] = {0, 0, 0, 0, 0xFFFF, 0xFFFF};  // words 1 to 6
    int16_t inheritedTable = 0;  // 0: none
    unsigned char inheritedName[kFormNameMax + 1] = {};
    unsigned char layerNames[kLayerCount][kFormNameMax + 1] = {};
    uint8_t currentLayer = 0;
    uint8_t layerFlag1[kLayerCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    uint8_t layerFlag2[kLayerCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    uint8_t lastByte = 0;

    // Every default, the layers named from the application's string list
    // 374, item 88 (a format holding one number), with 1 to 10.
    void Init();
    IFFP SaveLayers(_GroupContext* context) const;
    IFFP ReadLayers(_GroupContext* context);
    IFFP SaveFlags(_GroupContext* context) const;
    // A form of version below 2 has its script flags masked with the
    // defaults.
    IFFP ReadFlags(_GroupContext* context, int16_t formVersion);
};

// Item 88 of 374 with its number put in; "Layer n" when the item is
// missing.
void LayerName(int32_t number, unsigned char* out);
