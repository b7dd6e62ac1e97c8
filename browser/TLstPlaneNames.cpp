// The main list's renaming of the selected objects: a prefix put in front
// of their names, or a text replaced inside them. A first pass checks
// every new name, and renames nothing when one is refused; the second
// renames each object (its users following, one commit each).
#include <cstring>
#include <new>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "browser/dialogs/NamingDialogs.h"
#include "browser/dialogs/RenameDialog.h"
#include "design/links/XRef.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/rename/RenameCommit.h"
#include "resources/ResourceApi.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"

namespace browser {

namespace {

constexpr int16_t kNameTaken = 23, kNameUnchanged = 24;  // STR# 1002
constexpr int16_t kBadWordStart = 18, kBadWordEnd = 19;  // STR# 1001

struct Renaming {
    TObjQz* obj;
    unsigned char name[256];
};

bool SameName(const unsigned char* a, const unsigned char* b) { return rel2str(a, b) == kEqual; }

// An object other than `obj` that bears `name` where `obj` would.
bool Taken(TMainDoc* doc, TObjQz* obj, const unsigned char* name)
{
    auto other = [&](TObjQz* found) { return found && found != obj; };
    switch (obj->kind) {
    case 9: {
        auto* var = static_cast<TVarObjQz*>(obj);
        const int16_t scope = IsGlobalVarName(name) ? 2 : IsLocalVarName(name) ? obj->id : 1;
        return other(SearchObj_Name(doc, 2, name)) || other(Search_GnlObj(doc, 9, var->method, name, scope));
    }
    case 2: return other(SearchObj_Name(doc, 2, name)) || other(Search_GlobVar(doc, name));
    case 24: {
        auto* table = dynamic_cast<TFileObjQz*>(obj->GetOwnerObj());
        for (int32_t i = 0; table && table->forms && i < table->forms->Size(); ++i)
            if (other(table->forms->At(i)) && SameName(table->forms->At(i)->name, name)) return true;
        return false;
    }
    default: return other(SearchObj_Name(doc, obj->kind, name));
    }
}

// Two objects of the batch would take one name.
bool TakenInBatch(const std::vector<Renaming>& batch, TObjQz* obj, const unsigned char* name)
{
    for (const Renaming& r : batch)
        if (r.obj != obj && r.obj->kind == obj->kind && SameName(r.name, name)) return true;
    return false;
}

void Refuse(const unsigned char* offending, const unsigned char* message, bool named)
{
    unsigned char text[256], part[256];
    text[0] = 0;
    if (named) {
        PAppend(text, offending);
        PAppendChar(text, ' ');
        MyGetIndString(part, 1024, 1);
        PAppend(text, part);
        PAppendChar(text, ' ');
    }
    PAppend(text, message);
    XAlert(1000, text, kStopAlert);
}

void Refuse(const unsigned char* offending, int16_t message, bool named)
{
    unsigned char text[256];
    MyGetIndString(text, 1002, message);
    Refuse(offending, text, named);
}

// A name the object's kind cannot take, said as the rename dialog says it.
void RefuseWord(TObjQz* obj, const unsigned char* offending, bool named)
{
    unsigned char text[256], part[256];
    MyGetIndString(text, 1001, kBadWordStart);
    PAppendChar(text, ' ');
    MyGetIndString(part, 1008, obj->kind);
    PAppend(text, part);
    PAppendChar(text, ' ');
    MyGetIndString(part, 1001, kBadWordEnd);
    PAppend(text, part);
    Refuse(offending, text, named);
}

// The selected objects that can be renamed and their new names (those
// `newName` gives one), each cut to what its kind keeps; empty, with the
// refusal shown, when a name is empty or one the kind cannot take,
// unchanged, or taken (by another object or by another name of the
// batch). `named` shows the offending name before the message and tells
// an unchanged name from a taken one.
bool Checked(TMainDoc* doc, LongListHandle list, bool named,
             bool (*newName)(TObjQz*, const unsigned char*, const unsigned char*, unsigned char*),
             const unsigned char* a, const unsigned char* b, std::vector<Renaming>* batch)
{
    for (int32_t row = 0; LongLGetSelect(true, &row, list); ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list));
        if (!obj || !obj->EnableReplace()) continue;
        Renaming r{obj, {0}};
        if (!newName(obj, a, b, r.name)) continue;
        CutToRoom(obj, r.name);
        if (EmptyBehindMarker(obj, r.name) || !GoodWord(obj->kind, r.name)) {
            RefuseWord(obj, r.name, named);
            batch->clear();
            return false;
        }
        const bool unchanged = SameName(r.name, obj->name);
        if (unchanged || Taken(doc, obj, r.name) || TakenInBatch(*batch, obj, r.name)) {
            Refuse(r.name, named && unchanged ? kNameUnchanged : kNameTaken, named);
            batch->clear();
            return false;
        }
        batch->push_back(r);
    }
    return true;
}

bool Prefixed(TObjQz* obj, const unsigned char* prefix, const unsigned char*, unsigned char* out)
{
    PrefixedName(obj, prefix, out);
    return true;
}

bool Replaced(TObjQz* obj, const unsigned char* find, const unsigned char* replacement, unsigned char* out)
{
    return ReplacedName(obj, find, replacement, out);
}

// Each object of the batch renamed everywhere, its users following.
void RenameBatch(const std::vector<Renaming>& batch, bool watchMemory)
{
    for (const Renaming& r : batch) {
        ObjListHdl users = nullptr;
        if (NewObjList(&users, 10) != 0) {
            ErrMsg(-108);
            return;
        }
        for (int32_t i = 0; r.obj->usedBy && i < r.obj->usedBy->Size(); ++i) AddObjList(&users, r.obj->usedBy->At(i));
        TObjQz* out = nullptr;
        r.obj->DoReplace(r.name, true, users, &out, false);
        if (watchMemory && G_LowMem) {
            ErrMsg(-108);
            return;
        }
    }
}

// Every form scaled inside one change of the document's store: either all
// of them land or, when one cannot be read or written, none does and the
// document stays as it was. 0 or the first error.
int16_t ScaleForms(TMainDoc* doc, const std::vector<TLayoutObjQz*>& forms, const ScaleLayoutParmRec& params)
{
    const int16_t saved = xcurres();
    int16_t err = 0;
    {
        StoreChange change;
        err = change.Begin(doc->fResFile);
        try {
            for (size_t i = 0; err == 0 && i < forms.size(); ++i) err = forms[i]->ScaleLayout(params);
        } catch (const std::bad_alloc&) {
            err = platform::memFullErr;
        }
        if (err == 0) err = change.Commit();
    }
    useres(saved);
    for (TLayoutObjQz* form : forms) ObjectRewritten(form);
    return err;
}

}  // namespace

void TLstPlane::Prefix()
{
    TMainDoc* doc = Doc();
    unsigned char prefix[256];
    if (!doc || !fList || !GetPrefix(prefix, fList)) return;
    CursInstall();
    std::vector<Renaming> batch;
    if (Checked(doc, fList, false, Prefixed, prefix, nullptr, &batch)) RenameBatch(batch, false);
    CursRmve();
    doc->UpdateAll();
}

void TLstPlane::Sel_Replace()
{
    TMainDoc* doc = Doc();
    unsigned char find[256], replacement[256];
    if (!doc || !fList || !GetSel_Replace(find, replacement, fList)) return;
    CursInstall();
    std::vector<Renaming> batch;
    if (Checked(doc, fList, true, Replaced, find, replacement, &batch)) RenameBatch(batch, true);
    CursRmve();
    doc->UpdateAll();
}

void TLstPlane::ScaleLayout()
{
    TMainDoc* doc = Doc();
    ScaleLayoutParmRec params;
    if (!doc || !fList || GetScaleLayoutParm(&params) != 0) return;
    std::vector<TLayoutObjQz*> forms;
    for (int32_t row = 0; LongLGetSelect(true, &row, fList); ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, fList));
        if (obj && obj->kind == 24 && !obj->TstFlag(9)) forms.push_back(static_cast<TLayoutObjQz*>(obj));
    }
    if (forms.empty()) return;
    CursInstall();
    const int16_t err = ScaleForms(doc, forms, params);
    CursRmve();
    if (err != 0) ErrMsg(err);
    doc->UpdateDisplay();
}

}  // namespace browser
