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
    // Disposes the table method, the forms and the field balloons.
    void Dispose() override;
    // Links the table to its related fields and parses its method and forms.
    int16_t Parse() override;
    int16_t fieldNumber = 0;   // a subtable's place in its owner table
    int16_t methodId = 0;
    int16_t tableNumber = 0;   // -1 for a subtable
    TObjQz* method = nullptr;
    ObjListHdl forms = nullptr;     // its forms (owned)
    ObjListHdl balloons = nullptr;  // its field balloons (owned)
};

class TCritObjQz : public TStructObjQz {};

class TLayoutObjQz : public TStructObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Disposes the form method and the object methods.
    void Dispose() override;
    int16_t Parse() override;
    // Walks the stored form `resId` and links what it names; 9001 for data
    // in neither layout or cut short, -108 when the form is missing.
    virtual int16_t GetForm(int16_t resId);
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
    void Dispose() override;
    // Links the method to everything its tokens name.
    int16_t Parse() override;
    virtual void SetUsed() { used = true; }
    TFileObjQz* table = nullptr;  // the table its text refers to by default
    ObjListHdl locals = nullptr;  // the method's own local variables (owned)
    bool used = false;            // in use from outside the graph
};
class TProcObjQz : public TGnlProcObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // Project and database methods go by their plain name.
    void GetStructName(unsigned char* out) override { GetName(out); }
    int32_t declPos = -1;
    int16_t iconId = 0;
};
class TDBMethodObjQz : public TProcObjQz {
public:
    bool Used() override { return true; }
    bool EnableReplace() override { return false; }
};
class TScriptObjQz : public TGnlProcObjQz {};
class TFileProcObjQz : public TGnlProcObjQz {};
class TLayOutProcObjQz : public TGnlProcObjQz {};

class TCmdObjQz : public TObjQz {
public:
    // The name is the command's text, item `id` of 'STR#' 8.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
};

class TListObjQz : public TObjQz {
public:
    // Links the list to the pictures its items show.
    int16_t Parse() override;
    int16_t listIndex = 0;  // its entry in 'LEQz' 0
};
class TMBarObjQz : public TObjQz {
public:
    // Links the bar to its menus and what their items name.
    int16_t Parse() override;
    int32_t displayMode = 0;
    int16_t libaSlot = 0;  // its slot in the menu-bar directory
};
class TMenuObjQz : public TObjQz {
public:
    int32_t displayMode = 0;
};

class TExtObjQz : public TStructObjQz {};
class TPackagesObjQz : public TExtObjQz {};
class TExternalObjQz : public TExtObjQz {};

class TListboxObjQz : public TVarObjQz {};

class TFieldBalloonObjQz : public TObjQz {};
class TFileBalloonObjQz : public TObjQz {};
class TSTRObjQz : public TObjQz {};
class TStyleObjQz : public TObjQz {};
class TSetObjQz : public TObjQz {};
class TSelectObjQz : public TObjQz {};
class TSemaphObjQz : public TObjQz {};
class TResourceObjQz : public TObjQz {};

class TConstantObjQz : public TObjQz {
public:
    // "NAME:VALUE" names the constant NAME of value VALUE.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    ObjName value = {};
};
class TPictObjQz : public TObjQz {};
class TStyleSheetObjQz : public TObjQz {};

class TGroupObjQz : public TObjQz {
public:
    // A component's private folder answers true.
    virtual bool IsPrivate() { return false; }
    // Rebuilds the group's own list of calls and stores the group.
    virtual int16_t MakeCallList(bool flag) { (void)flag; return 0; }
    virtual int16_t Write() { return 0; }
};

class TModuleObjQz : public TGroupObjQz {
public:
    bool IsModule() override { return true; }
    TGroupObjQz* publicFolder = nullptr;
    TGroupObjQz* protectedFolder = nullptr;
    TGroupObjQz* privateFolder = nullptr;
    bool hasRecord = false;     // the component's record was read
    uint32_t dateFrom = 0;      // the component's recorded date range
    uint32_t dateTo = 0;
};

class TModuleGroupObjQz : public TGroupObjQz {
public:
    bool IsPrivate() override { return folderKind == 3; }
    int16_t folderKind = 0;  // 1 public, 2 protected, 3 private
    TModuleGroupObjQz* copy = nullptr;
};

// A new object of the kind's class; null when memory runs out.
TObjQz* ConstructObjOfKind(int16_t kind);
// An object kept by its owner rather than in a kind list (table and form
// methods): constructed and initialised; null when memory runs out.
TObjQz* NewOwnedObj(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id);
