// The transfer seam and its behaviour until the transfer layer fills it.
#include "design/objects/TransferHooks.h"

#include "design/objects/ObjFactory.h"

namespace {

TransferHooks gHooks;

}  // namespace

void SetTransferHooks(const TransferHooks& hooks) { gHooks = hooks; }
void ResetTransferHooks() { gHooks = TransferHooks{}; }
const TransferHooks& CurrentTransferHooks() { return gHooks; }

int16_t RecordConflict(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice, C_ListRec* list, TConflict** out)
{
    if (out) *out = nullptr;
    return gHooks.recordConflict ? gHooks.recordConflict(source, dest, code, choice, list, out) : 0;
}

int16_t ChainConflict(TConflict* parent, TObjQz* obj, int16_t code, TConflict** out)
{
    if (out) *out = nullptr;
    return gHooks.chainConflict ? gHooks.chainConflict(parent, obj, code, out) : 0;
}

int16_t RecordC_Ref(TObjQz* source, TObjQz* copy, C_ListRec* list)
{
    return gHooks.recordC_Ref ? gHooks.recordC_Ref(source, copy, list) : 0;
}

TConflict* C_Search(C_ListRec* list, TObjQz* obj) { return gHooks.c_Search ? gHooks.c_Search(list, obj) : nullptr; }

TConflict* C_SearchInChain(C_ListRec* list, TObjQz* obj)
{
    return gHooks.c_SearchInChain ? gHooks.c_SearchInChain(list, obj) : nullptr;
}

bool IsInC_List(C_ListRec* list, TObjQz* obj) { return gHooks.isInC_List && gHooks.isInC_List(list, obj); }

void C_Update(TConflict* record, TConflict* parent, bool quiet)
{
    if (record && gHooks.c_Update) gHooks.c_Update(record, parent, quiet);
}

bool GetConflictView(TConflict* record, ConflictView* out)
{
    *out = ConflictView{};
    return record && gHooks.viewConflict && gHooks.viewConflict(record, out);
}

void SetConflictDest(TConflict* record, TObjQz* dest)
{
    if (record && gHooks.setConflictDest) gHooks.setConflictDest(record, dest);
}

void SetConflictChoice(TConflict* record, int16_t choice)
{
    if (record && gHooks.setConflictChoice) gHooks.setConflictChoice(record, choice);
}

int16_t Cc_Dflt(int16_t code) { return gHooks.cc_Dflt ? gHooks.cc_Dflt(code) : 0; }
int16_t MaxChoix(int16_t code) { return gHooks.maxChoix ? gHooks.maxChoix(code) : 0; }
int16_t ChooseNumber(int16_t code, int16_t choice) { return gHooks.chooseNumber ? gHooks.chooseNumber(code, choice) : 0; }
int16_t ChooseValue(int16_t code, int16_t position) { return gHooks.chooseValue ? gHooks.chooseValue(code, position) : 0; }

void ChooseNumStrListe(int16_t code, int16_t position, int16_t* textIndex, int16_t* icon)
{
    *textIndex = *icon = 0;
    if (gHooks.chooseNumStrListe) gHooks.chooseNumStrListe(code, position, textIndex, icon);
}

int16_t GetDestObj(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out)
{
    *out = nullptr;
    return gHooks.getDestObj ? gHooks.getDestObj(list, source, dest, obj, out) : 0;
}

int16_t GetDestForm(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** out)
{
    *out = nullptr;
    return gHooks.getDestForm ? gHooks.getDestForm(list, source, dest, form, out) : 0;
}

int16_t GetDestRub(C_ListRec* list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out,
                   ChampOper* designation)
{
    *out = nullptr;
    if (designation) *designation = ChampOper{};
    return gHooks.getDestRub ? gHooks.getDestRub(list, source, dest, obj, out, designation) : 0;
}

int16_t ChainCrit(C_ListRec* list, TObjQz* sourceTable, TObjQz* destTable)
{
    return gHooks.chainCrit ? gHooks.chainCrit(list, sourceTable, destTable) : 0;
}

#define QZ_MOVER(Name, slot)                                                                                    \
    int16_t Name(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName) \
    {                                                                                                           \
        *newObj = nullptr;                                                                                      \
        return gHooks.slot ? gHooks.slot(source, dest, obj, newObj, newName) : 0;                               \
    }
QZ_MOVER(MoveProc, moveProc)
QZ_MOVER(MoveMBar, moveMBar)
QZ_MOVER(MoveMenu, moveMenu)
QZ_MOVER(MoveList, moveList)
QZ_MOVER(MoveBalloon, moveBalloon)
QZ_MOVER(MoveStyle, moveStyle)
QZ_MOVER(MoveResource, moveResource)
QZ_MOVER(MoveQzFile, moveQzFile)
QZ_MOVER(MoveGroup, moveGroup)
QZ_MOVER(MoveExternal, moveExternal)
QZ_MOVER(MovePackage, movePackage)
QZ_MOVER(MoveStyleSheet, moveStyleSheet)
#undef QZ_MOVER

int16_t MovePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId)
{
    *newObj = nullptr;
    return gHooks.movePicture ? gHooks.movePicture(source, dest, obj, newObj, newId) : 0;
}

int16_t MoveStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId)
{
    *newObj = nullptr;
    return gHooks.moveStr ? gHooks.moveStr(source, dest, obj, newObj, newId) : 0;
}

// An overwrite left unfilled leaves the destination object as it was.
#define QZ_REPLACER(Name, slot)                                                       \
    int16_t Name(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)     \
    {                                                                                 \
        return gHooks.slot ? gHooks.slot(source, dest, obj, destObj) : 0;             \
    }
QZ_REPLACER(ReplaceProc, replaceProc)
QZ_REPLACER(ReplaceMBar, replaceMBar)
QZ_REPLACER(ReplaceMenu, replaceMenu)
QZ_REPLACER(ReplaceList, replaceList)
QZ_REPLACER(ReplaceBalloon, replaceBalloon)
QZ_REPLACER(ReplaceStr, replaceStr)
QZ_REPLACER(ReplaceStyle, replaceStyle)
QZ_REPLACER(ReplaceResource, replaceResource)
QZ_REPLACER(ReplaceFile, replaceFile)
QZ_REPLACER(ReplaceExternal, replaceExternal)
QZ_REPLACER(ReplacePackage, replacePackage)
QZ_REPLACER(ReplacePicture, replacePicture)
QZ_REPLACER(ReplaceStyleSheet, replaceStyleSheet)
#undef QZ_REPLACER

int16_t MoveCrit(TMainDoc* source, TMainDoc* dest, TObjQz* field, TObjQz* destTable, TObjQz** newObj)
{
    *newObj = nullptr;
    return gHooks.moveCrit ? gHooks.moveCrit(source, dest, field, destTable, newObj) : 0;
}

int16_t MoveLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz* destTable, TObjQz** newObj,
                   const unsigned char* newName)
{
    *newObj = nullptr;
    return gHooks.moveLayOut ? gHooks.moveLayOut(source, dest, form, destTable, newObj, newName) : 0;
}

int16_t ReplaceLayOut(TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** destForm)
{
    return gHooks.replaceLayOut ? gHooks.replaceLayOut(source, dest, form, destForm) : 0;
}

int16_t MoveDocRes(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId)
{
    return gHooks.moveDocRes ? gHooks.moveDocRes(source, dest, type, sourceId, destId) : 0;
}

int16_t Parse_LinkProc(TObjQz* tableContext, int16_t methodId, TObjQz* method, TMainDoc* source, C_ListRec* list)
{
    return gHooks.parse_LinkProc ? gHooks.parse_LinkProc(tableContext, methodId, method, source, list) : 0;
}

int16_t caution() { return gHooks.caution ? gHooks.caution() : 0; }

void NoteGroupJoin(TObjQz* group, TObjQz* member)
{
    if (gHooks.noteGroupJoin) gHooks.noteGroupJoin(group, member);
}

void ForgetRetiredObj(TObjQz* obj)
{
    if (gHooks.forgetObj) gHooks.forgetObj(obj);
}
