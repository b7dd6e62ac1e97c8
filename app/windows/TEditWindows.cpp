// The string-list and documentation editors.
#include "app/appl/AppGlobals.h"
#include "app/appl/MemoryShort.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocSupport.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TMainWindow.h"
#include "app/appl/UndoRecords.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/windows/Windows.h"
#include "platform/events/Events.h"

using namespace platform;

namespace {
constexpr int16_t kEditedObjectGone = 95;  // 'STR#' 1002, before the window's title
}

int16_t TEditWindow::ITWindow(const unsigned char* title, const Rect& rect, bool visible, int16_t word,
                              TDocument* doc, int16_t kind)
{
    if (const int16_t result = TMainWindow::ITWindow(title, rect, visible, word, doc, kind); result != 0)
        return result;
    // The undo's text records keep text and show none: their view is empty,
    // and their port, where a record would draw, is this window's, never
    // the one another window left current.
    const Rect none{0, 0, 0, 0};
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow);
    int16_t result = 0;
    for (TEHandle& te : fTexts) {
        te = Styled() ? TEStyleNew(&none, &none) : TENew(&none, &none);
        // The panes find their text records in the undo record.
        if (!te || PushUndoPtr(fUndo, te) != noErr) {
            result = memFullErr;
            break;
        }
    }
    SetPort(saved);
    if (result != 0) {
        // A window that cannot be whole leaves nothing behind: the caller
        // deletes the object, and the platform window, its menu item, its
        // undo and text records go here.
        for (TEHandle& te : fTexts) {
            if (te) TEDispose(te);
            te = nullptr;
        }
        RemoveMenuItem();
        DisposeWindow(fWindow);
        fWindow = nullptr;
        if (fUndo) DisposeHandle(fUndo);
        fUndo = nullptr;
    }
    return result;
}

void TEditWindow::Dispose()
{
    for (TEHandle& te : fTexts) {
        if (te) TEDispose(te);
        te = nullptr;
    }
    TMainWindow::Dispose();
}

void TEditWindow::WindEraseGrowIcon() { SqrEraseGrowIcon(fWindow); }
void TEditWindow::WindDrawGrowIcon() { SqrDrawGrowIcon(fWindow); }

int16_t TEditWindow::Do_If_MyFunc(int16_t command)
{
    if (command == 4) return CloseDoc();
    // The editing pane keeps the undo of its text: Undo goes to it.
    if (command == kUndoCommand && fFirstPlane) return -1;
    return TMainWindow::Do_If_MyFunc(command);
}

void TEditWindow::Finish()
{
    RemoveMenuItem();
    if (fDoc) fDoc->RemoveWindow(this);
    Dispose();
}

void TEditWindow::DelObjMsg(TObjQz* obj)
{
    if (obj && obj == fObj) CloseForGoneObject();
}

void TEditWindow::ObjectFreed()
{
    fObj = nullptr;
    CloseForGoneObject();
}

void TEditWindow::CloseForGoneObject()
{
    if (fFirstPlane && fFirstPlane->Modified()) {
        Str255 text, title;
        MyGetIndString(text, 1002, kEditedObjectGone);
        GetTitle(title);
        AppendPString(text, title);
        XAlert(1000, text, kCautionAlert);
    }
    Finish();
}

int16_t TEditWindow::CloseDoc()
{
    TDocument* doc = fDoc;
    const int16_t result = Close();
    if (result != 0 || !doc) return result;
    return doc->Failed_Func(4);
}

int16_t TEditStrWindow::Close()
{
    TPlan* pane = FindPlane(7);
    Str255 title;
    GetTitle(title);
    const int16_t answer = ConfirmClose(pane && pane->Modified(), title);
    if (answer == 3) return 1001;
    if (answer == 1 && pane) {
        // A failed write is reported and the window stays with its text.
        if (const int16_t result = pane->Write(true); result != 0) return result;
        memoryshort::Landed();
        if (fDoc) fDoc->SetWasModif();
    }
    if (answer != 1 && answer != 2) return 0;
    Finish();
    return 0;
}

bool TEditDocWindow::Styled() const { return G_MachineType >= 4; }

int16_t TEditDocWindow::Close()
{
    if (TPlan* pane = FindPlane(9); pane && pane->Modified()) {
        // A text that cannot be stored is said here, whoever closes the
        // window, and the window keeps it; the document keeps what it last
        // stored. A program the system is ending lets the text go.
        if (const int16_t result = pane->Write(true); result != 0) {
            ErrMsg(result);
            if (!TerminationRequestPending()) return 1001;
        } else {
            memoryshort::Landed();
        }
    }
    if (fObj && PaneHooks().setDocFlag) PaneHooks().setDocFlag(fObj);
    Finish();
    return 0;
}
