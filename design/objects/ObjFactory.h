// The object factory and the look-ups. Per-kind lists are kept in
// ascending name order (ordinary collation), the command list (kind 3) in
// id order, the table list (kind 1) in reading order: each table followed
// by its fields and subtables. Every look-up answers null rather than
// failing.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"

class TMainDoc;
class TObjQz;
class TFileObjQz;
class TMBarObjQz;

// The factory finds and places commands by id, so code is parsed into a
// command list in id order; a read leaves the list in name order, as every
// window shows it. While one lives, the document's commands are in id
// order; once it ends, in name order again, however the parses ended.
class CommandsById {
public:
    explicit CommandsById(TypeListHdl types);
    ~CommandsById();
    CommandsById(const CommandsById&) = delete;
    CommandsById& operator=(const CommandsById&) = delete;

private:
    TypeListHdl types_;
};

// Releases an object's memory without Dispose (the factory's undo).
void DestroyObj(TObjQz* obj);

TObjQz* NewListObj_Id(TMainDoc* doc, ObjListHdl* list, int16_t kind, const unsigned char* name, int16_t id, bool force);
// NewListObj_Id for a caller that knows no object of that name in the list
// has that id (ObjNamed): the new object goes where the name goes without
// a walk of the same-named objects for the id.
TObjQz* NewListObj_NewId(TMainDoc* doc, ObjListHdl* list, int16_t kind, const unsigned char* name, int16_t id);
TObjQz* NewObj_Id(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id, bool force);
TObjQz* GetObj_Name(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id);
TObjQz* Get_GlobVar(TMainDoc* doc, const unsigned char* name);
TObjQz* Get_GlobGlobVar(TMainDoc* doc, const unsigned char* name);
TObjQz* Get_LocalVar(TObjQz* method, const unsigned char* name);

TObjQz* SearchListObj_Id(ObjListHdl list, int16_t id);
TObjQz* SearchObj_Id(TMainDoc* doc, int16_t kind, int16_t id);
TObjQz* SearchListObj_Name(ObjListHdl list, const unsigned char* name);
TObjQz* SearchObj_Name(TMainDoc* doc, int16_t kind, const unsigned char* name);
TObjQz* Search_GlobVar(TMainDoc* doc, const unsigned char* name);
TObjQz* Search_GlobGlobVar(TMainDoc* doc, const unsigned char* name);
TObjQz* Search_LocalVar(TObjQz* method, const unsigned char* name);
TObjQz* Search_GnlObj(TMainDoc* doc, int16_t kind, TObjQz* method, const unsigned char* name, int16_t scope);
TObjQz* Search_Package(TMainDoc* doc, const unsigned char* name);
TObjQz* NewResourceObj(TMainDoc* doc, uint32_t type, int16_t id);
TObjQz* SearchResource(TMainDoc* doc, uint32_t type, int16_t id);

// Binary searches; pos is the 1-based place of the match or where it goes.
TObjQz* SearchInd_Obj(ObjListHdl list, const unsigned char* name, int32_t* pos);
TObjQz* SearchInd_IdObj(ObjListHdl list, int16_t id, int32_t* pos);
TObjQz* Search_With_ResId(ObjListHdl list, const unsigned char* name, int32_t* pos, int16_t id);
TObjQz* SearchTableName(ObjListHdl list, const unsigned char* name, int32_t* pos);
TObjQz* SearchNamedFileObj(TMainDoc* doc, const unsigned char* name);
TObjQz* SearchNamedFieldObj(ObjListHdl list, const unsigned char* name);
// Whether the object's name is the name under the per-kind lists' order
// (the look-ups' equality).
bool ObjNamed(TObjQz* obj, const unsigned char* name);

// A field named across tables: the field number in the table, the table
// number (0: the table at hand), the subtable depth and, per level, the
// field number within the subtable above. Callers fill it from whichever
// stored layout they read.
struct ChampOper {
    static constexpr int16_t kMaxDepth = 8;
    int16_t field = 0;
    int16_t table = 0;
    int16_t depth = 0;
    int16_t path[kMaxDepth + 1] = {};  // path[1..depth]
};

// Walks the table list (each table followed by its fields and subtables)
// to the field or subtable the operand names; null when any step fails.
TObjQz* SearchCritObj(TObjQz* table, TypeListHdl typeList, const ChampOper& op);
// The table numbered `number` in the table list, or null (remembered places,
// as the field look-ups use).
TObjQz* SearchTableNumbered(TypeListHdl typeList, int16_t number);
// "[Table]Field.Sub" as the operand names it; empty when it cannot.
void GetCritName(unsigned char* out, TObjQz* table, TypeListHdl typeList, const ChampOper& op);
// The table or subtable of a bracketed full name, or null.
TObjQz* SearchFullNamedFileObj(TMainDoc* doc, const unsigned char* text);
// A new field (28), table or subtable (1, 29) or plain object at the end of
// the table list, in reading order.
TObjQz* NewCritObj(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id);
// A new object placed in the table list where the operand designates.
TObjQz* AddCritObj(TMainDoc* doc, const unsigned char* name, const ChampOper& op, int16_t kind, int16_t id);
