// The object list pane's text commands: renaming the current row's object,
// replacing a text or a command's calls in the selected objects, and
// moving every row's literal texts into a string list and back.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "browser/dialogs/CmdReplaceDialog.h"
#include "browser/dialogs/NamingDialogs.h"
#include "browser/dialogs/StrListDialog.h"
#include "design/documents/CompanionJournal.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OpenEditors.h"
#include "design/rename/ProjectMethods.h"
#include "design/rename/RenameCommit.h"
#include "design/rename/TextLists.h"
#include "forms/walkers/FormRewriters.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/drawing/Ports.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int32_t kMaxResources = 2501;
constexpr int16_t kTooManyResources = 1008;
constexpr int16_t kMissingResource = 1003;
constexpr int16_t kCancelled = 1001;
constexpr int64_t kLeastFreeSpace = 10240;
constexpr int16_t kStringListKind = 11;
constexpr int16_t kReplaceCommandComment = 14;  // STR# 1013
constexpr int16_t kTextsKept = 1036, kLeftWhole = 1;
constexpr int16_t kSeparators = 1019, kListSeparator = 1;

std::vector<TObjQz*> Rows(LongListHandle list, bool selectedOnly)
{
    std::vector<TObjQz*> out;
    for (int32_t row = 0; list && row < list->rowCount; ++row) {
        if (selectedOnly) {
            int32_t at = row;
            if (!LongLGetSelect(false, &at, list)) continue;
        }
        if (auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list))) out.push_back(obj);
    }
    return out;
}

void InvalidateWindow(TWindow* window)
{
    if (!window || !window->fWindow) return;
    Rect all{};
    GetPortBounds(GetWindowPort(window->fWindow), &all);
    InvalWindowRect(window->fWindow, &all);
}

// The work table of the texts moved, for the time of one conversion.
class StrArray {
public:
    StrArray() : fOuter(G_StrArrHdl) { G_StrArrHdl = fOwn = NewHandleClear(2); }
    ~StrArray()
    {
        G_StrArrHdl = fOuter;
        if (fOwn) DisposeHandle(fOwn);
    }
    StrArray(const StrArray&) = delete;
    StrArray& operator=(const StrArray&) = delete;
    bool Made() const { return fOwn != nullptr; }

private:
    Handle fOuter;
    Handle fOwn;
};

// Says which objects kept texts whole that the replacement would have
// made too long: their names after the message, as many as it holds.
void SayLeftWhole(const std::vector<TObjQz*>& objects)
{
    if (objects.empty()) return;
    Str255 text, separator, name;
    MyGetIndString(text, kTextsKept, kLeftWhole);
    MyGetIndString(separator, kSeparators, kListSeparator);
    for (size_t i = 0; i < objects.size(); ++i) {
        objects[i]->GetName(name);
        if (i > 0) PAppend(text, separator);
        PAppend(text, name);
    }
    XAlert(1000, text, kNoteAlert);
}

// The document's string lists.
std::vector<TObjQz*> DocumentLists(TMainDoc* doc)
{
    ObjListHdl list = GetObjListe(doc->fTypeList, kStringListKind);
    return list ? std::vector<TObjQz*>(list->entries, list->entries + list->Size()) : std::vector<TObjQz*>{};
}

// Free bytes on the document's volume; none known is taken as plenty.
int64_t FreeSpace(TMainDoc* doc)
{
    int64_t freeBytes = 0;
    return FSpGetFreeSpace(doc->fSpec, &freeBytes) == noErr ? freeBytes : INT64_MAX;
}

// Each row's texts moved into `list` and the lists after it as each fills,
// landing whole: the lists change in memory only, journaled, until the
// companion is written; then the forms and menus that now name them land
// in the store with one commit. On failure the companion and the store,
// in memory and on disk, are as they were.
int16_t ConvertRows(TMainDoc* doc, const std::vector<TObjQz*>& rows, TObjQz* list)
{
    CompanionJournal journal;
    journal.Open(doc->fRsrFile, doc->fRemote ? FSSpec{} : doc->fSpec);
    int16_t err = 0;
    {
        StoreChange change;
        err = change.Begin(doc->fResFile);
        SetCurrentCompanionJournal(&journal);
        for (size_t i = 0; err == 0 && i < rows.size(); ++i) {
            err = rows[i]->TxtToStr(&list);
            if (err == 0 && FreeSpace(doc) < kLeastFreeSpace) err = dskFulErr;
            if (err == 0 && G_LowMem) err = memFullErr;
        }
        SetCurrentCompanionJournal(nullptr);
        if (err == 0) err = journal.Commit();
        if (err == 0) err = change.Commit();
    }
    // Otherwise the change was dropped; the journal is abandoned now, and
    // one that cannot be taken back says so rather than the first failure.
    if (err == 0) journal.Finish();
    else if (const int16_t undone = journal.Abandon()) err = undone;
    return err;
}

}  // namespace

int16_t TRefPlane::Replace()
{
    TObjQz* obj = CurrentObject();
    if (!obj) return 0;
    TObjQz* result = obj;
    if (obj->Replace(&result) == 0) return 0;
    if (TMainDoc* doc = Doc()) doc->UpdateAll();
    SelectObj(result);
    return 0;
}

int16_t TRefPlane::ReplaceTxt()
{
    Str255 find, replacement;
    if (!GetTxt_Replace(find, replacement)) return 0;
    TMainDoc* doc = Doc();
    if (!doc) return 0;
    CursInstall();
    // Each object lands whole or not at all; each failure is shown as it
    // comes, and the walk goes on. Texts the replacement would make too
    // long stay as they were, and are said at the end.
    std::vector<TObjQz*> leftWhole;
    for (TObjQz* obj : Rows(fList, true)) {
        if (!obj->EnableReplaceTxt()) continue;
        StoreChange change;
        int32_t kept = 0;
        int16_t err = change.Begin(doc->fResFile);
        if (err == 0) err = obj->ReplaceTxt(find, replacement, &kept);
        if (err == 0) err = change.Commit();
        if (err != 0) ErrMsg(err);
        else ObjectRewritten(obj);
        if (err == 0 && kept > 0) leftWhole.push_back(obj);
    }
    CursRmve();
    InvalidateWindow(fWindow);
    doc->UpdateAll();
    SayLeftWhole(leftWhole);
    return 0;
}

int16_t TRefPlane::ReplaceCmd()
{
    TMainDoc* doc = Doc();
    if (!doc || !doc->fTypeList) return 0;
    Str255 oldName, newName;
    uint8_t create = 0;
    if (!GetCmd_Replace(GetObjListe(doc->fTypeList, 3), GetObjListe(doc->fTypeList, 2), oldName, newName, &create))
        return 0;
    CursInstall();
    TObjQz* command = SearchObj_Name(doc, 3, oldName);
    TObjQz* method = nullptr;
    if (create) {
        Str255 comment;
        MyGetIndString(comment, 1013, kReplaceCommandComment);
        PAppend(comment, newName);
        if (const int16_t err = NewProjectMethod(doc, newName, comment, &method)) {
            CursRmve();
            ErrMsg(err);
            return kCancelled;
        }
    } else {
        method = SearchObj_Name(doc, 2, newName);
    }
    for (TObjQz* obj : Rows(fList, true)) {
        if (const int16_t err = obj->ReplaceCmd(command, method)) ErrMsg(err);
        else ObjectRewritten(obj);
    }
    // A command nothing calls any more is no longer the document's.
    if (command) DropIfUnnamed(command);
    CursRmve();
    InvalidateWindow(fWindow);
    // A new method, and links that came or went.
    doc->UpdateAll();
    return 0;
}

int16_t TRefPlane::TxtToStr()
{
    TMainDoc* doc = Doc();
    if (!doc || !fList) return 0;
    if (CountTotResources(doc->fRsrFile) >= kMaxResources) {
        ErrMsg(kTooManyResources);
        return kTooManyResources;
    }
    StrArray table;
    if (!table.Made()) {
        ErrMsg(memFullErr);
        return memFullErr;
    }
    const int16_t id = GetStrListID(doc);
    if (id == -1) return 0;
    TObjQz* list = SearchObj_Id(doc, kStringListKind, id);
    if (!list) {
        ErrMsg(kMissingResource);
        return kMissingResource;
    }
    // Its editor would write its own strings back over the texts added.
    if (RefusedForOpenEditor(list)) return kCancelled;
    doc->SetWasModif();
    const std::vector<TObjQz*> rows = Rows(fList, false);
    // The names the texts may change (a menu's is its title), the string
    // lists each row used and those of the document, given back when the
    // conversion does not land.
    std::vector<std::pair<TObjQz*, std::vector<uint8_t>>> names;
    std::vector<std::vector<TObjQz*>> lists;
    for (TObjQz* obj : rows) {
        names.emplace_back(obj, std::vector<uint8_t>(obj->name, obj->name + obj->name[0] + 1));
        lists.emplace_back();
        for (int32_t i = 0; obj->uses && i < obj->uses->Size(); ++i)
            if (obj->uses->At(i)->kind == kStringListKind) lists.back().push_back(obj->uses->At(i));
    }
    const std::vector<TObjQz*> before = DocumentLists(doc);
    const std::unordered_set<TObjQz*> listsBefore(before.begin(), before.end());
    CursInstall();
    int16_t err = ConvertRows(doc, rows, list);
    CursRmve();
    if (err) {
        for (auto& [obj, name] : names)
            if (std::memcmp(obj->name, name.data(), name.size()) != 0) TakeNewName(obj, name.data());
        for (size_t r = 0; r < rows.size(); ++r)
            for (int32_t i = rows[r]->uses ? rows[r]->uses->Size() : 0; i-- > 0;)
                if (TObjQz* used = rows[r]->uses->At(i); used->kind == kStringListKind &&
                                                         std::find(lists[r].begin(), lists[r].end(), used) == lists[r].end())
                    XDelRef(rows[r], used);
        // The lists a full one moved on to are gone from the companion.
        for (TObjQz* made : DocumentLists(doc))
            if (!listsBefore.count(made)) made->DeleteObj(true);
        ErrMsg(err);
    } else {
        for (TObjQz* obj : rows) ObjectRewritten(obj);
    }
    // The new list and the links to it, as stored, in every window.
    if (const int16_t linked = RelinkMenuBars(rows); linked != 0 && err == 0) {
        ErrMsg(linked);
        err = linked;
    }
    doc->UpdateAll();
    // Said once, here: the window does not say it again.
    return err ? kCancelled : 0;
}

int16_t TRefPlane::StrToTxt()
{
    Str255 question;
    MyGetIndString(question, 1002, 46);
    if (XAlert(1002, question, kCautionAlert) != 1) return 0;
    CursInstall();
    int16_t err = 0;
    const std::vector<TObjQz*> rows = Rows(fList, false);
    for (TObjQz* obj : rows) {
        if ((err = obj->StrToTxt()) != 0) break;
        ObjectRewritten(obj);
    }
    if (const int16_t linked = RelinkMenuBars(rows); err == 0) err = linked;
    CursRmve();
    if (err) ErrMsg(err);
    InvalidateWindow(fWindow);
    // The lists' users use them no more.
    if (TMainDoc* doc = Doc()) doc->UpdateAll();
    return err;
}

}  // namespace browser
