// The classes of the design object kinds, as the factory makes them:
//
//  kind class                kind class                kind class
//   0   TObjQz                12  TStyleObjQz           24  TLayoutObjQz
//   1   TFileObjQz            13  TSetObjQz             25  TScriptObjQz
//   2   TProcObjQz            14  TSelectObjQz          26  TFileProcObjQz
//   3   TCmdObjQz             15  TSemaphObjQz          27  TLayOutProcObjQz
//   4   TListObjQz            16  TDBMethodObjQz        28  TCritObjQz
//   5   TMBarObjQz            17  TConstantObjQz        29  TObjQz (subtable)
//   6   TMenuObjQz            18  TPictObjQz            30  TFileBalloonObjQz
//   7   TPackagesObjQz        19  TStyleSheetObjQz      31  TObjQz
//   8   TExternalObjQz        20  TResourceObjQz        32  TModuleObjQz
//   9   TVarObjQz             21  TListboxObjQz         33  TModuleGroupObjQz
//  10   TFieldBalloonObjQz    22  TObjQz                >33 TObjQz
//  11   TSTRObjQz             23  TGroupObjQz
//
// Each class here carries the fields the object base, the factory and the
// look-ups rely on; the behaviour of each kind is added with its own code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "design/objects/ObjQz.h"
#include "design/objects/VarObjQz.h"

struct itemrec;  // an item of a choice list (forms/lists/ItemList.h)
class LayoutObject;  // an object of a form (forms/objects/LayoutObject.h)
using ItemHandle = itemrec**;

// Whether the object is a group of some kind (23, 32, 33): it sums up its
// members' links.
inline bool IsGroupKind(const TObjQz* obj) { return obj && (obj->kind == 23 || obj->kind == 32 || obj->kind == 33); }

// Objects bound to a table: fields, forms, subtables, plug-ins.
class TStructObjQz : public TObjQz {
public:
    void GetStructName(unsigned char* out) override;
    TObjQz* GetOwnerObj() override { return ownerObj; }
    TObjQz* ownerObj = nullptr;  // the table (or subtable) it belongs to
};

class TFileObjQz : public TStructObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // `record` points to the table number, or is null for a subtable.
    int16_t Read(void* record) override;
    // Disposes the table method, the forms and the field balloons.
    void Dispose() override;
    // A table stays in its document: it leaves its group and becomes a
    // deleted table (MakeDeletedTable).
    void DeleteObj(bool really) override;
    // Named STR# 1029 item 14 (followed by 1, 2, ... when another table has
    // that name), its record deciphered; its forms, field balloons and
    // method deleted.
    void MakeDeletedTable();
    // Links the table to its related fields and parses its method and forms.
    int16_t Parse() override;
    int16_t MaxNameLen() override { return 31; }
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    bool Openable() override { return true; }
    // Renamed in 'WNQz' 0, its users following (design/rename/).
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    // Fields, a subtable counting as its own fields.
    virtual int32_t CountCriteres();

    // Copying (design/transfer/TableTransfer.cpp, TableUpdate.cpp).
    // Read as a table a copy has just made: no wait message, module state,
    // forms or choice-list links.
    int16_t ReadMover(void* record) override;
    // A table moves, a subtable with its table (or as a field of one).
    bool Movable() override { return kind == 1; }
    // An equal table (field names and types, subtables alike) is there.
    bool IsInDoc(TMainDoc* doc) override;
    // An equal table: 1; another of the name: 2; none: 0 with choice 9.
    // Its fields (104) and subtables (101) are chained under the record.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // A used table: 101 (an equal one), else 102 (the destination has a
    // table number 1) or 103; a subtable chains itself under its table.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    int16_t DoInDir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // The copy's relations and choice lists name the destination's.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;
    // The members rebuilt from the definition now stored (another table's
    // written over this one): member k is kept when it is of the entry's
    // kind, else made anew. Members left out go to *dropped (disposed at
    // once without it).
    virtual int16_t ReplaceUpdate(std::vector<TObjQz*>* dropped);
    // No member is used by another object.
    bool IsInterfaceFile();
    // The base output, then, for a row that does not show them, each
    // field and subtable in field order; the first error ends it.
    int16_t Print(OutPutParmRec* options) override;
    int16_t Save(int16_t file, OutPutParmRec* options) override;
    // A table's line, then its fields' (a subtable has no line of its own).
    int16_t SaveOldFormat(int16_t file) override;
    int16_t fieldNumber = 0;   // a subtable's place in its owner table
    int16_t methodId = 0;
    int16_t tableNumber = 0;   // -1 for a subtable
    TObjQz* method = nullptr;
    ObjListHdl forms = nullptr;     // its forms (owned)
    ObjListHdl balloons = nullptr;  // its field balloons (owned)
};

class TCritObjQz : public TStructObjQz {
public:
    // `record` is the field's 66-byte entry of its table's 'FIQz'.
    int16_t Read(void* record) override;
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    // 'H' 'E' and the table's id.
    uint32_t GetDocResType() override;
    int16_t AddGroup(TGroupObjQz* group, bool flag) override { (void)group, (void)flag; return 0; }
    // The description (type, relation, attributes) as a picture from
    // (10, 10), printed under the heading and exported.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t SaveObj(int16_t file) override;
    // The type line of a 66-byte field entry: the label, then the type's
    // name (an alpha field adds its length).
    static void GetTypeString(const uint8_t* entry, unsigned char* out);
    // Copied with its table's record naming a destination table (MoveCrit).
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // Its table's conflicts first, then chained under its table (104).
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // The copy's relation and choice list name the destination's.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;
    // The description's lines: type, relation (when it names a field),
    // the attributes' heading, then one line per attribute.
    struct Description {
        std::vector<std::string> lines;
        size_t heading = 0;  // index of the attributes' heading
    };
    Description Describe();
    int16_t fieldNumber = 0;
    int16_t typeWord = 0;  // entry +32..+33
    int16_t length = 0;    // entry +34
    int16_t third = 0;     // entry +36
};

// The scaling a form is given: the percentage and the flag handed on to
// each object.
struct ScaleLayoutParmRec {
    int16_t scale = 100;
    uint8_t flag = 0;
};

class TLayoutObjQz : public TStructObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Leaves the table's forms list (forms are in no kind list).
    void ListRemove() override;
    // The form's entry leaves its table's 'TFQz' (the bytes after it move
    // up, the resource 270 bytes shorter), its 'FOQz' and its methods are
    // deleted, all in one commit; then it leaves its table's forms list.
    void DeleteObj(bool really) override;
    // Disposes the form method and the object methods.
    void Dispose() override;
    // Flag 14 on the form and on each of its methods.
    void SetTrashFlags(bool on) override;
    // `record` is the form's 270-byte entry of its table's 'TFQz'.
    int16_t Read(void* record) override;
    // "[Table]: Form"; without a table "(no table): Form".
    void GetStructName(unsigned char* out) override;
    int16_t MaxNameLen() override { return 31; }
    // The table first (unless a component is being updated), then the form
    // and its methods.
    int16_t SelfAddObjList(ObjListHdl* list, int16_t mode) override;
    int16_t Parse() override;
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    // On a server's structure, whether the server holds its 'FOQz'.
    bool IsPresent() override;
    // Not in a component, nor on a server's structure.
    bool EnableDelete() override;
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    bool EnableReplace() override;
    bool EnableReplaceTxt() override;
    // Asks for the new name through the rename seam (RenameHooks) and
    // renames the form with it.
    int16_t Replace(TObjQz** out) override;
    // The name (cut to 31) into the form's 'TFQz' entry and every user
    // rewritten, in one commit; then the form renamed and its table's forms
    // list sorted again. *out is the form.
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl users, TObjQz** out, bool flag2) override;
    int16_t GetOldTypeNum() override { return 5; }
    bool Movable() override { return true; }
    bool HasPrivateDependencies(TModuleObjQz* module) override;
    void SetProtectedDependencies(TModuleObjQz* module) override;
    int16_t AddGroup(TGroupObjQz* group, bool flag) override;
    int16_t DelGroup(bool updateGroup, bool message) override;
    bool IsInDoc(TMainDoc* doc) override { (void)doc; return true; }
    // Copied into the destination table its table's record names
    // (design/transfer/FormTransfer.cpp): 1005 without that record, 1012
    // when it names no table; -108 when memory for three times the image
    // is lacking (nothing copied).
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // Its table's conflicts first, then chained under the table's record
    // (3 directly, 107 indirectly).
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // The base's, then the form method's and each object method's.
    int16_t DoInDir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // On the copy: its image names the destination's objects, its menu bar
    // number the destination's bar (sign kept), its methods' links follow.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;
    // The stored image `resId` of this (copied) form rewritten to name the
    // destination's counterparts of what `source` names; -108 when it
    // cannot be made a chunk file or walked.
    virtual int16_t GetFormMover(int16_t resId, TLayoutObjQz* source, C_ListRec* conflicts);
    // The form and its top table in the same component; otherwise alert
    // 1000 says so and the answer is false.
    bool CheckModuleProject() override;
    // The stored form's texts (design/forms/FormTexts.cpp). Each rewrite
    // stores the new form only when the walk read the old one whole, and
    // answers -108 when the form cannot be made a chunk file or read.
    // A match among the form's visible texts (an older flat form searched
    // as its objects): 1, else 0.
    int16_t SearchIn(const unsigned char* text, int16_t how) override;
    int16_t ReplaceTxt(const unsigned char* find, const unsigned char* replacement, int32_t* leftWhole) override;
    // `strList` is the string list object the texts go into; the form is
    // linked to it when a text went.
    int16_t TxtToStr(void* strList) override;
    // The references brought back to texts; the links to string lists go
    // but for references whose item was missing (they stay).
    int16_t StrToTxt() override;
    // The form follows the rename of `obj` to `newName`; an error is shown.
    void XRefReplace(TObjQz* obj, const unsigned char* newName, bool force) override;
    // The same, answering 0 or the error (the form then stored as it was).
    int16_t RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force) override;
    bool KeepsOldName(TObjQz* obj, bool force) override;

    // The preview (design/forms/FormDisplay.cpp): the page drawn in the
    // structure's look as the display type (previewChoice: "Drawing",
    // "Outline", "Text") shows it; the page count is reported for forms of
    // more than one page. Error message 1014 when it cannot be drawn.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t NeedPopUp() override { return TstFlag(kFlagCiphered) ? 0 : 1; }
    int16_t NbPopUpItems() override { return 3; }
    int16_t DisplayPopUp(platform::Point pt) override;

    // The form data made ready to edit: a form of an older layout, or one
    // stored in the other byte order, is read into a form model and written
    // back into `form` as a chunk file. 0, or why not (the handle then
    // untouched): -108 when memory is short, 9001 when the form does not
    // read whole, the store's error (1003 when missing) when it cannot be
    // read.
    virtual int16_t ConvertLayout(platform::Handle form);
    // Walks the stored form `resId` (a chunk file or a flat layout) and
    // links what it names; 9001 for data that does not read as a form, -108
    // when the form is missing.
    virtual int16_t GetForm(int16_t resId);
    // Deletes every object method and the form method.
    virtual void DeleteRefs();
    // Scales the stored form; 0, ConvertLayout's answer when it cannot be
    // made ready, -108 when it cannot be scaled, or the store's error.
    int16_t ScaleLayout(const ScaleLayoutParmRec& params);
    // Objects of the older layout (groups entered): a variable matching by
    // its name or, for labelled kinds 2 to 4, its label; a static text by
    // its text. True at the first match.
    virtual bool SearchInFormObj(LayoutObject* objects, const unsigned char* text, int16_t how);
    // The labels of kinds 2 to 4 and the static texts shorter than 256
    // bytes of those objects made string list references (DoItTxtStr);
    // *changed when one was. 0 or the first error.
    virtual int16_t Do_TxtToStr(LayoutObject* objects, TObjQz** strObj, bool* changed);
    // Nothing: the stored form follows renames through XRefReplace.
    virtual int16_t ReplaceInLayOut() { return 0; }

    // The preview (design/forms/FormPreviewWork.cpp). A click answers the
    // object under it in the page shown (the kernel's records; error 1014
    // shown when the form cannot be read): a field its field, a variable
    // its object method or else the variable, a group the member under it.
    TObjQz* Click(platform::Handle display, const platform::EventRecord& event, int16_t page) override;
    // The records' object under `where` (relative to the preview), framed
    // in grey at `origin` while the button is down.
    virtual TObjQz* ClickForm(platform::Handle objects, platform::Point where, const platform::Point& origin);
    // The text of active object `number` (from 1, every page, into groups),
    // empty when there is none.
    virtual void FindScriptTxt(unsigned char* out, int16_t number);
    // The same over one chain up to `last` (null: its end); *number counts
    // down the active objects passed.
    virtual void FindScriptTxtInPage(platform::Handle first, platform::Handle last, int16_t* number,
                                     unsigned char* out);
    // Copy (23) reads "Copy Page" while a form is selected.
    void SelectObj() override;
    void DeSelectObj() override;
    // A preview is shown.
    bool IsSelection(platform::Handle display) override;
    // Every object of the page to the clipboard.
    void doCopy(platform::Handle display, int16_t page) override;
    // The heading; with details each page's preview (FormPrinting.h), or kFormNotDrawn.
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t formMethodId = 0;   // 0: none
    int16_t formResId = 0;      // its 'FOQz'
    int16_t mbarNumber = 0;     // slot of its menu bar in 'LIBA' 0 (sign kept); 0: none
    int16_t previewChoice = 0;
    TObjQz* formMethod = nullptr;
    ObjListHdl objMethods = nullptr;  // its object methods (owned)
};

// The five method kinds: project (2), database (16), object (25), table
// (26) and form (27) methods.
class TGnlProcObjQz : public TStructObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    bool Used() override { return used || TObjQz::Used(); }
    // Its 'CCQz' goes with it.
    void DeleteObj(bool really) override;
    void Dispose() override;
    // Object, table and form methods take their table and their module
    // state (never its flags); project methods their icon too.
    int16_t Read(void* record) override;
    // Links the method to everything its tokens name.
    int16_t Parse() override;
    int16_t MaxNameLen() override { return 31; }
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    virtual void SetUsed() { used = true; }

    // The method's text (design/text): searched, previewed in a text
    // record of 2047 by 2047 points (the display handle is the record),
    // printed, exported and rewritten.
    int16_t SearchIn(const unsigned char* text, int16_t how) override;
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    void DisposeDisplay(platform::Handle* display) override;
    void SizeDisplay(platform::Handle display, const platform::Rect& r, int16_t* right, int16_t* bottom) override;
    void Display(platform::Handle display, const platform::Rect& r) override;
    void Scroll(platform::Handle display, const platform::Rect& r, int16_t dh, int16_t dv) override;
    TObjQz* Click(platform::Handle display, const platform::EventRecord& event, int16_t page) override;
    void SelectObj() override;
    void DeSelectObj() override;
    bool IsSelection(platform::Handle display) override;
    void SelectAll(platform::Handle display) override;
    void MakeActive(platform::Handle display) override;
    void MakeInActive(platform::Handle display) override;
    void doCopy(platform::Handle display, int16_t page) override;
    int16_t ReplaceTxt(const unsigned char* find, const unsigned char* replacement, int32_t* leftWhole) override;
    // The calls of command `oldCommand` become calls of the project method
    // named like `newMethod`.
    int16_t ReplaceCmd(TObjQz* oldCommand, TObjQz* newMethod) override;
    bool EnableReplaceTxt() override;
    void XRefReplace(TObjQz* obj, const unsigned char* newName, bool force) override;
    int16_t RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force) override;
    bool KeepsOldName(TObjQz* obj, bool force) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t SaveObj(int16_t file) override;
    void RemoveComment(int16_t how) override;
    // After a copy: the method's tokens name the destination's objects,
    // with the source object as the table context of its table.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;

    TFileObjQz* table = nullptr;  // the table its text refers to by default
    ObjListHdl locals = nullptr;  // the method's own local variables (owned)
    bool used = false;            // in use from outside the graph
};
class TProcObjQz : public TGnlProcObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Project and database methods go by their plain name.
    void GetStructName(unsigned char* out) override { GetName(out); }
    // `record` is the method's 44-byte 'TPQz' record; null (a database
    // method) gives the plain icon.
    int16_t Read(void* record) override;
    // Its 'TPQz' record goes too.
    void DeleteObj(bool really) override;
    int16_t GetIconID() override { return iconId; }
    int16_t GetOldTypeNum() override { return 3; }
    // Renamed in its 'TPQz' 0 record, its callers following.
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    // The method's line of the compiler declaration file (up to 255 bytes
    // before its carriage return), then the base information line.
    void GetMoreInfo(unsigned char* out, bool flag) override;
    bool Movable() override { return true; }
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A project method of the same name: code 6.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // 111 when one of that name exists, else 110.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // A project method's tokens have no table context.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;
    int32_t declPos = -1;
    int16_t iconId = 0;
};
class TDBMethodObjQz : public TProcObjQz {
public:
    bool Used() override { return true; }
    bool EnableReplace() override { return false; }
};
class TScriptObjQz : public TGnlProcObjQz {
public:
    int16_t GetOldTypeNum() override { return 4; }
    bool Cryptable() override { return false; }
};
class TFileProcObjQz : public TGnlProcObjQz {
public:
    int16_t GetOldTypeNum() override { return 1; }
    bool Cryptable() override { return false; }
};
class TLayOutProcObjQz : public TGnlProcObjQz {
public:
    int16_t GetOldTypeNum() override { return 2; }
    bool Cryptable() override { return false; }
};

class TCmdObjQz : public TObjQz {
public:
    // The name is the command's text, item `id` of 'STR#' 8.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
};

// A choice list: its items in 'List' id, its name in entry listIndex of the
// directory 'LEQz' 0 (design/choicelists/).
class TListObjQz : public TObjQz {
public:
    // Takes its entry out of the directory and its 'List' away, in one
    // commit; the object stays when that fails.
    void DeleteObj(bool really) override;
    // Links the list to the pictures its items show.
    int16_t Parse() override;
    // 1 when an item's text (sub-lists included) matches.
    int16_t SearchIn(const unsigned char* text, int16_t how) override;
    // The preview draws the name and the items straight into the pane.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    void SizeDisplay(platform::Handle display, const platform::Rect& r, int16_t* right, int16_t* bottom) override;
    void Display(platform::Handle display, const platform::Rect& r) override;
    void Scroll(platform::Handle display, const platform::Rect& r, int16_t dh, int16_t dv) override;
    uint32_t GetOwnResType() override;
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    // The directory entry, every referrer's text and the name change in
    // one commit, or none of them.
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    // The items as lines; the first failed write is answered.
    int16_t SaveObj(int16_t file) override;
    bool Movable() override { return true; }
    // Copied with the icons its items use (design/transfer/ListTransfer.cpp).
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A destination list of the same name: 7 directly; 0 using it (choice
    // 4) indirectly, else 119.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // On the copy: each item's picture of the structure names the
    // destination's (-1 without one); the list saved back.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;

    virtual int16_t SaveItemRec(ItemHandle items, int16_t indent, int16_t file);
    virtual int16_t SaveObjList(int16_t listId, int16_t indent, int16_t file);
    virtual void PrintItemRec(ItemHandle items, int16_t indent);
    virtual void PrintList(int16_t listId, int16_t indent);

    // The preview's items from (h, *v) of the pane, each text a line high,
    // each icon below its text; draws only with `draw`; *v ends below the
    // last item and *width grows to what the items need.
    void DrawItemRec(ItemHandle items, int32_t h, int32_t* v, int16_t line, int32_t* width, bool draw);
    // The name, then the items of 'List' listId, in the pane at r.
    void DrawList(int16_t listId, const platform::Rect& r, int32_t* width, int32_t* height, bool draw);
    bool SearchItem(ItemHandle items, const unsigned char* text, int16_t how);
    bool SearchInList(int16_t listId, const unsigned char* text, int16_t how);
    // Links the list to the picture objects of the items, depth first.
    int16_t ParseItem(ItemHandle items);
    // After a copy: each item's picture of the structure (reference 2 in
    // its high half) the counterpart in this document of the source's,
    // linked; -1 for one without.
    int16_t ParseItem_Link(ItemHandle items, TMainDoc* source, C_ListRec* conflicts);

    int16_t listIndex = 0;  // its entry in 'LEQz' 0
};
// The name of the choice list whose 'List' id is `id`, from 'LEQz' 0 of
// the current container; empty when no entry has it.
void GetNameEnum(int16_t id, unsigned char* out);

// Menu bars and menus show their titles and items as stored (display
// mode 0) or with string-list references resolved (1 and 2); the preview's
// pop-up chooses.
class TMBarObjQz : public TObjQz {
public:
    // `record` points to the 16-bit slot number.
    int16_t Read(void* record) override;
    // Links the bar to its menus and what their items name.
    int16_t Parse() override;
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    // The bar as a strip one menu bar high: the bar's mark, then the titles.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t GetOldTypeNum() override { return 6; }
    int16_t NeedPopUp() override { return TstFlag(kFlagCiphered) ? 0 : 1; }
    int16_t NbPopUpItems() override { return 2; }
    int16_t DisplayPopUp(platform::Point pt) override;
    // Renamed as its 'BAQz' resource's name.
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    // Its menus' items follow a renamed project method.
    void XRefReplace(TObjQz* obj, const unsigned char* newName, bool force) override;
    int16_t RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force) override;
    bool KeepsOldName(TObjQz* obj, bool force) override;
    int32_t displayMode = 0;
    int16_t libaSlot = 0;  // its slot in the menu-bar directory
    // Its slot of 'LIBA' 0 freed (-1) and its 'BAQz' removed.
    void DeleteObj(bool really) override;
    // Nothing more once the list holds it.
    int16_t SelfAddObjList(ObjListHdl* list, int16_t mode) override;
    bool IsInDoc(TMainDoc* doc) override;
    bool Cryptable() override { return false; }
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // An equal bar of the name: 14; another of the name: 18; none: a
    // record of code 0 that copies it.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Each entry names its menu's counterpart; a menu without one leaves.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;
};
class TMenuObjQz : public TObjQz {
public:
    // Its 'MENQ' goes with it.
    void DeleteObj(bool really) override;
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // An equal menu of the name: 15.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Each item runs the counterpart of its method and shows that of its
    // picture.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;
    // The title and the items one below the other, with their keys and
    // methods, framed with a shadow.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t NeedPopUp() override { return TstFlag(kFlagCiphered) ? 0 : 1; }
    int16_t NbPopUpItems() override { return 2; }
    int16_t DisplayPopUp(platform::Point pt) override;
    // The items naming a renamed project method take its new name.
    void XRefReplace(TObjQz* obj, const unsigned char* newName, bool force) override;
    int16_t RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force) override;
    bool KeepsOldName(TObjQz* obj, bool force) override;
    // The title and item texts moved into string lists (`strList`: the
    // string list object to fill) and back.
    int16_t TxtToStr(void* strList) override;
    int16_t StrToTxt() override;
    int32_t displayMode = 0;
};

// Plug-ins (design/plugins): routines of kind 8 (resource 'QzEX', bundle
// table 'QBND') and packages of kind 7 ('QzPX', bundle table 'QBNX'); a
// package's routines are kind-7 objects too, members of their package,
// which is their owner. Their resources live in a platform resource file
// of their own, the plug-in file, which stays open while an object uses it.
class TExtObjQz : public TStructObjQz {
public:
    // Sets the document's plug-in file number to the current file; the
    // object's own file is recorded by the discovery (SetPlugInFile).
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Lets go of the plug-in file: the last object of a file the
    // discovery opened closes it.
    void Dispose() override;
    // Flag 4: the plug-in file holds the documentation.
    void InitDocFlag() override;
    void SetDocFlag() override { InitDocFlag(); }
    bool EnableDocWrite() override;
    bool EnableDelete() override { return false; }
    // 1008 once the document's companion holds more than 2,500 resources.
    int16_t SelfAddObjList(ObjListHdl* list, int16_t mode) override;
    // Links the string lists its bundle table names.
    int16_t Parse() override;
    int16_t Parse_Link(TObjQz* obj, C_ListRec* conflicts) override;
    // Plain text kept in the plug-in file; the state is always 0.
    int16_t ReadDoc(void* te, int32_t* state, bool* added) override;
    int16_t WriteDoc(void* te, int32_t state) override;
    int16_t DelDoc() override;

    // 'QBND' for routines, 'QBNX' for packages.
    virtual uint32_t GetBundleType() = 0;
    // The documentation's id in the bundle table; -1 without one.
    virtual int16_t GetDocId();
    // The documentation resource of the plug-in file, or null.
    virtual platform::Handle GetDocRes();
    // Enters the documentation in the bundle table; 0, 1023 when no id up
    // to 32,767 is free, 1003 for a damaged table, or the file's error.
    virtual int16_t AddDocBundle();
    virtual int16_t DelDocBundle();

    // Records the file its resources live in (counted as a user of it).
    void SetPlugInFile(int16_t file);
    int16_t GetPlugInFile() const { return plugInFile; }

    int32_t unopenable = 0;    // not 0: a package that cannot be opened or copied
    bool noConflict = false;   // reports no conflict
    bool fromBundle = false;   // a package read from a plug-in's bundle

private:
    int16_t plugInFile = -1;
};
class TPackagesObjQz : public TExtObjQz {
public:
    uint32_t GetDocResType() override;
    uint32_t GetBundleType() override;
    // A package opens on its routines; a routine has nothing to open.
    bool Openable() override { return unopenable == 0 && !ownerObj; }
    // Below id 15,000, from a plug-in file, or marked 'LOK!' -1 in its bundle.
    virtual bool LockedPackage();
    bool Movable() override { return !ownerObj && unopenable == 0; }
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A package of the name: 12 (locked, or id 14500 with choice 4) or 11;
    // none: 13 for a locked one (choice 4 for id 14500), else nothing.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // A package of the name: 0 using it; none: 115 when locked, else 114.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // The heading, then the routines when the row does not show them.
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t Save(int16_t file, OutPutParmRec* options) override;
};
class TExternalObjQz : public TExtObjQz {
public:
    uint32_t GetDocResType() override;
    uint32_t GetBundleType() override;
    bool Movable() override { return true; }
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A routine of the name: 10.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // A routine of the name: 0 using it; none: 113.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
};

class TListboxObjQz : public TVarObjQz {};

// A balloon shows its text (every byte of its resource after the first)
// in a plain text record as wide as the pane; the display handle is the
// record.
class TBalloonObjQz : public TObjQz {
public:
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    void DisposeDisplay(platform::Handle* display) override;
    void SizeDisplay(platform::Handle display, const platform::Rect& r, int16_t* right, int16_t* bottom) override;
    void Display(platform::Handle display, const platform::Rect& r) override;
    void Scroll(platform::Handle display, const platform::Rect& r, int16_t dh, int16_t dv) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    // The text as the preview lays it out in a record 32767 wide, then a
    // line end.
    int16_t SaveObj(int16_t file) override;
    // Every `find` of the text becomes `replacement`; 0 for a missing text.
    int16_t ReplaceTxt(const unsigned char* find, const unsigned char* replacement, int32_t* leftWhole) override;
    bool EnableReplaceTxt() override;
    // The resource holding the text.
    virtual uint32_t TextType() = 0;
    virtual int16_t TextId() = 0;
};
class TFieldBalloonObjQz : public TBalloonObjQz {
public:
    // What its 'LiHe' 0 entry keeps of its name.
    static constexpr int16_t kStoredNameLen = 15;
    int16_t MaxNameLen() override { return 31; }
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    uint32_t TextType() override { return GetOwnResType(); }
    int16_t TextId() override { return id; }
    int16_t balloonIndex = 0;  // its entry in 'LiHe' 0
    // Renamed in its 'LiHe' 0 entry (15 characters kept there).
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;

    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A balloon of the same name: 8.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Found: code 0 using it; none: 120.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
};
class TFileBalloonObjQz : public TBalloonObjQz {
public:
    // `record`: the text's resource type, then its id, big-endian.
    int16_t Read(void* record) override;
    uint32_t TextType() override { return textType; }
    int16_t TextId() override { return textId; }
    uint32_t textType = 0;
    int16_t textId = 0;
};
class TSTRObjQz : public TObjQz {
public:
    // Lists from id 15000 whose 'STR#' the companion holds, when not
    // enciphered.
    bool EnableEdit() override;
    // Brings its editor window forward, or opens one.
    void Edit(TMainDoc* doc) override;
    // Name, a space, the id label and the id.
    void GetStructName(unsigned char* out) override;
    // The heading and the numbered strings, as a picture and in print.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    // The list's strings from the companion, as far as its bytes hold them,
    // and the resource's name; false when the companion has no such list.
    bool Strings(std::vector<std::string>* strings, unsigned char* resName);
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    // Copied under its own id, or under a new one from 15000 (choice 13).
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A list of the same id: 9.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Found: code 0 using it; none: 116.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
};
class TStyleObjQz : public TObjQz {
public:
    // `record` is the entry's description: a length byte, up to 80 bytes.
    int16_t Read(void* record) override;
    uint32_t GetOwnResType() override;
    // Its description, as a picture and on the heading's line in print.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    // Renamed in its 'STQz' 0 entry, its users following.
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A style of the same name: 16.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Found: code 0 using it; none: 118.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    unsigned char description[81] = {};
};
// Names that exist only because method texts use them.
class TNamedObjQz : public TObjQz {
public:
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    // `flag` true renames the object everywhere (merging it into an object
    // of the new name); false moves only the users of `list` to the object
    // of the new name, found or made, which is *out.
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
};
class TSetObjQz : public TNamedObjQz {};
class TSelectObjQz : public TNamedObjQz {};
class TSemaphObjQz : public TNamedObjQz {};
class TResourceObjQz : public TObjQz {
public:
    // `record`: the resource's four-character type, big-endian.
    int16_t Read(void* record) override;
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    // A resource object of the same type and id there.
    bool IsInDoc(TMainDoc* doc) override;
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // One of the same type and id: 25.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Found: code 0 using it; none: 131.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    uint32_t resType = 0;
};

class TConstantObjQz : public TObjQz {
public:
    // "NAME:VALUE" names the constant NAME of value VALUE.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Empty without a value; otherwise the value behind its label.
    void GetMoreInfo(unsigned char* out, bool flag) override;
    bool Cryptable() override { return false; }
    // Keeps at most 33 characters.
    void SetConstantValue(const unsigned char* text);
    ObjName value = {};
};
class TPictObjQz : public TObjQz {
public:
    // Its 'PICT', 'PIWZ' and entry of 'PIC#' 128 go with it.
    void DeleteObj(bool really) override;
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    // Renamed in its 'PIC#' 128 entry.
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;

    // A picture of the same id is there.
    bool IsInDoc(TMainDoc* doc) override;
    // The preview shows a copy of the picture.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    // The title line, then the picture, scaled down to the page's width.
    int16_t PrintObj(OutPutParmRec* options) override;
    // 2 copies under a new id, 9 and no record under its own when free, 3
    // overwrites (when the component rules agree).
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A picture of the id: 19; else one of the name: 24 (choice 7).
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // A picture of the id: 128; none: 127.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // 'PICT' and 'PIWZ' with their 'PIC#' 128 entry and the object.
    virtual int16_t MoveData(TMainDoc* doc, TObjQz** newObj, bool newId);
    virtual int16_t ReplaceData(TMainDoc* doc, TObjQz** destObj);
};
class TStyleSheetObjQz : public TObjQz {
public:
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    // Renamed in its entry of the style-sheet table.
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    // Four lines, one per platform style 0, 2, 3 and 4 of its entry.
    int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                        int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag) override;
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t SaveObj(int16_t file) override;
    // The four lines; none when the table lacks the entry.
    std::vector<std::string> StyleLines();
    // 3 overwrites, 9 and no record add, 4 leaves it.
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // One of the name: 20.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // One of the name: 130; none: 129.
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Its entry appended to the destination's table under the next id.
    virtual int16_t MoveData(TMainDoc* doc, TObjQz** newObj, bool newId);
    // Its entry over the destination object's, which keeps its id.
    virtual int16_t ReplaceData(TMainDoc* doc, TObjQz** destObj);
};
// The line describing platform style `platform` (0 to 4) of a 376-byte
// style-sheet entry: the platform's label, the font, the size and the
// faces.
void GetPlatformStyle(const uint8_t* entry, unsigned char* text, int16_t platform);

#include "design/objects/Groups.h"  // kinds 23, 32 and 33

// A new object of the kind's class; null when memory runs out.
TObjQz* ConstructObjOfKind(int16_t kind);
// An object kept by its owner rather than in a kind list (table and form
// methods): constructed and initialised; null when memory runs out.
TObjQz* NewOwnedObj(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id);
// Calls `visit` on each object `obj` owns and takes along when it goes: a
// table's method, forms and field balloons, a form's methods, a method's
// locals (not what those own in turn).
void EachOwned(TObjQz* obj, const std::function<void(TObjQz*)>& visit);
