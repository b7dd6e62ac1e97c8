#include "kernel/helpers/KernelDialogs.h"

#include "kernel/handles/KernelHandles.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"

uint8_t dontshowdialog = 0;
platform::UserItemUPP gDefaultItemUPP = nullptr;

namespace {

constexpr int16_t kAttentionDialog = 301;
constexpr platform::DialogItemIndex kAttentionOK = 1;
constexpr platform::DialogItemIndex kAttentionRing = 4;

bool DialogExists(int16_t id)
{
    platform::SetResLoad(false);
    platform::Handle h = platform::GetResource(platform::FourCC("DLOG"), id);
    platform::SetResLoad(true);
    return h != nullptr;
}

}  // namespace

platform::DialogRef getposdialog(int16_t dialogID, void* storage, platform::WindowRef behind)
{
    using namespace platform;
    const int16_t savedError = erreure;
    GrafPtr savedPort = nullptr;
    GetPort(&savedPort);
    const Rect screen = ScreenBounds();
    const int32_t width = screen.right - screen.left, height = screen.bottom - screen.top;
    int16_t id = dialogID;
    if (width >= 800 && height >= 600 && dialogID <= INT16_MAX - 6000 && DialogExists(int16_t(dialogID + 6000)))
        id = int16_t(dialogID + 6000);
    else if (dialogID < 5000 && width >= 640 && height >= 480 && DialogExists(int16_t(dialogID + 5000)))
        id = int16_t(dialogID + 5000);
    const bool show = !dontshowdialog;
    dontshowdialog = 0;
    DialogRef d = GetNewDialog(id, storage, behind);
    if (d) {
        WindowRef w = GetDialogWindow(d);
        Rect bounds;
        GetWindowBounds(w, kWindowStructureRgn, &bounds);
        Rect content;
        GetWindowBounds(w, kWindowContentRgn, &content);
        const int32_t dialogHeight = bounds.bottom - bounds.top;
        const int32_t dialogWidth = bounds.right - bounds.left;
        const int32_t left = screen.left + (width - dialogWidth) / 2;
        const int32_t top = 20 + (height - 20 - dialogHeight) / 3;
        // The structure's top-left goes there; the content follows.
        MoveWindow(w, int16_t(left + content.left - bounds.left), int16_t(top + content.top - bounds.top), false);
        if (show) {
            ShowWindow(w);
            SelectWindow(w);
        }
    }
    SetPort(savedPort);
    erreure = savedError;
    return d;
}

void Default(platform::DialogRef dialog, platform::DialogItemIndex)
{
    using namespace platform;
    DialogItemType type = 0;
    Handle handle = nullptr;
    Rect box;
    GetDialogItem(dialog, 1, &type, &handle, &box);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(GetDialogPort(dialog));
    RgnHandle clip = NewRgn();
    GetClip(clip);
    Rect whole;
    GetPortBounds(GetDialogPort(dialog), &whole);
    ClipRect(&whole);
    PenState pen;
    GetPenState(&pen);
    RGBColor fore, black{0, 0, 0};
    GetForeColor(&fore);
    RGBForeColor(&black);
    PenNormal();
    PenSize(3, 3);
    InsetRect(&box, -4, -4);
    FrameRoundRect(&box, 16, 16);
    SetPenState(&pen);
    RGBForeColor(&fore);
    SetClip(clip);
    DisposeRgn(clip);
    SetPort(saved);
}

void attention(const unsigned char* message)
{
    using namespace platform;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    Str255 text = {0};
    if (message) {
        text[0] = message[0];
        BlockMoveData(message + 1, text + 1, message[0]);
    }
    ParamText(text, nullptr, nullptr, nullptr);
    DialogRef d = getposdialog(kAttentionDialog, nullptr, kFirstWindowOfClass);
    if (d) {
        // A message no one can see could never be answered.
        ShowWindow(GetDialogWindow(d));
        SelectWindow(GetDialogWindow(d));
        DialogItemType type = 0;
        Handle handle = nullptr;
        Rect box;
        GetDialogItem(d, kAttentionRing, &type, &handle, &box);
        SetDialogItem(d, kAttentionRing, type, UserItemHandle(GetUserItemUPP(Default, &gDefaultItemUPP)), &box);
        SetDialogDefaultItem(d, kAttentionOK);
        DialogItemIndex item = 0;
        do ModalDialog(nullptr, &item);
        while (item != kAttentionOK && item != 0 && GetDialogFromWindow(GetDialogWindow(d)) == d);
        DisposeDialog(d);
    }
    SetPort(saved);
}

platform::ModalFilterUPP GetModalFilterUPP(platform::ModalFilterProcPtr proc, platform::ModalFilterUPP* cache)
{
    if (!cache) return platform::NewModalFilterUPP(proc);
    if (!*cache) *cache = platform::NewModalFilterUPP(proc);
    return *cache;
}

platform::UserItemUPP GetUserItemUPP(platform::UserItemProcPtr proc, platform::UserItemUPP* cache)
{
    if (!cache) return platform::NewUserItemUPP(proc);
    if (!*cache) *cache = platform::NewUserItemUPP(proc);
    return *cache;
}

void InitRoutineDescriptors() { GetUserItemUPP(Default, &gDefaultItemUPP); }
