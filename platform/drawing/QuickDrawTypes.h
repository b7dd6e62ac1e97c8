// The records of the drawing services: bitmaps, pixel maps, colour tables,
// patterns, pens, regions, polygons, graphics devices and ports.
//
// Pixels of 32-bit maps are native 32-bit words 0x00RRGGBB (the top byte is
// ignored and written as 0). 1-bit maps hold one bit per pixel, most
// significant bit leftmost, 1 meaning black (the foreground). A map's
// `bounds` gives the local coordinates of its top-left pixel: the pixel at
// (h, v) lives at row v - bounds.top, column h - bounds.left.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace platform {

struct RegionRecord;
using RgnPtr = RegionRecord*;
using RgnHandle = RegionRecord**;

// A 32-bit rectangle, for the region operations that outgrow 16 bits.
struct Rect32 {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

// rowBytes flags: a PixMap has kPixMapFlag set in its rowBytes.
constexpr int16_t kPixMapFlag = int16_t(0x8000);
constexpr int16_t kRowBytesMask = 0x3FFF;

struct BitMap {
    Ptr baseAddr = nullptr;
    int16_t rowBytes = 0;
    Rect bounds{};
};

struct ColorSpec {
    int16_t value;
    RGBColor rgb;
};

// A colour table lives in a handle of the memory manager: this header, then
// ctSize + 1 entries (read them through CTabEntries).
struct ColorTable {
    int32_t ctSeed;
    int16_t ctFlags;
    int16_t ctSize;  // entry count minus one
};
using CTabPtr = ColorTable*;
using CTabHandle = ColorTable**;

constexpr int16_t RGBDirect = 16;

// A pixel map starts as a BitMap, so CopyBits takes either.
struct PixMap : BitMap {
    int16_t pmVersion = 0;
    int16_t packType = 0;
    int32_t packSize = 0;
    Fixed hRes = 72 << 16;
    Fixed vRes = 72 << 16;
    int16_t pixelType = 0;  // 0 indexed, RGBDirect
    int16_t pixelSize = 1;  // 1, 2, 4, 8 (indexed) or 32 (direct)
    int16_t cmpCount = 1;
    int16_t cmpSize = 1;
    int32_t planeBytes = 0;
    CTabHandle pmTable = nullptr;  // indexed maps: the colours of the indices
};
using PixMapPtr = PixMap*;
using PixMapHandle = PixMap**;

struct Pattern {
    uint8_t pat[8];
};
using PatPtr = Pattern*;
using ConstPatternParam = const Pattern*;

enum : int16_t {
    // source modes
    srcCopy = 0,
    srcOr = 1,
    srcXor = 2,
    srcBic = 3,
    notSrcCopy = 4,
    notSrcOr = 5,
    notSrcXor = 6,
    notSrcBic = 7,
    // pattern modes
    patCopy = 8,
    patOr = 9,
    patXor = 10,
    patBic = 11,
    notPatCopy = 12,
    notPatOr = 13,
    notPatXor = 14,
    notPatBic = 15,
    // arithmetic modes
    blend = 32,
    transparent = 36,
    hilite = 50,
};

// The eight colours of the original black-and-white model (ForeColor/BackColor).
enum : int32_t {
    whiteColor = 30,
    blackColor = 33,
    yellowColor = 69,
    magentaColor = 137,
    redColor = 205,
    cyanColor = 273,
    greenColor = 341,
    blueColor = 409,
};

// Text faces (bits of the port's txFace).
enum : uint8_t {
    normal = 0,
    bold = 1,
    italic = 2,
    underline = 4,
    outline = 8,
    shadow = 16,
    condense = 32,
    extend = 64,
};
using Style = uint8_t;
using StyleField = int16_t;

struct PenState {
    Point pnLoc;
    Point pnSize;
    int16_t pnMode;
    Pattern pnPat;
};

struct Polygon {
    int16_t polySize;  // bytes: 10 + 4 per point, as the original counted
    Rect polyBBox;
    Point polyPoints[1];  // read through PolyPoints()
};
using PolyPtr = Polygon*;
using PolyHandle = Polygon**;

struct GrafPort;
struct PictureRecorder;
struct PixPatTile;

// Metrics of the port's font, in pixels.
struct FontInfo {
    int16_t ascent;
    int16_t descent;
    int16_t widMax;
    int16_t leading;
};

// The bottleneck procedures of a port: a port whose grafProcs is set routes
// its text, shapes and bit copies through them. Any entry left null falls
// back to the standard procedure.
enum GrafVerb : int8_t { kFrame = 0, kPaint = 1, kErase = 2, kInvert = 3, kFill = 4 };
struct QDProcs {
    void (*textProc)(int16_t byteCount, const void* textBuf, Point numer, Point denom) = nullptr;
    void (*lineProc)(Point newPt) = nullptr;
    void (*rectProc)(GrafVerb verb, const Rect* r) = nullptr;
    void (*rRectProc)(GrafVerb verb, const Rect* r, int16_t ovalWidth, int16_t ovalHeight) = nullptr;
    void (*ovalProc)(GrafVerb verb, const Rect* r) = nullptr;
    void (*arcProc)(GrafVerb verb, const Rect* r, int16_t startAngle, int16_t arcAngle) = nullptr;
    void (*polyProc)(GrafVerb verb, PolyHandle poly) = nullptr;
    void (*rgnProc)(GrafVerb verb, RgnHandle rgn) = nullptr;
    void (*bitsProc)(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, int16_t mode,
                     RgnHandle maskRgn) = nullptr;
    int16_t (*txMeasProc)(int16_t byteCount, const void* textAddr, Point* numer, Point* denom,
                          FontInfo* info) = nullptr;
    void (*commentProc)(int16_t kind, int16_t dataSize, Handle dataHandle) = nullptr;
};
using QDProcsPtr = QDProcs*;

struct GDevice {
    int16_t gdRefNum = 0;
    int16_t gdID = 0;
    int16_t gdType = 2;  // direct device
    PixMapHandle gdPMap = nullptr;
    int32_t gdFlags = 0;
    Rect gdRect{};
};
using GDPtr = GDevice*;
using GDHandle = GDevice**;

// One record for every port: windows, offscreen worlds and scratch ports.
// Every port draws into a pixel map of 32 or 1 bits.
struct GrafPort {
    int16_t device = 0;
    PixMapHandle portPixMap = nullptr;
    Rect portRect{};
    RgnHandle visRgn = nullptr;
    RgnHandle clipRgn = nullptr;
    Pattern bkPat{};
    RGBColor rgbFgColor{0, 0, 0};
    RGBColor rgbBkColor{0xFFFF, 0xFFFF, 0xFFFF};
    Point pnLoc{0, 0};
    Point pnSize{1, 1};
    int16_t pnMode = patCopy;
    Pattern pnPat{};
    Pattern fillPat{};
    int16_t pnVis = 0;
    int16_t txFont = 0;
    Style txFace = normal;
    int16_t txMode = srcOr;
    int16_t txSize = 0;
    Fixed spExtra = 0;
    Fixed chExtra = 0;  // added to every character's width (pictures' 0x0016)
    int32_t fgColor = blackColor;
    int32_t bkColor = whiteColor;
    RGBColor rgbOpColor{0x8000, 0x8000, 0x8000};  // blend weight
    RGBColor rgbHiliteColor{0xB5B5, 0xD5D5, 0xFFFF};
    QDProcsPtr grafProcs = nullptr;
    // Where the port's pixel (0, 0) of its map lies on the screen: window
    // backing stores are offset by their window's position.
    Point globalOffset{0, 0};
    bool isOffscreen = false;
    GDHandle gworldDevice = nullptr;
    int32_t lockCount = 0;
    // The picture being recorded from this port's drawing (null: none).
    PictureRecorder* picSave = nullptr;
    // Pixel patterns in force for the pen, the background and fills, set
    // by picture playback (null: the one-bit patterns above).
    const PixPatTile* pnPixPat = nullptr;
    const PixPatTile* bkPixPat = nullptr;
    const PixPatTile* fillPixPat = nullptr;
};
using GrafPtr = GrafPort*;
using CGrafPtr = GrafPort*;
using GWorldPtr = GrafPort*;

}  // namespace platform
