// Icons: colour icons ('cicn'), black-and-white icons ('ICON'), and icon
// suites gathering the 'ICN#' (32 x 32), 'ics#' (16 x 16) and 'cicn' of one
// id, plotted with a transform. Every count and size of a resource is
// checked against the resource: a resource that does not hold what it
// claims gives no icon.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// A colour icon in memory: its pixel map (with colour table), mask and
// black-and-white image; the rows live in the two handles.
struct CIcon {
    PixMap iconPMap;
    BitMap iconMask;
    BitMap iconBMap;
    Handle iconData;      // the pixel rows
    Handle iconMaskData;  // the mask rows, then the image rows
};
using CIconPtr = CIcon*;
using CIconHandle = CIcon**;

// Null when the resource is missing or damaged (QDError says which:
// resNotFound, codecBadDataErr or memFullErr).
CIconHandle GetCIcon(int16_t iconId);
// The colour icon held in the bytes of a 'cicn' resource: noErr,
// codecBadDataErr when a count or size reaches past the bytes, memFullErr.
OSErr CIconFromResource(const uint8_t* bytes, int32_t size, CIconHandle* icon);
// Paints the icon's colours within its mask, scaled to the rectangle.
void PlotCIcon(const Rect* theRect, CIconHandle theIcon);
void DisposeCIcon(CIconHandle theIcon);

// The 'ICON' of that id (32 x 32, one bit), null when missing or short.
Handle GetIcon(int16_t iconId);
// Copies the icon into the rectangle, black on white.
void PlotIcon(const Rect* theRect, Handle theIcon);

using IconSuiteRef = Handle;
using IconSelectorValue = uint32_t;
using IconAlignmentType = int16_t;
using IconTransformType = int16_t;

enum : uint32_t {
    kSelectorLarge1Bit = 0x00000001,  // 'ICN#'
    kSelectorSmall1Bit = 0x00000100,  // 'ics#'
    kSelectorColorIcon = 0x00010000,  // 'cicn'
    kSelectorAllAvailableData = 0xFFFFFFFF,
};

// Vertical (low two bits: centre, top, bottom) and horizontal (next two:
// centre, left, right) placement; none centres.
enum : int16_t {
    kAlignNone = 0,
    kAlignVerticalCenter = 1,
    kAlignTop = 2,
    kAlignBottom = 3,
    kAlignHorizontalCenter = 4,
    kAlignAbsoluteCenter = 5,
    kAlignLeft = 8,
    kAlignRight = 12,
};

enum : int16_t {
    kTransformNone = 0,
    kTransformDisabled = 1,  // half way to white
    kTransformSelected = 0x4000,  // half way to black
};

// The icons of that id the selector asks for; resNotFound when there is
// none, memFullErr when memory runs out.
OSErr GetIconSuite(IconSuiteRef* theIconSuite, int16_t theResID, IconSelectorValue selector);
// Plots the suite's best icon for the rectangle: the colour icon, else the
// 32 x 32 one, the 16 x 16 one for rectangles smaller than 32.
OSErr PlotIconSuite(const Rect* theRect, IconAlignmentType align, IconTransformType transform,
                    IconSuiteRef theIconSuite);
OSErr PlotIconID(const Rect* theRect, IconAlignmentType align, IconTransformType transform, int16_t theResID);
// disposeData: also release the one-bit icon resources.
OSErr DisposeIconSuite(IconSuiteRef theIconSuite, Boolean disposeData);

}  // namespace platform
