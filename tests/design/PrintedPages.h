// Pixels in tests: a 32-bit port's, and printing through the emulation
// with the pages as 72-dpi images.
#pragma once

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/documents/Documentation.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/PictPixels.h"
#include "toolbox/drawing/PrintEmulation.h"

namespace readtest {

using namespace platform;

// The port's pixels of `r`, row by row, as 0xRRGGBB.
inline std::vector<uint32_t> PortPixels(CGrafPtr port, const Rect& r)
{
    const BitMap* bm = GetPortBitMapForCopyBits(port);
    const int row = bm->rowBytes & kRowBytesMask;
    std::vector<uint32_t> out;
    for (int v = r.top; v < r.bottom; ++v)
        for (int h = r.left; h < r.right; ++h) {
            uint32_t px = 0;
            std::memcpy(&px, bm->baseAddr + (v - bm->bounds.top) * row + (h - bm->bounds.left) * 4, 4);
            out.push_back(px & 0xFFFFFF);
        }
    return out;
}

struct PageImage {
    PictPixels pixels;
    bool ok = false;
    explicit PageImage(const std::string& path)
    {
        std::vector<uint8_t> png;
        ok = ReadWholeFile(path, &png) == noErr && DecodePng(png.data(), png.size(), &pixels) == ImageReadResult::Ok;
    }
    uint32_t At(int32_t h, int32_t v) const { return pixels.RGBAt(h, v) & 0xFFFFFF; }
};

// Prints through the emulation to PDF, pages also as 72-dpi images named
// `prefix`N.png; `draw` runs on the first page with P_PageRect set.
inline void PrintPages(const std::string& folder, const std::string& prefix, const std::function<void()>& draw)
{
    PrOpen();
    THPrint record = NewPrintRecord();
    PrintDefault(record);
    const std::string pdf = folder + "/" + prefix + ".pdf";
    SetPrintRecordDestination(record, kPrintDestinationPDF, pdf.c_str());
    ASSERT_EQ(PMSessionSetPageImages(GetPrintSession(), folder + "/" + prefix, 72), kPMNoError);
    P_Context = PrOpenDoc(record, nullptr, nullptr);
    ASSERT_NE(P_Context, nullptr);
    PrOpenPage(P_Context, nullptr);
    CGrafPtr port = GetPrintContextPort(P_Context);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(port);
    GetPortBounds(port, &P_PageRect);
    P_NoPage = 1;
    P_CrtHeight = 40;
    DropHeldHeadings();
    draw();
    PlaceHeldHeadings(nullptr, 0);  // as the printed list ends
    PrClosePage(P_Context);
    PrCloseDoc(P_Context);
    P_Context = nullptr;
    SetPort(saved);
    DisposePrintRecord(record);
    PrClose();
}

}  // namespace readtest
