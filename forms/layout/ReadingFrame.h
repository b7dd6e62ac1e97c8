// The frame a form reader hands every chunk procedure: the reader's client
// frame first, then what the chunks read so far leave for the ones after.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "forms/layout/FormProperties.h"
#include "forms/layout/LayoutInfo.h"
#include "platform/core/MacTypes.h"

class LayoutEditor;
class LayoutObject;

struct CustomClientFrame {
    _ClientFrame client;
    LayoutEditor* formModel = nullptr;       // owner of every object made; null: the structure's file
    LayoutObject* lastObject = nullptr;      // of the list being filled
    LayoutObject* firstObject = nullptr;
    LayoutObject* currentGroup = nullptr;    // null on page level
    FontSpecs curFont;                       // the last "FONT" read
    DrawingSpecs curDrawing;                 // the last "DRAW" read
    int16_t pageIndex = 0;                   // the next page "PAGE" closes
    int16_t formVersion = 0;                 // from "Vers"
    platform::Handle pages = nullptr;        // the page table being built
    LayoutInfo layoutInfo;
    platform::Handle entryAttributes = nullptr;  // the last "SATT", for the next field or variable
    // Read for the kernel's records (GetFormOld): object methods are not
    // stored and "Nam#", "KhPr", "Layr", "Thm#" and "GCOL" are not read.
    bool forKernel = false;
    int32_t flagChunkSize = -1;  // the size of the last "FLAG" read, -1 none
};

inline CustomClientFrame* ReadingFrameOf(_GroupContext* context)
{
    return reinterpret_cast<CustomClientFrame*>(context->clientFrame);
}
