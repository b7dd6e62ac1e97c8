// The string-list pane's commands: cut, copy, paste, clear and select all
// on the current string with a one-level undo, strings added, inserted and
// deleted, and the list written back into its 'STR#'.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/appl/UndoRecords.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/windows/TMainWindow.h"
#include "browser/editors/EditorPanes.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/scrap/Scrap.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kMaxStrings = 255;
constexpr int16_t kMaxLength = 255;
constexpr int16_t kGap = 30;
constexpr int16_t kCancelled = 1001;

void BeginUndo(TWindow* w, int16_t code)
{
    if (w && w->fUndo) SetUndo(w->fUndo, 1, code);
}

// The resource's contents replaced and taken into its file's image.
OSErr PutBytes(Handle resource, const std::vector<uint8_t>& bytes)
{
    SetHandleSize(resource, Size(bytes.size()));
    if (const OSErr err = MemError(); err != noErr) return err;
    if (!bytes.empty()) std::memcpy(*resource, bytes.data(), bytes.size());
    ChangedResource(resource);
    if (const OSErr err = ResError(); err != noErr) return err;
    WriteResource(resource);
    return ResError();
}

}  // namespace

int16_t TStrPlane::Do_Func(int16_t command)
{
    if (!fTE) return -1;
    int16_t result = 0;
    InitDraw();
    switch (command) {
    case 21: StrUndo(); break;
    case 22: StrCut(); break;
    case 23: StrCopy(); break;
    case 24: StrPaste(); break;
    case 25: StrClear(); break;
    case 26: StrSelect(); break;
    case 60: StrAdd(); break;
    case 61: StrDel(); break;
    case 62: StrInsert(); break;
    default: result = -1; break;
    }
    RestoreDraw();
    if (fWindow) fWindow->SetEditMenu();
    return result;
}

void TStrPlane::StrSaveUndo()
{
    TEditWindow* w = Editor();
    if (!w || !fTE || !w->fTexts[0] || !w->fTexts[1]) return;
    TESetSelect(0, kMaxDocText, w->fTexts[0]);
    TEPaste(w->fTexts[0]);
    // Without the text kept, an undo would bring back an older one.
    if (!TextEditCopy(fTE, w->fTexts[1]) && w->fUndo) SetUndo(w->fUndo, kUndoNothing, kUndoNothing);
}

void TStrPlane::StrUndo()
{
    TEditWindow* w = Editor();
    if (!w || !fTE || !w->fTexts[0] || !w->fTexts[1]) return;
    if (w->fUndo && UndoCode(w->fUndo) == kUndoNothing) return;
    bool kept = false;
    if (!SwapUndoText(fTE, w->fTexts[0], w->fTexts[1], false, true, &kept)) return;
    PlaceRecord();
    const Rect box = Shown(fTable[size_t(fCurrent - 1)].box);
    EraseRect(&box);
    TEUpdate(&box, fTE);
    TurnUndo(w->fUndo, kept);
    fModified = true;
    w->SetEditMenu();
    UpdateHeight();
}

void TStrPlane::StrCut()
{
    BeginUndo(fWindow, kUndoCut);
    StrSaveUndo();
    fModified = true;
    TECut(fTE);
    UpdateHeight();
}

void TStrPlane::StrCopy()
{
    // Copying changes nothing of the list: nothing to save for it.
    BeginUndo(fWindow, kUndoCopy);
    StrSaveUndo();
    TECopy(fTE);
}

void TStrPlane::StrPaste()
{
    BeginUndo(fWindow, kUndoPaste);
    StrSaveUndo();
    fModified = true;
    TEPaste(fTE);
    const bool cut = (**fTE).teLength > kMaxLength;
    if (cut) {
        TESetSelect(kMaxLength, kMaxDocText, fTE);
        TEDelete(fTE);
    }
    UpdateHeight();
    if (cut) SayPastePastLimit(kPasteCutText);
}

void TStrPlane::StrClear()
{
    BeginUndo(fWindow, kUndoClear);
    StrSaveUndo();
    fModified = true;
    TEDelete(fTE);
    UpdateHeight();
}

void TStrPlane::StrSelect() { TESetSelect(0, kMaxDocText, fTE); }

void TStrPlane::SetToolMenus()
{
    Count() >= 2 ? EnableFunc(61) : DisableFunc(61);
    for (int16_t c : {60, 62}) Count() < kMaxStrings ? EnableFunc(c) : DisableFunc(c);
}

void TStrPlane::StrAdd()
{
    if (Count() >= kMaxStrings) return SetToolMenus();
    // The undo kept belongs to the string being left.
    if (fWindow && fWindow->fUndo) SetUndo(fWindow->fUndo, kUndoNothing, kUndoNothing);
    TEDeactivate(fTE);
    StoreCurrent();
    const Rect& previous = fTable.back().box;
    StrEntry added;
    added.box = Rect{int16_t(previous.bottom + kGap), previous.left, int16_t(previous.bottom + kGap + EmptyLineHeight()),
                     previous.right};
    try {
        fTable.push_back(added);
    } catch (const std::bad_alloc&) {
        TEActivate(fTE);
        return ErrMsg(memFullErr);
    }
    fModified = true;
    fCurrent = Count();
    TESetText("", 0, fTE);
    PlaceRecord();
    Recount();
    ScrollPlane(int16_t(added.box.top - kGap - Scroll()));
    PlaceRecord();
    update();
    TEActivate(fTE);
    SetToolMenus();
}

void TStrPlane::StrInsert()
{
    if (Count() >= kMaxStrings || fCurrent < 1) return SetToolMenus();
    if (fWindow && fWindow->fUndo) SetUndo(fWindow->fUndo, kUndoNothing, kUndoNothing);
    TEDeactivate(fTE);
    StoreCurrent();
    const int16_t height = EmptyLineHeight();
    StrEntry inserted;
    const Rect& at = fTable[size_t(fCurrent - 1)].box;
    inserted.box = Rect{at.top, at.left, int16_t(at.top + height), at.right};
    try {
        fTable.insert(fTable.begin() + (fCurrent - 1), inserted);
    } catch (const std::bad_alloc&) {
        TEActivate(fTE);
        return ErrMsg(memFullErr);
    }
    fModified = true;
    for (size_t i = size_t(fCurrent); i < fTable.size(); ++i) OffsetRect(&fTable[i].box, 0, int16_t(height + kGap));
    TESetText("", 0, fTE);
    PlaceRecord();
    ScrollStrings(int16_t(height + kGap));
    TEActivate(fTE);
    SetToolMenus();
}

void TStrPlane::StrDel()
{
    if (Count() <= 1 || fCurrent < 1) return SetToolMenus();
    if (fWindow && fWindow->fUndo) SetUndo(fWindow->fUndo, kUndoNothing, kUndoNothing);
    fModified = true;
    TEDeactivate(fTE);
    const Rect gone = fTable[size_t(fCurrent - 1)].box;
    const int16_t shift = int16_t(gone.bottom - gone.top + kGap);
    fTable.erase(fTable.begin() + (fCurrent - 1));
    for (size_t i = size_t(fCurrent - 1); i < fTable.size(); ++i) OffsetRect(&fTable[i].box, 0, int16_t(-shift));
    if (fCurrent > Count()) fCurrent = Count();
    const StrEntry& e = fTable[size_t(fCurrent - 1)];
    TESetText(e.text + 1, e.text[0], fTE);
    PlaceRecord();
    ScrollStrings(int16_t(-shift));
    TEActivate(fTE);
    SetToolMenus();
}

int16_t TStrPlane::Write(bool)
{
    StoreCurrent();
    std::vector<uint8_t> bytes, before;
    const int16_t savedFile = CurResFile();
    UseResFile(fResFile);
    Handle list = Get1Resource(FourCC("STR#"), fStrId);
    const bool gone = !list;
    bool touched = false;  // the list in the file holds the strings
    OSErr err = noErr;
    try {
        bytes.resize(2);
        WriteBE16(bytes.data(), uint16_t(Count()));
        for (const StrEntry& e : fTable) bytes.insert(bytes.end(), e.text, e.text + 1 + e.text[0]);
        if (!gone && *list) before.assign(*list, *list + GetHandleSize(list));
    } catch (const std::bad_alloc&) {
        err = memFullErr;
    }
    if (err == noErr && gone) {
        // Removed behind the window's back: the edits come back under the
        // list's own id and name rather than being lost.
        list = NewHandle(Size(bytes.size()));
        if (!list) err = memFullErr;
        else std::memcpy(*list, bytes.data(), bytes.size());
        if (err == noErr) {
            AddResource(list, FourCC("STR#"), fStrId, fResName);
            err = ResError();
            if (err != noErr) DisposeHandle(list);
            touched = err == noErr;
        }
    } else if (err == noErr) {
        touched = true;
        err = PutBytes(list, bytes);
    }
    // On disk when the save ends. A companion that cannot be written gets
    // the list back as it was, and the window keeps the strings; when even
    // that fails, the companion is kept from the disk for the session (its
    // memory is no longer what the disk may take) and the user is told.
    if (err == noErr) {
        UpdateResFile(fResFile);
        err = ResError();
    }
    if (err != noErr && touched) {
        OSErr undone = noErr;
        if (gone) {
            RemoveResource(list);
            if ((undone = ResError()) == noErr) DisposeHandle(list);
        } else {
            undone = PutBytes(list, before);
        }
        if (undone != noErr) {
            SetResFileAdrift(fResFile);
            err = resFileAdriftErr;
        }
    }
    UseResFile(savedFile);
    if (err != noErr) {
        ErrMsg(err);
        return kCancelled;
    }
    fModified = false;
    // The companion changed: the compiled structure is out of date.
    if (TMainDoc* doc = Doc()) doc->fCompilerDirty = true;
    return 0;
}

}  // namespace browser
