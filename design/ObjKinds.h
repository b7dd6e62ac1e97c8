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

#include "design/ObjQz.h"
#include "design/VarObjQz.h"

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
    void Dispose() override;
    int16_t MaxNameLen() override { return 31; }
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    bool Openable() override { return true; }
    // Fields, a subtable counting as its own fields.
    virtual int32_t CountCriteres();
    int16_t fieldNumber = 0;   // a subtable's place in its owner table
    int16_t methodId = 0;
    int16_t tableNumber = 0;   // -1 for a subtable
    TObjQz* method = nullptr;
    ObjListHdl forms = nullptr;
    ObjListHdl balloons = nullptr;
};

class TCritObjQz : public TStructObjQz {
public:
    // `record` is the field's 66-byte entry of its table's 'FIQz'.
    int16_t Read(void* record) override;
    bool EnableDocEdit() override { return !TstFlag(kFlagDocReadOnly) || TstFlag(kFlagHasDoc); }
    // 'H' 'E' and the table's id.
    uint32_t GetDocResType() override;
    int16_t AddGroup(TGroupObjQz* group, bool flag) override { (void)group, (void)flag; return 0; }
    int16_t fieldNumber = 0;
    int16_t typeWord = 0;  // entry +32..+33
    int16_t length = 0;    // entry +34
    int16_t third = 0;     // entry +36
};

class TLayoutObjQz : public TStructObjQz {
public:
    // `record` is the form's 270-byte entry of its table's 'TFQz'.
    int16_t Read(void* record) override;
    void Dispose() override;
    int16_t MaxNameLen() override { return 31; }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    int16_t GetOldTypeNum() override { return 5; }
    int16_t methodId = 0;
    int16_t formId = 0;
    int16_t menuBarNumber = 0;
    int16_t previewChoice = 0;
    TObjQz* method = nullptr;
    ObjListHdl scripts = nullptr;
};

// Every method: project, database, object, table and form methods.
class TProcObjQz : public TStructObjQz {
public:
    void Dispose() override;
    // A project method takes its icon from its 44-byte 'TPQz' record (null:
    // no record, the plain icon); the others take their table and state.
    int16_t Read(void* record) override;
    int16_t GetIconID() override { return iconId; }
    bool Used() override { return used || TObjQz::Used(); }
    int16_t MaxNameLen() override { return 31; }
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    int16_t GetOldTypeNum() override { return 3; }
    // Marked in use from outside the graph (user records, start-up method).
    virtual void SetUsed() { used = true; }
    ObjListHdl locals = nullptr;  // the method's own local variables (owned)
    TFileObjQz* table = nullptr;  // the table its text refers to by default
    bool used = false;
    int32_t declPos = -1;
    int16_t iconId = 2077;
};
class TDBMethodObjQz : public TProcObjQz {
public:
    bool Used() override { return true; }
    bool EnableReplace() override { return false; }
};
// Methods owned by a form or a table: their state only, never its flags.
class TOwnedProcObjQz : public TProcObjQz {
public:
    int16_t Read(void* record) override;
    int16_t GetIconID() override { return TObjQz::GetIconID(); }
    bool Cryptable() override { return false; }
};
class TScriptObjQz : public TOwnedProcObjQz {
public:
    int16_t GetOldTypeNum() override { return 4; }
};
class TFileProcObjQz : public TOwnedProcObjQz {
public:
    int16_t GetOldTypeNum() override { return 1; }
};
class TLayOutProcObjQz : public TOwnedProcObjQz {
public:
    int16_t GetOldTypeNum() override { return 2; }
};

class TCmdObjQz : public TObjQz {
public:
    // The name is the command's text, item `id` of 'STR#' 8.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
};

class TListObjQz : public TObjQz {
public:
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    int16_t listIndex = 0;  // its entry in 'LEQz' 0
};
// The name of the choice list whose 'List' id is `id`, from 'LEQz' 0 of
// the current container; empty when no entry has it.
void GetNameEnum(int16_t id, unsigned char* out);

class TMBarObjQz : public TObjQz {
public:
    // `record` points to the 16-bit slot number.
    int16_t Read(void* record) override;
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    int32_t displayMode = 0;
    int16_t barNumber = 0;  // its slot in the menu-bar directory
};
class TMenuObjQz : public TObjQz {
public:
    uint32_t GetDocResType() override;
    uint32_t GetOwnResType() override;
    int32_t displayMode = 0;
};

class TExtObjQz : public TStructObjQz {};
class TPackagesObjQz : public TExtObjQz {};
class TExternalObjQz : public TExtObjQz {};

class TListboxObjQz : public TVarObjQz {};

class TBalloonObjQz : public TObjQz {};
class TFieldBalloonObjQz : public TBalloonObjQz {
public:
    int16_t MaxNameLen() override { return 31; }
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    int16_t balloonIndex = 0;  // its entry in 'LiHe' 0
};
class TFileBalloonObjQz : public TBalloonObjQz {
public:
    // `record`: the text's resource type, then its id, big-endian.
    int16_t Read(void* record) override;
    uint32_t textType = 0;
    int16_t textId = 0;
};
class TSTRObjQz : public TObjQz {
public:
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
};
class TStyleObjQz : public TObjQz {
public:
    // `record` is the entry's description: a length byte, up to 80 bytes.
    int16_t Read(void* record) override;
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    unsigned char description[81] = {};
};
// Names that exist only because method texts use them.
class TNamedObjQz : public TObjQz {
public:
    bool EnableReplace() override;
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
    uint32_t resType = 0;
};

class TConstantObjQz : public TObjQz {
public:
    // "NAME:VALUE" names the constant NAME of value VALUE.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    ObjName value = {};
};
class TPictObjQz : public TObjQz {
public:
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    bool EnableReplace() override;
};
class TStyleSheetObjQz : public TObjQz {
public:
    uint32_t GetOwnResType() override;
    bool Movable() override { return true; }
    bool Cryptable() override { return false; }
    bool EnableReplace() override;
};

#include "design/Groups.h"  // kinds 23, 32 and 33

// A new object of the kind's class; null when memory runs out.
TObjQz* ConstructObjOfKind(int16_t kind);
