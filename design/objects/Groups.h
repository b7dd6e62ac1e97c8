// Groups (kind 23), components (32) and component folders (33). A group's
// members are the base's `members` list, each member having the group as
// `parent`; a component's members are its three folders.
//
// Member list '#GRP', '#MOD' or '#GMO' (id and name = the object's),
// big-endian 16-bit words:
//   254                        the current format
//   kind, ids...               per member (below), in member order
//   -1                         the end
// Kinds 1-8, 10-23, 32, 33: the id. 24, 26: table id, own id. 25, 27:
// table id, form id, own id. Variables and fields are never written.
// Lists without the leading 254 are older ones (GroupMembers.cpp) and are
// rewritten in the current format once read.
#pragma once

#include <cstdint>

#include "design/objects/ObjQz.h"

class TModuleGroupObjQz;
struct SummaryTally;  // what the summaries are made of (design/links/XRef.cpp)

class TGroupObjQz : public TObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Leaves its own group, removes its member list from both files and
    // commits, then goes; the members stay in the document.
    void DeleteObj(bool really) override;
    void Dispose() override;
    void SetTrashFlags(bool on) override;
    // Reads the member list: -108 when it is missing.
    int16_t Read(void* record) override;
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    bool EnableDegroup() override { return !TstFlag(kFlagDocOpen); }
    bool EnableReplace() override;
    // Renamed as its member list's resource name; its users name it by id.
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    // Itself once, then its members (1008 once an open companion holds more
    // than 2,500 resources; nothing for the group of id 0).
    int16_t SelfAddObjList(ObjListHdl* list, int16_t mode) override;
    bool Movable() override { return true; }
    bool Openable() override { return true; }
    // `obj` is a member, or (deep) a member of a member group.
    bool IsInGroup(TGroupObjQz* obj, bool deep) override;
    // A member whose own resource is (resType, id); a table by its number.
    bool IsInGroup(uint32_t resType, int16_t id);

    // Copying (design/transfer/GroupTransfer.cpp): the group itself comes
    // empty; its members join it when the links are made.
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A group of the name: 5.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // The copies of the source's members join it.
    int16_t Parse_Link(TObjQz* src, C_ListRec* conflicts) override;

    // The heading, then the members when the row does not show them.
    int16_t PrintObj(OutPutParmRec* options) override;
    int16_t Save(int16_t file, OutPutParmRec* options) override;

    // Each member method's local variables stand right after it, in their
    // method's order, as the reader puts them; the others keep theirs.
    // -108 leaves the members as they were.
    int16_t LocalsBesideMethods();
    // Stores the member list, making it (under UniqueGroupID) when missing.
    virtual int16_t Write();
    // uses/usedBy become the union of the members', members left out (and
    // ciphered objects from the uses); member groups whose summaries wait
    // or were never made are made first (MakeSummary, XRef.h).
    virtual int16_t MakeCallList(bool showMessage);
    virtual bool IsPrivate() { return false; }
    virtual bool IsPublic() { return false; }
    virtual bool IsProtected() { return false; }
    virtual int32_t GetVisibleItems() { return visibleItems; }
    virtual void SetVisibleItems();

    int32_t visibleItems = 0;
    // The graph's (XRef.cpp): the summaries were made once, wait to be
    // remade (emptied meanwhile), and what they are made of, which keeps
    // them up to date from a group's first change on.
    bool summaryMade = false;
    bool callListStale = false;
    SummaryTally* tally = nullptr;
};

class TModuleObjQz : public TGroupObjQz {
public:
    int16_t GetIconID() override { return TstFlag(kFlagInComponent) ? 2073 : 2072; }
    // A component installed in the document; otherwise a project of one.
    bool IsModule() override;
    bool IsModuleProject() override;
    // 'moQz', 'MODQ' and 'MAPQ' of its id go too.
    void DeleteObj(bool really) override;
    int16_t Read(void* record) override;
    uint32_t GetOwnResType() override;
    int16_t GetRType() override { return 32; }
    void GetFullName(unsigned char* out) override;
    bool Dragable() override { return false; }
    int16_t Write() override;
    void SetVisibleItems() override;
    // The copy takes its properties and is kept in `copy`.
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // A component of the name: 5 (a project of one) or 21 (installed).
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;

    void SetPublic(TModuleGroupObjQz* folder);
    void SetProtected(TModuleGroupObjQz* folder);
    void SetPrivate(TModuleGroupObjQz* folder);
    // Date format 7 text of `date`; SetDate answers false for bad text.
    void GetDate(unsigned char* out);
    bool SetDate(const unsigned char* text);
    void GetVersion(unsigned char* out);
    void SetVersion(const unsigned char* text);
    void GetComments(unsigned char* out);
    void SetComments(const unsigned char* text);
    uint32_t GetVersionNb() const { return versionNb; }
    void SetVersionNb(uint32_t value) { versionNb = value; }
    // The stored characters up to the first zero byte.
    void GetPrefix(unsigned char* out);
    void SetPrefix(const unsigned char* text);
    // 'moQz' of the component's id.
    int16_t WriteProperties();
    int16_t ReadProperties();
    // The name-code table 'cdQz' (made empty, room 30, when missing); null
    // when memory runs out.
    platform::Handle GetNameCodeHandle();
    int16_t SetNameCodeHandle(platform::Handle table);
    void DeleteNameCodeHandle();
    // 0, or 1020 when a folder is missing, the manager does not know the
    // component or one of its entries is outside the folder of its state
    // (-108 when memory runs out).
    int16_t CheckModule();

    TGroupObjQz* publicFolder = nullptr;
    TGroupObjQz* protectedFolder = nullptr;
    TGroupObjQz* privateFolder = nullptr;
    TModuleObjQz* copy = nullptr;
    int16_t date[3] = {};
    unsigned char version[256] = {};
    uint8_t prefix[4] = {};
    uint8_t prefixSet = 0;
    uint8_t generated = 0;
    unsigned char comments[256] = {};
    uint32_t versionNb = 0;
    uint32_t extra1 = 0, extra2 = 0;  // stored; an install's start and end
    int16_t propsFormat = 0;
    bool hasRecord = false;  // the component's record was read
    uint32_t dateFrom = 0;   // the component's recorded date range
    uint32_t dateTo = 0;
};

class TModuleGroupObjQz : public TGroupObjQz {
public:
    int16_t GetIconID() override { return TstFlag(kFlagInComponent) ? 2075 : 2074; }
    uint32_t GetOwnResType() override;
    int16_t GetRType() override { return 33; }
    void GetFullName(unsigned char* out) override;
    bool Dragable() override { return false; }
    bool IsPrivate() override;
    bool IsPublic() override;
    bool IsProtected() override;
    int16_t Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj) override;
    // The folder of the same role of the component of its component's name.
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    // Every member, then the folder, takes the state; 1 also sets flag 10.
    void SetModuleGroupState(int16_t state);

    TModuleGroupObjQz* copy = nullptr;
    int16_t folderKind = 0;  // 1 public, 2 protected, 3 private, once known
};

// Reading a group repairs its list in memory only. While a document's
// groups are read, lists that need rewriting (older formats, missing
// members, members taken by another group) are noted; EndGroupRewrites
// writes them once every group has been read (commit true) or forgets
// them, so that a refused document is left as it was on disk. Outside
// such a batch nothing is noted.
void BeginGroupRewrites();
int16_t EndGroupRewrites(bool commit);

// A group id free for '#GRP', '#GMO' and '#MOD' alike, in the current
// container; 0 with *err set when the store gives none.
int16_t UniqueGroupID(TMainDoc* doc, int16_t* err = nullptr);
