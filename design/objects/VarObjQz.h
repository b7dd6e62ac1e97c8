// Variables named in methods and forms (kind 9). A variable has no
// resource of its own: it exists because something uses it. The name tells
// the sort: the interprocess prefix, the local prefix, or neither (a
// process variable). Process and interprocess variables live in the
// document's kind-9 list (ids 2 and 1); a local one lives in the `locals`
// list of its method and bears the method's id.
#pragma once

#include <cstdint>

#include "design/objects/ObjQz.h"

class TVarObjQz : public TObjQz {
public:
    void init(TMainDoc* doc, const unsigned char* name, int16_t id) override;
    // A local variable: "<method> <sep> <name>"; otherwise the name.
    void GetStructName(unsigned char* out) override;
    int16_t MaxNameLen() override { return 31; }
    // Leaves the list that holds it: its method's locals, or the document's
    // variable list (list boxes are kept there too).
    void ListRemove() override;
    // Adds the variable once; a variable pulls in nothing.
    int16_t SelfAddObjList(ObjListHdl* list, int16_t mode) override;
    bool EnableDelete() override { return false; }
    // The variable's line of the compiler declaration file, up to 255
    // bytes before the first carriage return; empty without one.
    void GetMoreInfo(unsigned char* out, bool flag) override;
    bool Movable() override { return TstFlag(kFlagInComponent); }
    bool Cryptable() override { return param == 0; }
    // A process or interprocess variable of the same name in `doc`:
    // code 23 (none for locals, nor during a component update).
    int16_t Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list) override;
    void SetParam(uint8_t value) override { param = value; }

    // Renaming (design/rename/VariableRename.cpp): the users' texts follow,
    // then by the sort of the old and the new name the variable is renamed,
    // merged into the variable of the new name, or its users move to it.
    bool EnableReplace() override;
    int16_t Replace(TObjQz** out) override;
    int16_t DoReplace(const unsigned char* name, bool flag, ObjListHdl list, TObjQz** out, bool force) override;
    // `existing` is the variable already bearing the new name, if any;
    // *out the variable the users name afterwards.
    virtual void LocToLoc(const unsigned char* name, bool all, ObjListHdl users, TObjQz** out, TObjQz* existing);
    virtual void LocToGlob(const unsigned char* name, bool all, ObjListHdl users, TObjQz** out, TObjQz* existing);
    virtual void GlobToGlob(const unsigned char* name, bool all, ObjListHdl users, TObjQz** out, TObjQz* existing);
    virtual void GlobToLoc(const unsigned char* name, bool all, ObjListHdl users, TObjQz** out, TObjQz* existing);

    // Puts the variable into the component folder of the users that hold it
    // most openly (public before protected before private); no folder when
    // any user is outside every component folder.
    void SetModuleGroup();

    int32_t declPos = -1;       // its line in the declaration file, -1: none
    TObjQz* method = nullptr;   // the method of a local variable
    uint8_t param = 0;
};
