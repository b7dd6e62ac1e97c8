// BuildPreview of a 500-object form (rectangles, lines, static texts and
// push buttons on one page, in look 1) beside the same shapes and texts
// drawn by direct platform calls into a world of the same size, each run
// recording its picture the same way. Prints both medians and the ratio.
#include <cstdio>
#include <cstring>
#include <string>

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

constexpr int kObjects = 500, kRuns = 21;
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

// The same shapes and texts drawn straight, then recorded alike.
Handle DrawnDirectly(const Rect& bounds)
{
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) return nullptr;
    SetGWorld(world, nullptr);
    EraseRect(&bounds);
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
    const double ours = bench::MedianMs(kRuns, [&] {
        Handle picture = model.BuildPreview(kDisplayDrawing, nullptr);
        if (picture) QDGetPictureBounds(picture, &frame), KillPicture(picture);
    });
    const double peer = bench::MedianMs(kRuns, [&] {
        if (Handle picture = DrawnDirectly(frame)) KillPicture(picture);
    });
    std::printf("BuildPreview, %d objects, %d x %d: %.3f ms   platform calls %.3f ms   ratio %.2f\n", kObjects,
                frame.right - frame.left, frame.bottom - frame.top, ours, peer, ours / peer);
    return 0;
}
