// What the design objects ask of the transfer layer while objects are
// copied between two documents: recording conflicts in the conflict list,
// the default choice of a conflict code and the choices it offers, the
// counterpart a source object found in the destination, the movers of each
// kind and the rewriting of a copied method's links.
//
// The transfer folder, above this one, builds the conflict records and the
// list (TConflict, C_ListRec) and fills these hooks at start-up
// (SetTransferHooks); the design objects know records and lists only by
// pointer and call the wrappers below. Until then nothing is recorded (the
// record out-pointers stay null and the calls answer 0), no code has a
// default or a choice, no counterpart is found and the movers copy nothing.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"

class TMainDoc;
class TObjQz;
class TConflict;  // one conflict record, built above
struct C_ListRec; // the conflict list of one copy, built above
struct ChampOper;

// The fields of a conflict record the design objects read.
struct ConflictView {
    TObjQz* source = nullptr;
    TObjQz* destination = nullptr;  // null when none
    int16_t code = 0;
    int16_t choice = 0;
    unsigned char newName[34] = {};  // the name the copy will bear
};

// A kind's copy into the destination under `newName` (null or empty: the
// source's own name); the new object, null on failure.
using MoverHook = int16_t (*)(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj,
                              const unsigned char* newName);
// A kind's overwrite of the destination object `*destObj` with the source's
// contents; the object keeps its id.
using ReplacerHook = int16_t (*)(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
// A string list's copy into the destination's companion file under its
// own id, or (newId) under the first free one from 15000.
using StrMoverHook = int16_t (*)(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId);
// A picture's copy: under a new id, or (newId false) under its own when
// that is free there.
using PictMoverHook = int16_t (*)(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId);

struct TransferHooks {
    // Conflict records and the list.
    int16_t (*recordConflict)(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice, C_ListRec* list,
                              TConflict** out) = nullptr;
    int16_t (*chainConflict)(TConflict* parent, TObjQz* obj, int16_t code, TConflict** out) = nullptr;
    int16_t (*recordC_Ref)(TObjQz* source, TObjQz* copy, C_ListRec* list) = nullptr;
    TConflict* (*c_Search)(C_ListRec* list, TObjQz* obj) = nullptr;
    TConflict* (*c_SearchInChain)(C_ListRec* list, TObjQz* obj) = nullptr;
    bool (*isInC_List)(C_ListRec* list, TObjQz* obj) = nullptr;
    void (*c_Update)(TConflict* record, TConflict* parent, bool quiet) = nullptr;
    bool (*viewConflict)(TConflict* record, ConflictView* out) = nullptr;
    void (*setConflictDest)(TConflict* record, TObjQz* dest) = nullptr;
    void (*setConflictChoice)(TConflict* record, int16_t choice) = nullptr;

    // Choices and defaults.
    int16_t (*cc_Dflt)(int16_t code) = nullptr;
    int16_t (*maxChoix)(int16_t code) = nullptr;
    int16_t (*chooseNumber)(int16_t code, int16_t choice) = nullptr;
    int16_t (*chooseValue)(int16_t code, int16_t position) = nullptr;
    void (*chooseNumStrListe)(int16_t code, int16_t position, int16_t* textIndex, int16_t* icon) = nullptr;

    // Counterparts in the destination.
    int16_t (*getDestObj)(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out) = nullptr;
    int16_t (*getDestForm)(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** out) = nullptr;
    int16_t (*getDestRub)(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out,
                          ChampOper* designation) = nullptr;
    int16_t (*chainCrit)(C_ListRec* list, TObjQz* sourceTable, TObjQz* destTable) = nullptr;

    // Movers, by kind.
    MoverHook moveProc = nullptr, moveMBar = nullptr, moveMenu = nullptr, moveList = nullptr,
              moveBalloon = nullptr, moveStyle = nullptr, moveResource = nullptr,
              moveQzFile = nullptr, moveGroup = nullptr, moveExternal = nullptr, movePackage = nullptr,
              moveStyleSheet = nullptr;
    StrMoverHook moveStr = nullptr;
    PictMoverHook movePicture = nullptr;
    ReplacerHook replaceProc = nullptr, replaceMBar = nullptr, replaceMenu = nullptr, replaceList = nullptr,
                 replaceBalloon = nullptr, replaceStr = nullptr, replaceStyle = nullptr, replaceResource = nullptr,
                 replaceFile = nullptr, replaceExternal = nullptr, replacePackage = nullptr,
                 replacePicture = nullptr, replaceStyleSheet = nullptr;
    // A field or subtable, and a form, into the destination table `destTable`.
    int16_t (*moveCrit)(TMainDoc* source, TMainDoc* dest, TObjQz* field, TObjQz* destTable, TObjQz** newObj) =
        nullptr;
    int16_t (*moveLayOut)(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz* destTable, TObjQz** newObj,
                          const unsigned char* newName) = nullptr;
    int16_t (*replaceLayOut)(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** destForm) = nullptr;
    int16_t (*moveDocRes)(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId) =
        nullptr;
    // Rewrites the links of a copied method to the destination's objects.
    int16_t (*parse_LinkProc)(TObjQz* tableContext, int16_t methodId, TObjQz* method, TMainDoc* source,
                              C_ListRec* list) = nullptr;

    // The copy of an object of an installed component during a component
    // update: shows nothing and answers 0.
    int16_t (*caution)() = nullptr;
    // `member`, an object of the destination, is about to join `group`: a
    // transfer that does not land puts it back where it was.
    void (*noteGroupJoin)(TObjQz* group, TObjQz* member) = nullptr;
    // `obj` is about to be freed: a transfer under way lets go of it.
    void (*forgetObj)(TObjQz* obj) = nullptr;
};

void SetTransferHooks(const TransferHooks& hooks);
void ResetTransferHooks();
const TransferHooks& CurrentTransferHooks();

int16_t RecordConflict(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice, C_ListRec* list, TConflict** out);
// Chains a member's record under `parent`; *out is null when none was made
// (the object was already chained there): the caller settles only a
// record that was made (C_Update).
int16_t ChainConflict(TConflict* parent, TObjQz* obj, int16_t code, TConflict** out);
int16_t RecordC_Ref(TObjQz* source, TObjQz* copy, C_ListRec* list);
TConflict* C_Search(C_ListRec* list, TObjQz* obj);
TConflict* C_SearchInChain(C_ListRec* list, TObjQz* obj);
bool IsInC_List(C_ListRec* list, TObjQz* obj);
// Settles a chained record's code and choice from its parent's; nothing for
// a null record.
void C_Update(TConflict* record, TConflict* parent, bool quiet);
// False (and a cleared view) for a null record.
bool GetConflictView(TConflict* record, ConflictView* out);
void SetConflictDest(TConflict* record, TObjQz* dest);
void SetConflictChoice(TConflict* record, int16_t choice);

int16_t Cc_Dflt(int16_t code);
int16_t MaxChoix(int16_t code);
int16_t ChooseNumber(int16_t code, int16_t choice);
int16_t ChooseValue(int16_t code, int16_t position);
void ChooseNumStrListe(int16_t code, int16_t position, int16_t* textIndex, int16_t* icon);

int16_t GetDestObj(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out);
int16_t GetDestForm(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** out);
int16_t GetDestRub(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out,
                   ChampOper* designation);
int16_t ChainCrit(C_ListRec* list, TObjQz* sourceTable, TObjQz* destTable);

int16_t MoveProc(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveMenu(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveList(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId);
int16_t MoveStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveResource(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveGroup(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplaceProc(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceMenu(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceList(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceResource(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t MoveExternal(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplaceExternal(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t MovePackage(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplacePackage(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t MovePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId);
int16_t ReplacePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t MoveStyleSheet(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplaceStyleSheet(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t MoveCrit(TMainDoc* source, TMainDoc* dest, TObjQz* field, TObjQz* destTable, TObjQz** newObj);
int16_t MoveLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz* destTable, TObjQz** newObj,
                   const unsigned char* newName);
int16_t ReplaceLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** destForm);
int16_t MoveDocRes(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId);
int16_t Parse_LinkProc(TObjQz* tableContext, int16_t methodId, TObjQz* method, TMainDoc* source, C_ListRec* list);

int16_t caution();
void NoteGroupJoin(TObjQz* group, TObjQz* member);
void ForgetRetiredObj(TObjQz* obj);
