// TObjQz, the base of every design object of an open structure or library:
// one per table, field, form, method, menu, list, picture, style, plug-in,
// group and component. It carries what every kind shares and answers the
// neutral behaviour of the operations the panes, transfer and documents
// call on all kinds alike; each kind's class overrides what concerns it.
//
// Objects are made only by the factory (ObjFactory.h), kept in the
// per-kind lists (ObjList.h) and linked by the graph (XRef.h). The lists
// held here belong to the object; the objects they point to do not.
#pragma once

#include <cstdint>

#include "app/appl/Atoms.h"
#include "design/objects/ObjList.h"
#include "design/objects/OutputOptions.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {
struct EventRecord;
}

class TMainDoc;
class TGroupObjQz;
class TModuleObjQz;
struct C_ListRec;      // the conflicts of one copy (design/objects/TransferHooks.h)

using ObjName = unsigned char[34];  // length byte + up to 33 characters

constexpr int16_t kMaxStoredName = 33;
// The four-character code standing for "no resource".
constexpr uint32_t kNoResType = 0x2E2E2E2E;  // '....'

// Flag bits of TObjQz::flags.
enum : int16_t {
    kFlagParsed = 0,
    kFlagGrouped = 1,    // with 3
    kFlagGrouped2 = 3,
    kFlagHasDoc = 4,
    kFlagBlockOverride = 5,
    kFlagBlocked = 6,
    kFlagDocOpen = 7,
    kFlagHidden = 8,
    kFlagCiphered = 9,
    kFlagDocReadOnly = 10,
    kFlagInComponent = 11,
    kFlagControlChar = 13,
    kFlagInTrash = 14,
};

// Copies `name` cut to 33 characters.
void CopyObjName(unsigned char* dest, const unsigned char* name);

class TObjQz : public TAtom {
public:
    TObjQz() = default;

    virtual int16_t GetIconID();
    virtual bool IsModule() { return false; }
    virtual bool IsModuleProject() { return false; }
    virtual void InitDocFlag();
    virtual void SetDocFlag();
    virtual void init(TMainDoc* doc, const unsigned char* name, int16_t id);
    virtual uint32_t GetSize() { return resSize; }
    virtual uint32_t GetaTime() { return resTime; }
    virtual bool Used();
    virtual void Unlink();
    virtual void ListRemove();
    virtual void DeleteResData();
    virtual void DeleteObj(bool really);
    virtual void Dispose();
    virtual bool TstFlag(int16_t bit) const { return (flags & (1 << bit)) != 0; }
    virtual void SetFlag(int16_t bit, bool value);
    virtual void SetTrashFlags(bool value) { SetFlag(kFlagInTrash, value); }
    virtual int16_t Read(void* record);
    virtual int16_t ReadMover(void* record) { (void)record; return 0; }
    virtual void GetName(unsigned char* out);
    virtual uint8_t GetLevel() { return TstFlag(kFlagInTrash) ? 0 : level; }
    virtual void SetName(const unsigned char* newName);
    virtual void GetStructName(unsigned char* out) { GetName(out); }
    virtual int16_t MaxNameLen() { return 31; }
    virtual int16_t SelfAddObjList(ObjListHdl* list, int16_t mode);
    virtual int16_t AddDependances(ObjListHdl* list, int16_t mode) { (void)list, (void)mode; return 0; }
    virtual int16_t SelfAddCallledList(ObjListHdl* list);
    virtual int16_t CheckParseError(int16_t err);
    virtual int16_t Parse();
    virtual int16_t SearchIn(const unsigned char* text, int16_t how);
    virtual TObjQz* GetOwnerObj() { return nullptr; }
    // Preview: the display handle is made by InitDisplay and given back to
    // DisposeDisplay; the base shows the record's picture, if any. The
    // first number carries the display type in and the width out, the
    // fifth the wanted page in and the current page out.
    virtual int16_t InitDisplay(platform::Handle* display, const platform::Rect& r, int16_t* width, int16_t* height,
                                int16_t* pageMin, int16_t* pageMax, int16_t* page, bool flag);
    virtual void DisposeDisplay(platform::Handle* display);
    virtual void SizeDisplay(platform::Handle display, const platform::Rect& r, int16_t* right, int16_t* bottom);
    virtual void Display(platform::Handle display, const platform::Rect& r);
    virtual void Scroll(platform::Handle display, const platform::Rect& r, int16_t dh, int16_t dv);
    // A literal text made a reference to an item of a string list (the
    // string list object *strObj, which moves on to a new list when the
    // current one is full); `strList` is the table of texts already moved.
    virtual int16_t DoItTxtStr(unsigned char* text, TObjQz** strObj, void* strList, bool* changed);
    virtual int16_t TxtToStr(void* strList) { (void)strList; return 0; }
    virtual int16_t StrToTxt() { return 0; }
    // Every `a` in the object's texts becomes `b`; a text the replacement
    // would make longer than it may be is left as it was and counted in
    // *leftWhole.
    virtual int16_t ReplaceTxt(const unsigned char* a, const unsigned char* b, int32_t* leftWhole)
    {
        (void)a, (void)b, (void)leftWhole;
        return 0;
    }
    virtual int16_t ReplaceCmd(TObjQz* a, TObjQz* b) { (void)a, (void)b; return 0; }
    virtual bool EnableReplaceTxt() { return false; }
    virtual bool EnableEdit() { return false; }
    virtual bool EnableDocDel() { return EnableDocWrite() && !TstFlag(kFlagDocOpen); }
    virtual bool EnableDocWrite() { return EnableDocEdit() && !TstFlag(kFlagDocReadOnly); }
    virtual bool EnableDocEdit() { return false; }
    virtual bool IsPresent() { return true; }
    virtual bool EnableDelete() { return false; }
    virtual uint32_t GetDocResType() { return kNoResType; }
    virtual uint32_t GetOwnResType() { return kNoResType; }
    virtual int16_t GetRType() { return kind; }
    virtual void Edit(TMainDoc* doc) { (void)doc; }
    virtual void EditDoc(TMainDoc* doc);
    virtual bool EnableReplace() { return false; }
    virtual bool EnableDegroup() { return false; }
    virtual int16_t Replace(TObjQz** out) { *out = nullptr; return 0; }
    // Renames the object to `name` and has the users of `list` follow (the
    // list is disposed of); *out the object that bears the name after.
    // 0, or the error shown (nothing then changed).
    virtual int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool flag2);
    virtual void SelectObj() {}
    virtual void DeSelectObj() {}
    virtual bool IsSelection(platform::Handle display) { (void)display; return false; }
    virtual void SelectAll(platform::Handle display) { (void)display; }
    virtual void MakeActive(platform::Handle display) { (void)display; }
    virtual void MakeInActive(platform::Handle display) { (void)display; }
    virtual void doCopy(platform::Handle display, int16_t page) { (void)display, (void)page; }
    virtual void XRefReplace(TObjQz* obj, const unsigned char* name, bool flag) { (void)obj, (void)name, (void)flag; }
    // What a user stores of `obj`'s current name follows its rename to
    // `name`: 0, or the error that fails the rename. Kinds that name what
    // they use by number need nothing; the base asks XRefReplace.
    virtual int16_t RewriteForRename(TObjQz* obj, const unsigned char* name, bool force)
    {
        XRefReplace(obj, name, force);
        return 0;
    }
    // Whether what this user stores of `obj`'s name stays the old one when
    // `obj` is renamed: a ciphered user's text, unless forced, is its
    // component's. Kinds that name what they use by number never do.
    virtual bool KeepsOldName(TObjQz* obj, bool force)
    {
        (void)obj, (void)force;
        return false;
    }
    virtual void GetTypeObjName(unsigned char* out);
    virtual void GetFullName(unsigned char* out);
    virtual void GetMoreInfo(unsigned char* out, bool flag);
    virtual int16_t NeedPopUp() { return 0; }
    virtual int16_t NbPopUpItems() { return 0; }
    virtual int16_t DisplayPopUp(platform::Point pt) { (void)pt; return 0; }
    // The object hit in the preview, null for none.
    virtual TObjQz* Click(platform::Handle display, const platform::EventRecord& event, int16_t page)
    {
        (void)display, (void)event, (void)page;
        return nullptr;
    }
    virtual bool BreakIf(int16_t lines);
    // The line an object is printed and exported under: its full name
    // directly followed by its information line.
    void GetHeading(unsigned char* out);
    // A heading line, in the current font: it waits to be drawn until what
    // it heads is placed, and goes on that page (an empty line printed
    // after it waits with it).
    void PrintHeading(const unsigned char* text, int16_t indent);
    virtual int16_t PageWide();
    virtual int16_t SaveNewLine(const unsigned char* text, int16_t indent, int16_t file);
    virtual void PrintLine(const unsigned char* text, int16_t indent);
    virtual void PrintLinedNewLine(const unsigned char* text, int16_t indent);
    virtual void PrintNewLine(const unsigned char* text, int16_t indent);
    virtual int16_t PrintObj(OutPutParmRec* options);
    virtual int16_t Print(OutPutParmRec* options);
    virtual int16_t GetOldTypeNum() { return 0; }
    virtual int16_t SaveOldFormat(int16_t file);
    virtual int16_t SaveObj(int16_t file) { (void)file; return 0; }
    virtual int16_t Save(int16_t file, OutPutParmRec* options);
    virtual void MergeObj(TObjQz* other);
    virtual bool Movable() { return false; }
    virtual bool Openable() { return false; }
    virtual bool Dragable() { return TstFlag(kFlagInComponent) ? false : Movable(); }
    virtual int16_t PrintDoc();
    virtual int16_t SaveDoc(int16_t file);
    virtual void MajRefLevel();
    virtual bool HasPrivateDependencies(TModuleObjQz* module);
    virtual void SetProtectedDependencies(TModuleObjQz* module);
    virtual int16_t AddGroup(TGroupObjQz* group, bool flag);
    virtual int16_t DelGroup(bool updateGroup, bool message);
    virtual int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj);
    virtual uint32_t GetTimeDoc();
    virtual int16_t MoveDoc(TObjQz* dest);
    virtual int16_t WriteDoc(void* te, int32_t state);
    virtual int16_t ReadDoc(void* te, int32_t* state, bool* added);
    virtual int16_t DelDoc();
    virtual int16_t LockDoc();
    virtual void UnLockDoc();
    virtual bool IsEqual(TObjQz* other);
    virtual bool IsInDoc(TMainDoc* doc);
    virtual int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) { (void)doc, (void)conflicts, (void)list; return 0; }
    virtual int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) { (void)doc, (void)conflicts, (void)list; return 0; }
    virtual int16_t DoInDir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list);
    virtual int16_t Parse_Link(TObjQz* obj, C_ListRec* conflicts);
    virtual void SetModuleState(int16_t state, bool write);
    virtual void RemoveComment(int16_t how) { (void)how; }
    virtual bool CheckModuleProject() { return true; }
    virtual bool IsInGroup(TGroupObjQz* group, bool flag) { (void)group, (void)flag; return false; }
    virtual bool Cryptable() { return true; }
    virtual void SetParam(uint8_t value) { (void)value; }

    // Component answer while installing over `oldObj`: 1 replace, 0 keep.
    static int16_t ModuleUpDate(TObjQz* newObj, TObjQz* oldObj);
    // Dependencies are not pulled into a copy (own override, else the kind's).
    bool DependenciesBlocked();
    // The time stamp of the object's own resource, read afresh (the one
    // taken at parsing when the kind has no resource of its own).
    uint32_t OwnResourceTime();
    // Takes the time stamp and size of the object's own resource.
    void StampOwnResource();

    ObjName name = {};
    int16_t kind = 0;
    int16_t id = 0;
    TMainDoc* owner = nullptr;
    // The graph's (XRef.h), read here and changed only there; for groups,
    // components and folders the summaries of their members'.
    ObjListHdl uses = nullptr;
    ObjListHdl usedBy = nullptr;
    ObjListHdl members = nullptr;
    TGroupObjQz* parent = nullptr;
    uint32_t resTime = 0;
    uint32_t resSize = 0;
    int16_t flags = 0;
    int16_t moduleState = 0;
    uint8_t level = 0;
    // The graph keeps where each of its many users stands in usedBy.
    bool usersIndexed = false;
    // Drawn from the program's seeded generator when the object is made:
    // the seed of its code name in a generated component, the same from run
    // to run.
    uint32_t seed = 0;

protected:
    // Shows `label` (string `index` of 'STR#' 1011), a space and the full
    // name in the wait dialog.
    void ShowProgress(int16_t index);
};

// The picture object named by a picture reference (high word 2, id in the
// low word), or null.
TObjQz* GetPictObj(TMainDoc* doc, int32_t ref);
// A fresh copy of a resource of the current document.
platform::Handle xget1newres(uint32_t type, int16_t id);
void subpt(platform::Point a, platform::Point* b);
