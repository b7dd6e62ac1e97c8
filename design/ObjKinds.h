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
    int16_t fieldNumber = 0;   // a subtable's place in its owner table
    int16_t methodId = 0;
    int16_t tableNumber = 0;   // -1 for a subtable
    TObjQz* method = nullptr;
    ObjListHdl forms = nullptr;
    ObjListHdl balloons = nullptr;
};

class TCritObjQz : public TStructObjQz {};
class TLayoutObjQz : public TStructObjQz {};

class TProcObjQz : public TObjQz {
public:
    void Dispose() override;
    ObjListHdl locals = nullptr;  // the method's own local variables (owned)
};
class TDBMethodObjQz : public TProcObjQz {
public:
    bool Used() override { return true; }
    bool EnableReplace() override { return false; }
};
class TScriptObjQz : public TProcObjQz {};
class TFileProcObjQz : public TProcObjQz {};
class TLayOutProcObjQz : public TProcObjQz {};

class TCmdObjQz : public TObjQz {
public:
    // The name is the command's text, item `id` of 'STR#' 8.
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
};

class TListObjQz : public TObjQz {};
class TMBarObjQz : public TObjQz {
public:
    int16_t barNumber = 0;  // its slot in the menu-bar directory
};
class TMenuObjQz : public TObjQz {};

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
