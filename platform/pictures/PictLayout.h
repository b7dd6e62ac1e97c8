// The published layout of pictures (versions 1 and 2), as both the writer
// and the player use it. Big-endian throughout.
//
//  off size
//   0   2   size, low 16 bits (the handle's size is what counts)
//   2   8   frame: top, left, bottom, right
//  10       version 2: 0x0011 0x02FF, then 0x0C00 and 24 header bytes;
//           opcodes are words at even offsets, odd data is padded.
//           version 1: 0x11 0x01; opcodes are bytes, no padding.
//  ...      opcodes and their data up to 0x00FF (version 1: 0xFF)
//
// Header (0x0C00), 24 bytes: version -2 (resolution form: reserved 2,
// hRes 4, vRes 4, source rectangle 8, reserved 4) or -1 (reserved 2 = -1,
// fixed-point frame left, top, right, bottom 16, reserved 4).
//
// Pixel maps inside pictures have no base address, except in the direct
// opcodes 0x009A/0x009B which start with 0x000000FF. After the base
// address: rowBytes 2 (top bit: a pixel map), bounds 8, and for a pixel
// map: pmVersion 2, packType 2, packSize 4, hRes 4, vRes 4, pixelType 2,
// pixelSize 2, cmpCount 2, cmpSize 2, planeBytes 4, pmTable 4, reserved 4.
#pragma once

#include <cstdint>

namespace platform {

enum PictOp : uint16_t {
    opNop = 0x0000,
    opClip = 0x0001,
    opBkPat = 0x0002,
    opTxFont = 0x0003,
    opTxFace = 0x0004,
    opTxMode = 0x0005,
    opSpExtra = 0x0006,
    opPnSize = 0x0007,
    opPnMode = 0x0008,
    opPnPat = 0x0009,
    opFillPat = 0x000A,
    opOvSize = 0x000B,
    opOrigin = 0x000C,
    opTxSize = 0x000D,
    opFgColor = 0x000E,
    opBkColor = 0x000F,
    opTxRatio = 0x0010,
    opVersion = 0x0011,
    opBkPixPat = 0x0012,
    opPnPixPat = 0x0013,
    opFillPixPat = 0x0014,
    opPnLocHFrac = 0x0015,
    opChExtra = 0x0016,
    opRGBFgCol = 0x001A,
    opRGBBkCol = 0x001B,
    opHiliteMode = 0x001C,
    opHiliteColor = 0x001D,
    opDefHilite = 0x001E,
    opOpColor = 0x001F,
    opLine = 0x0020,
    opLineFrom = 0x0021,
    opShortLine = 0x0022,
    opShortLineFrom = 0x0023,
    opLongText = 0x0028,
    opDHText = 0x0029,
    opDVText = 0x002A,
    opDHDVText = 0x002B,
    opFontName = 0x002C,
    opLineJustify = 0x002D,
    opGlyphState = 0x002E,
    opRect = 0x0030,       // + verb; 0x0038 + verb: the same rectangle
    opRRect = 0x0040,      // + verb; 0x0048 + verb: the same
    opOval = 0x0050,       // + verb; 0x0058 + verb: the same
    opArc = 0x0060,        // + verb; 0x0068 + verb: the same rectangle
    opPoly = 0x0070,       // + verb; 0x0078 + verb: the same
    opRgn = 0x0080,        // + verb; 0x0088 + verb: the same
    opBitsRect = 0x0090,
    opBitsRgn = 0x0091,
    opPackBitsRect = 0x0098,
    opPackBitsRgn = 0x0099,
    opDirectBitsRect = 0x009A,
    opDirectBitsRgn = 0x009B,
    opShortComment = 0x00A0,
    opLongComment = 0x00A1,
    opEndPic = 0x00FF,
    opHeader = 0x0C00,
    opCompressedQuickTime = 0x8200,
    opUncompressedQuickTime = 0x8201,
};

constexpr uint16_t kVersion2 = 0x02FF;
constexpr int32_t kPixMapBytes = 46;  // rowBytes .. reserved, without base address
constexpr uint32_t kDirectBaseAddr = 0x000000FF;

// The largest pixel maps: rowBytes fits in 14 bits, rows in 15.
constexpr int32_t kMaxPixMapWidth = 4095;
constexpr int32_t kMaxPixMapHeight = 32767;

}  // namespace platform
