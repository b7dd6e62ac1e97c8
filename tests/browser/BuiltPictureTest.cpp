// A picture of a document made by the document builder, shown in the
// preview frame exactly as the platform draws the document's picture.
#include <cstring>
#include <vector>

#include "design/objects/ObjKinds.h"
#include "design/preview/PreviewFrame.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "resources/ResourceApi.h"
#include "tests/design/ReadFixture.h"

using namespace platform;

namespace browsertest {
namespace {

std::vector<uint32_t> PortPixels(CGrafPtr port, const Rect& r)
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

using BuiltPicture = readtest::ReadFixture;

TEST_F(BuiltPicture, PreviewsAsTheDocumentsPictureDrawsAndScrolls)
{
    const auto r = Build("structure P seed 5\npicture Logo id 5 size 64 32\n");
    Open(r);
    ASSERT_EQ(Read(), 0);
    ObjListHdl pictures = GetObjListe(doc_.fTypeList, 18);
    ASSERT_NE(pictures, nullptr);
    ASSERT_EQ(pictures->Size(), 1);
    TObjQz* logo = pictures->At(0);

    GWorldPtr port = nullptr;
    CGrafPtr saved = nullptr;
    ASSERT_EQ(OpenPictPort(&port, &saved), 0);
    const Rect area{10, 10, 110, 210};
    Handle display = nullptr;
    int16_t width = 0, height = 0, low = 9, high = 9, page = 1;
    ASSERT_EQ(logo->InitDisplay(&display, area, &width, &height, &low, &high, &page, false), 0);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 32);
    EXPECT_EQ(low + high + page, 0);
    ASSERT_NE(display, nullptr);

    // What the platform draws of the document's own picture.
    useres(doc_.fResFile);
    Handle stored = xget1res(FourCC("PICT"), logo->id);
    ASSERT_NE(stored, nullptr);
    ClipRect(&area);
    EraseRect(&area);
    Rect frame{10, 10, 42, 74};
    DrawPicture(stored, &frame);
    const std::vector<uint32_t> expected = PortPixels(port, area);
    size_t inked = 0;
    for (uint32_t p : expected) inked += p != 0xFFFFFF;
    EXPECT_GT(inked, 100u);
    EraseRect(&area);
    logo->Display(display, area);
    EXPECT_EQ(PortPixels(port, area), expected);

    // Scrolled up by 10: the same picture 10 pixels higher.
    logo->Scroll(display, area, 0, -10);
    const std::vector<uint32_t> scrolled = PortPixels(port, area);
    EraseRect(&area);
    OffsetRect(&frame, 0, -10);
    DrawPicture(stored, &frame);
    EXPECT_EQ(PortPixels(port, area), scrolled);

    logo->DisposeDisplay(&display);
    EXPECT_EQ(display, nullptr);
    ClosePictPort(saved, port);
}

}  // namespace
}  // namespace browsertest
