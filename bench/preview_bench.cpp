// BuildPreview of a 500-object form (rectangles, lines, static texts and
// push buttons on one page, in look 1) beside the same shapes and texts
// drawn by direct platform calls into a world of the same size, each run
// recording its picture the same way. Then BuildPreview of a form of the
// largest preview size holding one matrix of 4,000 columns and 4,000 rows
// drawn with a 4,000-pixel pen, beside painting the area its pen covers
// (the whole page) with one platform call, recorded alike; likewise a form
// of the largest size holding a picture of the page painted 10,001 times
// (one rectangle and 10,000 more of the same, 20 KB), and one of 10,000
// filled rectangles each over the whole page. Prints the medians and the
// ratios.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "forms/drawing/FormPreview.h"
#include "forms/layout/PageTable.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "looks/LookManager.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"
#include "platform/screen/Screen.h"
#include "toolbox/drawing/VPainter.h"

using namespace platform;

namespace {

constexpr int kObjects = 500, kRuns = 21, kMatrixRuns = 5, kRepaints = 10000, kLayers = 10000;
constexpr int16_t kMatrixSide = kPreviewMaxSide, kMatrixCells = 4000, kMatrixPen = 4000;
constexpr int16_t kColumns = 10, kCell = 60;
const unsigned char kTitle[] = "\x06" "Button";

Rect CellOf(int i)
{
    const int16_t left = int16_t((i % kColumns) * kCell + 4), top = int16_t((i / kColumns) * 24 + 4);
    return Rect{top, left, int16_t(top + 20), int16_t(left + kCell - 8)};
}

void Place(LayoutObject* o, const Rect& r)
{
    o->bounds[0] = r.top, o->bounds[1] = r.left, o->bounds[2] = r.bottom, o->bounds[3] = r.right;
}

// The form: a rectangle, a line, a text and a button in turn.
void Fill(LayoutEditor* model)
{
    model->fPages = NewPageTable(1);
    model->fCurrentPage = 1;
    for (int i = 0; i < kObjects; ++i) {
        const Rect r = CellOf(i);
        LayoutObject* o = nullptr;
        switch (i % 4) {
        case 0: {
            auto* rect = new RectObject(model);
            rect->hasPenPattern = 1;
            std::memset(rect->penPattern, 0xFF, sizeof rect->penPattern);
            o = rect;
            break;
        }
        case 1: {
            auto* line = new LineObject(model);
            line->hasPenPattern = 1;
            std::memset(line->penPattern, 0xFF, sizeof line->penPattern);
            o = line;
            break;
        }
        case 2: {
            auto* text = new TextObject(model);
            text->SetText(kTitle);
            o = text;
            break;
        }
        default: {
            auto* button = new VarObject(model);
            button->SetSousType(1, true);
            o = button;
            break;
        }
        }
        Place(o, r);
        model->InsertObject(o, kAfterLastObject);
    }
}

// The object over the whole page of the form, after the others.
void OverPage(LayoutEditor* model, LayoutObject* o)
{
    Place(o, Rect{0, 0, kMatrixSide, kMatrixSide});
    model->InsertObject(o, kAfterLastObject);
}

// The form of one matrix over the whole page.
void FillMatrix(LayoutEditor* model)
{
    auto* matrix = new MatrixObject(model);
    matrix->columnCount = matrix->rowCount = kMatrixCells;
    matrix->penWidth = matrix->penHeight = kMatrixPen;
    matrix->hasPenPattern = 1;
    std::memset(matrix->penPattern, 0xFF, sizeof matrix->penPattern);
    OverPage(model, matrix);
}

// A picture of the page painted once, then 10,000 times more as the same
// rectangle: two bytes an opcode.
Handle PaintedOverPicture()
{
    std::vector<uint8_t> b;
    auto word = [&](int v) { b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v)); };
    auto frame = [&] { word(0), word(0), word(kMatrixSide), word(kMatrixSide); };
    word(0), frame();
    word(0x0011), word(0x02FF), word(0x0C00), word(-1), word(-1);  // version 2, a header of version -1
    word(0), word(0), word(0), word(0), word(kMatrixSide), word(0), word(kMatrixSide), word(0), word(0), word(0);
    word(0x0031), frame();  // paintRect
    for (int i = 0; i < kRepaints; ++i) word(0x0039);  // paintSameRect
    word(0x00FF);
    Handle h = nullptr;
    PtrToHand(b.data(), &h, Size(b.size()));
    return h;
}

// The form of one picture object over the whole page.
void FillPicture(LayoutEditor* model)
{
    auto* picture = new ImageObject(model);
    picture->SetPict(PaintedOverPicture());
    OverPage(model, picture);
}

// The form of 10,000 filled rectangles, each over the whole page.
void FillLayers(LayoutEditor* model)
{
    for (int i = 0; i < kLayers; ++i) {
        auto* rect = new RectObject(model);
        rect->hasFillPattern = rect->hasPenPattern = 1;
        rect->penWidth = rect->penHeight = 1;
        std::memset(rect->fillPattern, i % 2 ? 0xAA : 0xFF, sizeof rect->fillPattern);
        std::memset(rect->penPattern, 0xFF, sizeof rect->penPattern);
        OverPage(model, rect);
    }
}

// Draws into a new world of that size, then records its pixels as the
// preview does.
Handle Recorded(const Rect& bounds, const std::function<void()>& draw)
{
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) return nullptr;
    SetGWorld(world, nullptr);
    EraseRect(&bounds);
    draw();
    const OpenCPicParams params{bounds, 72 << 16, 72 << 16, -2, 0, 0};
    Handle picture = OpenCPicture(&params);
    if (picture) {
        CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(world), &bounds, &bounds, srcCopy, nullptr);
        ClosePicture();
    }
    SetGWorld(saved, device);
    DisposeGWorld(world);
    return picture;
}

// The same shapes and texts drawn straight, then recorded alike.
void DrawDirectly()
{
    for (int i = 0; i < kObjects; ++i) {
        Rect r = CellOf(i);
        switch (i % 4) {
        case 0: FrameRect(&r); break;
        case 1:
            MoveTo(r.left, r.top);
            LineTo(int16_t(r.right - 1), int16_t(r.bottom - 1));
            break;
        case 2:
            MoveTo(r.left, int16_t(r.top + 12));
            DrawText(kTitle + 1, 0, kTitle[0]);
            break;
        default:
            EraseRoundRect(&r, 8, 8);
            FrameRoundRect(&r, 8, 8);
            MoveTo(int16_t(r.left + 6), int16_t(r.top + 14));
            DrawText(kTitle + 1, 0, kTitle[0]);
            break;
        }
    }
}

double MedianPreviewMs(LayoutEditor* model, int runs, Rect* frame)
{
    return bench::MedianMs(runs, [&] {
        Handle picture = model->BuildPreview(kDisplayDrawing, nullptr);
        if (picture) QDGetPictureBounds(picture, frame), KillPicture(picture);
    });
}

// The preview of a page-sized form beside one fill of its page, recorded
// alike.
void ComparePage(const char* what, void (*fill)(LayoutEditor*))
{
    LayoutEditor model(1, 0, 0);
    model.fPages = NewPageTable(1);
    model.fCurrentPage = 1;
    fill(&model);
    Rect page{};
    const double drawn = MedianPreviewMs(&model, kMatrixRuns, &page);
    const double painted = bench::MedianMs(kMatrixRuns, [&] {
        if (Handle picture = Recorded(page, [&] { PaintRect(&page); })) KillPicture(picture);
    });
    std::printf("BuildPreview, %s, %d x %d: %.3f ms   one fill %.3f ms   ratio %.2f\n", what, page.right - page.left,
                page.bottom - page.top, drawn, painted, drawn / painted);
}

}  // namespace

int main()
{
    if (InitScreen(1280, 800) != noErr) {
        std::fprintf(stderr, "cannot make the screen\n");
        return 1;
    }
    VPainter::Init();
    InitVI();
    LayoutEditor model(1, 0, 0);
    Fill(&model);
    model.fLookNumber = 1;
    model.fLookHandler = VI_Manager::GetHandler(1);
    Rect frame{};
    const double ours = MedianPreviewMs(&model, kRuns, &frame);
    const double peer = bench::MedianMs(kRuns, [&] {
        if (Handle picture = Recorded(frame, DrawDirectly)) KillPicture(picture);
    });
    std::printf("BuildPreview, %d objects, %d x %d: %.3f ms   platform calls %.3f ms   ratio %.2f\n", kObjects,
                frame.right - frame.left, frame.bottom - frame.top, ours, peer, ours / peer);

    const std::string matrix = "a matrix of " + std::to_string(kMatrixCells) + " x " + std::to_string(kMatrixCells) +
                               " cells with a " + std::to_string(kMatrixPen) + "-pixel pen";
    ComparePage(matrix.c_str(), FillMatrix);
    const std::string repaints = "a picture of the page painted " + std::to_string(kRepaints + 1) + " times";
    ComparePage(repaints.c_str(), FillPicture);
    const std::string layers = std::to_string(kLayers) + " filled rectangles over the page";
    ComparePage(layers.c_str(), FillLayers);
    return 0;
}
