#include "app/appl/MemoryShort.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/menus/Menus.h"
#include "platform/windows/Windows.h"
#include "resources/ChangeLanding.h"

using namespace platform;

namespace memoryshort {
namespace {

bool Listed(const std::vector<TDocument*>& docs, TDocument* doc)
{
    return std::find(docs.begin(), docs.end(), doc) != docs.end();
}

// A document that came in during the command goes again, as one whose
// read failed does; one that asks to stay (its last window's question)
// stays, read again below like the others. `dropped`: whether one went.
void DropNewDocuments(TAppl* appl, const std::vector<TDocument*>& before, bool* dropped)
{
    std::vector<TDocument*> kept;
    for (bool again = true; again;) {
        again = false;
        for (TDocument* doc = appl->fDocList; doc; doc = doc->fNext) {
            if (doc == appl->fClipBoard || Listed(before, doc) || Listed(kept, doc)) continue;
            appl->RemoveDoc(doc);
            if (doc->Dispose() != 0) {
                appl->AddDoc(doc);
                kept.push_back(doc);
            } else {
                *dropped = true;
            }
            again = true;
            break;
        }
    }
}

// What the command had changed of a document in memory goes: the
// document holds again what its files hold (opened again first when the
// command had closed them, a save putting them in place).
void ReadDocumentsAgain(TAppl* appl)
{
    for (TDocument* doc = appl->fDocList; doc; doc = doc->fNext) {
        if (doc == appl->fClipBoard || !doc->IsMember(2)) continue;
        auto* main = static_cast<TMainDoc*>(doc);
        if (main->fRemote || main->fSpec.path.empty()) continue;
        if (main->fResFile == -1 && main->OpenFile(main->fSpec) != 0) continue;
        if (DocHooks().readAgain) DocHooks().readAgain(main);
        else main->Reparse();
    }
}

void RedrawAll()
{
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) {
        Rect whole{};
        GetPortBounds(GetWindowPort(w), &whole);
        InvalWindowRect(w, &whole);
    }
    DrawMenuBar();
}

// Memory ran out in the running command after its change landed, caught
// by the command (RanOut).
bool gRanOutAfterLanding = false;

bool MemoryAlreadySaid(int32_t alertsBefore)
{
    if (AlertCount() == alertsBefore) return false;
    unsigned char text[256];
    ErrorMessage(memFullErr, text);
    return LastAlert().text == std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

}  // namespace

bool RunWork(void (*work)(void*), void* context)
{
    TAppl* appl = MyAppl;
    std::vector<TDocument*> before;
    bool known = true;
    try {
        for (TDocument* doc = appl ? appl->fDocList : nullptr; doc; doc = doc->fNext) before.push_back(doc);
    } catch (const std::bad_alloc&) {
        known = false;  // every document is taken as there before
    }
    const int32_t alertsBefore = AlertCount();
    // A command run inside another (a high-level event's) has its own.
    const changelanding::Outer outer = changelanding::Begin();
    const bool outerRanOut = std::exchange(gRanOutAfterLanding, false);
    bool ran = false;
    try {
        work(context);
        ran = true;
    } catch (const std::bad_alloc&) {
    }
    const bool landed = changelanding::Landed();
    changelanding::End(outer);
    if (std::exchange(gRanOutAfterLanding, outerRanOut) == false && ran) return true;
    // Undoing allocates too: memory running out again leaves what is not
    // undone yet as it is, and the user is still told. A command that ran
    // to its end keeps the documents it brought in; one that landed but
    // loses a document it brought in (its file made, its window not) did
    // not go through.
    bool dropped = false;
    try {
        if (appl && known && !ran) DropNewDocuments(appl, before, &dropped);
        if (appl) ReadDocumentsAgain(appl);
        RedrawAll();
    } catch (const std::bad_alloc&) {
    }
    try {
        if ((!landed || dropped) && !MemoryAlreadySaid(alertsBefore)) ErrMsg(memFullErr);
    } catch (const std::bad_alloc&) {
    }
    return ran;
}

void Landed() { changelanding::Note(true); }

void RanOut()
{
    if (changelanding::Landed()) gRanOutAfterLanding = true;
    else ErrMsg(memFullErr);
}

}  // namespace memoryshort
