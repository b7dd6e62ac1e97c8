// The documentation of a design object: its resource (type by kind, the
// object's id) read into a text-edit record, written back with its state,
// deleted, locked on a server, opened in an editor window, printed and
// exported.
#include <algorithm>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocHooks.h"
#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TMainWindow.h"
#include "design/documentation/GetTe.h"
#include "design/objects/ObjQz.h"
#include "design/objects/TransferHooks.h"
#include "design/objects/ObjText.h"
#include "design/objects/OpenEditors.h"
#include "design/rename/RenameCommit.h"
#include "design/text/TextBuffers.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/windows/Windows.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

// The object's document is the store's current file while it lives.
class DocStore {
public:
    explicit DocStore(TMainDoc* doc) : saved_(xcurres())
    {
        if (doc) useres(doc->fResFile);
    }
    ~DocStore() { useres(saved_); }
    DocStore(const DocStore&) = delete;
    DocStore& operator=(const DocStore&) = delete;

private:
    int16_t saved_;
};

// A change of a server's documentation lands whole or not at all, as any
// change of a server's structure: it is one change of the store (joining
// one under way). A local document commits its own way.
class ServerDocChange {
public:
    explicit ServerDocChange(TMainDoc* doc) : remote_(doc && doc->fRemote)
    {
        if (remote_) err_ = change_.Begin(doc->fResFile);
    }
    int16_t Begun() const { return err_; }
    int16_t Commit() { return remote_ ? change_.Commit() : 0; }

private:
    bool remote_;
    int16_t err_ = 0;
    StoreChange change_;
};

// A 4-byte body: version 1 and the state, no text yet.
Handle NewDocHeader(int32_t state)
{
    Handle h = NewHandleClear(4);
    if (h) {
        WriteBE16(*h, 1);
        WriteBE16(*h + 2, uint16_t(state));
    }
    return h;
}

// The body without the hooks' writer: the text alone, styles left empty.
int16_t WritePlainBody(Handle doc, TEHandle te)
{
    const TERec& r = **te;
    Handle body = MakePlainDocBody(std::string(*r.hText, size_t(std::max<int16_t>(0, r.teLength))));
    if (!body) return memFullErr;
    const Size size = GetHandleSize(body);
    SetHandleSize(doc, size);
    const OSErr err = MemError();
    if (err == noErr) BlockMoveData(*body + 4, *doc + 4, size - 4);
    DisposeHandle(body);
    return err;
}

int16_t LineHeight()
{
    FontInfo info{};
    GetFontInfo(&info);
    return int16_t(info.ascent + info.descent + info.leading);
}

}  // namespace

uint32_t TObjQz::GetTimeDoc()
{
    const uint32_t type = GetDocResType();
    if (type == kNoResType || !owner) return 0;
    DocStore store(owner);
    Handle h = xget1res(type, id);
    return h ? xgetrestimestamp(h) : 0;
}

int16_t TObjQz::MoveDoc(TObjQz* dest)
{
    if (!dest || !TstFlag(kFlagHasDoc)) return 0;
    const int16_t result = MoveDocRes(owner, dest->owner, GetDocResType(), id, dest->id);
    dest->SetDocFlag();
    return result;
}

int16_t TObjQz::ReadDoc(void* text, int32_t* state, bool* added)
{
    auto te = static_cast<TEHandle>(text);
    if (state) *state = 2;
    if (added) *added = false;
    const uint32_t type = GetDocResType();
    if (!IsPresent() || type == kNoResType || !owner || !te) return 0;
    DocStore store(owner);
    Handle doc = xget1res(type, id);
    if (doc && GetHandleSize(doc) < 4) {
        DelDoc();
        useres(owner->fResFile);
        doc = nullptr;
    }
    if (doc) {
        const int16_t stored = ReadBES16(*doc + 2);
        if (state) *state = stored >= 0 && stored <= 2 ? stored : 0;
        useres(owner->fResFile);
        return GetTe(te, owner->fRsrFile, type, id);
    }
    if (added) *added = true;
    ServerDocChange change(owner);
    if (const int16_t err = change.Begun()) return err;
    Handle header = NewDocHeader(2);
    if (!header) return memFullErr;
    if (!xaddres(header, type, id)) {
        DisposeHandle(header);
        return reserr ? reserr : int16_t(memFullErr);
    }
    if (owner->fRemote) {
        if (const int16_t err = change.Commit()) return err;
        // The server holds the empty documentation now, whatever follows.
        SetDocFlag();
        bool locked = false;
        if (!xgetreslock(type, id, &locked, true) && reserr != 0) return reserr;
        return 0;
    }
    // The new header is committed with the map: the store keeps no
    // resource that only its map in memory knows.
    updateres(owner->fResFile);
    return reserr;
}

int16_t TObjQz::WriteDoc(void* text, int32_t state)
{
    auto te = static_cast<TEHandle>(text);
    const uint32_t type = GetDocResType();
    if (!IsPresent() || type == kNoResType || !owner || !te) return 0;
    int16_t err = 0;
    {
        DocStore store(owner);
        ServerDocChange change(owner);
        if ((err = change.Begun()) != 0) return err;
        Handle doc = xget1res(type, id);
        const bool added = !doc;
        if (added && !(doc = NewDocHeader(state))) return memFullErr;
        // The body is whole in memory before the store sees it: a failed
        // conversion leaves the stored resource as it was.
        err = DocHooks().styleHteToRes ? DocHooks().styleHteToRes(doc, te) : WritePlainBody(doc, te);
        if (err == 0) {
            WriteBE16(*doc, 1);
            WriteBE16(*doc + 2, uint16_t(state));
            if (added) {
                if (!xaddres(doc, type, id)) {
                    DisposeHandle(doc);
                    return reserr ? reserr : int16_t(memFullErr);
                }
            } else {
                xwriteres(doc);
            }
            err = reserr;
            if (err == 0 && owner->fRemote) err = change.Commit();
            if (err == 0 && !owner->fRemote) {
                updateres(owner->fResFile);
                err = reserr;
            }
        } else if (added) {
            DisposeHandle(doc);
        }
        // A store error keeps the resource: its body is whole, and the
        // last commit still holds the earlier text.
    }
    UnLockDoc();
    return err;
}

int16_t TObjQz::DelDoc()
{
    const uint32_t type = GetDocResType();
    if (!IsPresent() || type == kNoResType || !owner) return 0;
    int16_t err = 0;
    {
        DocStore store(owner);
        if (owner->fRemote) {
            ServerDocChange change(owner);
            if ((err = change.Begun()) != 0) return err;
            bool locked = false;
            Handle doc = xgetreslock(type, id, &locked, true);
            if (locked) {
                ErrMsg(kDocLockedErr);
                return kDocLockedErr;
            }
            if (!doc) err = reserr == kResNotFound ? 0 : reserr;
            else if (rmveres(doc)) DisposeHandle(doc);
            else err = reserr;
            if (err == 0) err = change.Commit();
        } else if (Handle doc = xget1res(type, id)) {
            if (rmveres(doc)) DisposeHandle(doc);
            updateres(owner->fResFile);
            err = reserr;
        }
    }
    SetDocFlag();
    return err;
}

int16_t TObjQz::LockDoc()
{
    const uint32_t type = GetDocResType();
    if (!owner || !owner->fRemote || type == kNoResType) return 0;
    DocStore store(owner);
    bool locked = false;
    Handle doc = xgetreslock(type, id, &locked, true);
    if (locked) return 1;
    return doc ? 0 : (reserr ? reserr : int16_t(1));
}

void TObjQz::UnLockDoc()
{
    const uint32_t type = GetDocResType();
    if (!owner || !owner->fRemote || type == kNoResType) return;
    DocStore store(owner);
    unloadres(type, id);
}

void TObjQz::EditDoc(TMainDoc* doc)
{
    if (!IsPresent() || !doc) return;
    if (TEditWindow* open = OpenEditor(doc, this, 5)) {
        open->SelectTWindow();
        return;
    }
    unsigned char title[256], full[256];
    MyGetIndString(title, 1001, 38);
    PAppend(title, doc->fName);
    PAppendChar(title, ':');
    GetFullName(full);
    PAppend(title, full);
    Rect r{75, 35, 225, 435};
    if (WindowRef front = FrontWindow()) {
        Rect frame{};
        GetWindowBounds(front, kWindowContentRgn, &frame);
        r = Rect{int16_t(frame.top + 30), int16_t(frame.left + 20), int16_t(frame.top + 180), int16_t(frame.left + 420)};
        // 400 wide and 150 high.
        r.bottom = int16_t(r.top + 150);
        r.right = int16_t(r.left + 400);
    }
    // A window that cannot be made is said; the front window keeps the keys.
    auto* editor = new (std::nothrow) TEditDocWindow;
    if (!editor) {
        ErrMsg(memFullErr);
        return;
    }
    editor->fObj = this;
    editor->fResTime = OwnResourceTime();
    if (const int16_t err = doc->NewTWindow(editor, &r, title, false, 8); err != 0) {
        ErrMsg(err);
        return;
    }
    std::function<int16_t(TPlan**)> makePane;
    if (PaneHooks().makeDocPlane)
        makePane = [&](TPlan** pane) { return PaneHooks().makeDocPlane(editor, doc->fFirstWindow, pane); };
    if (const int16_t err = ShowEditorPane(doc, editor, makePane); err != 0) {
        SetFlag(kFlagDocOpen, false);
        if (err != -4) ErrMsg(err);
    }
}

uint32_t TObjQz::OwnResourceTime()
{
    const uint32_t type = GetOwnResType();
    if (type == kNoResType || !owner) return resTime;
    DocStore store(owner);
    Handle h = xget1res(type, id);
    return h ? xgetrestimestamp(h) : resTime;
}

int16_t TObjQz::PrintDoc()
{
    if (!owner) return 0;
    Rect huge{0, 0, 32767, 32767};
    // Nothing is drawn while the text is read.
    Rect hidden{0, 0, 0, 32767};
    TEHandle te = G_MachineType >= 4 ? TEStyleNew(&huge, &hidden) : TENew(&huge, &hidden);
    if (!te) return memFullErr;
    int32_t state = 0;
    bool added = false;
    const int16_t err = ReadDoc(te, &state, &added);
    (**te).viewRect = huge;
    const int16_t line = LineHeight();
    const int16_t bottom = int16_t(P_PageRect.bottom - 30);
    // Five lines at least below the heading, on its page.
    PlaceHeldHeadings(owner, 5 * line);
    if (P_CrtHeight + 5 * line > bottom) owner->BreakPage();
    Rect dest = P_PageRect;
    dest.left = int16_t(dest.left + 60);
    dest.right = int16_t(dest.right - 30);
    (**te).destRect = dest;
    TECalText(te);
    // An empty documentation prints nothing, not even its rule.
    int32_t first = (**te).teLength > 0 ? 0 : (**te).nLines;
    bool freshPage = false;
    while (first < (**te).nLines) {
        int16_t printed = 0;
        TextPrint(te, P_CrtHeight, int16_t(bottom - P_CrtHeight), &first, &printed);
        if (printed == 0) {
            // A line taller than a whole page ends the printing rather than
            // turning pages for ever.
            if (freshPage) break;
            owner->BreakPage();
            freshPage = true;
            continue;
        }
        freshPage = false;
        const int16_t x = int16_t(P_PageRect.left + 50);
        MoveTo(x, P_CrtHeight);
        LineTo(x, int16_t(P_CrtHeight + printed));
        P_CrtHeight = int16_t(P_CrtHeight + printed);
        if (first < (**te).nLines) {
            owner->BreakPage();
            freshPage = true;
        }
    }
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    TEDispose(te);
    return err;
}

int16_t TObjQz::SaveDoc(int16_t file)
{
    const Rect huge{0, 0, 32767, 32767};
    TEHandle te = G_MachineType >= 4 ? TEStyleNew(&huge, &huge) : TENew(&huge, &huge);
    if (!te) return memFullErr;
    int32_t state = 0;
    bool added = false;
    OSErr err = ReadDoc(te, &state, &added);
    if (err == noErr) {
        int32_t n = (**te).teLength;
        err = MyFSWrite(file, &n, *(**te).hText);
    }
    for (int16_t i = 0; i < 3 && err == noErr; ++i) err = i == 1 ? WriteTAB(file) : WriteEOL(file);
    TEDispose(te);
    return err;
}
