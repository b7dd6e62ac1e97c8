#include "design/transfer/ObjMove.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "app/appl/Utilities.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjQz.h"
#include "design/objects/TransferHooks.h"

namespace {

constexpr int16_t kRename = 1, kReplace = 3, kUseDest = 4, kCopy = 9;

int16_t Copied(TObjQz* obj, TMainDoc* dest, TObjQz** newObj, const MoveRules& rules, const unsigned char* name)
{
    if (!rules.copy) return 0;
    return rules.copy(obj->owner, dest, obj, newObj, name);
}

}  // namespace

int16_t CopyNameLen(int16_t kind)
{
    constexpr int16_t kDirectoryNameLen = 31;
    return kind == 10 ? TFieldBalloonObjQz::kStoredNameLen : kDirectoryNameLen;
}

void FreeName(int16_t kind, const unsigned char* name, const std::function<bool(const unsigned char*)>& taken,
              unsigned char* out)
{
    const int16_t maxLen = CopyNameLen(kind);
    std::memcpy(out, name, size_t(name[0]) + 1);
    if (out[0] > maxLen) out[0] = uint8_t(maxLen);
    for (int32_t n = 2; taken(out) && n < 100000; ++n) {
        const std::string suffix = "_" + std::to_string(n);
        unsigned char stem[256];
        std::memcpy(stem, name, size_t(name[0]) + 1);
        stem[0] = uint8_t(std::max<int32_t>(0, std::min<int32_t>(stem[0], maxLen - int32_t(suffix.size()))));
        ConcatNumDoc(stem, n, out);
    }
}

void FreeObjName(TMainDoc* doc, int16_t kind, const unsigned char* name, unsigned char* out)
{
    FreeName(kind, name, [&](const unsigned char* candidate) { return SearchObj_Name(doc, kind, candidate) != nullptr; },
             out);
}

int16_t MoveByChoice(TObjQz* obj, TMainDoc* dest, C_ListRec* conflicts, TObjQz** newObj, const MoveRules& rules)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && obj->TstFlag(kFlagInComponent)) return 0;
    if (const int16_t stop = caution()) return stop;
    if (const int16_t cancelled = obj->TObjQz::Move(dest, conflicts, newObj)) return cancelled;
    TConflict* record = C_SearchInChain(conflicts, obj);
    ConflictView view;
    int16_t result = 0;
    if (!GetConflictView(record, &view)) {
        result = Copied(obj, dest, newObj, rules, nullptr);
        if (result == 0 && *newObj) result = RecordC_Ref(obj, *newObj, conflicts);
    } else if (view.choice == kRename && rules.renames) {
        unsigned char name[256];
        FreeObjName(dest, obj->kind, view.newName[0] ? view.newName : obj->name, name);
        result = Copied(obj, dest, newObj, rules, name);
        if (*newObj) SetConflictDest(record, *newObj);
    } else if (view.choice == kCopy || (rules.ownNameChoice != 0 && view.choice == rules.ownNameChoice)) {
        result = Copied(obj, dest, newObj, rules, nullptr);
        if (*newObj) SetConflictDest(record, *newObj);
    } else if (view.choice == kReplace && rules.replace && view.destination) {
        if (TObjQz::ModuleUpDate(obj, view.destination) == 1) {
            TObjQz* target = view.destination;
            result = rules.replace(obj->owner, dest, obj, &target);
            if (result == 0) {
                *newObj = target;
                SetConflictDest(record, target);
            }
        } else {
            SetConflictChoice(record, kUseDest);
        }
    }
    if (result == 0 && *newObj) result = obj->MoveDoc(*newObj);
    return result;
}

int16_t UsedObjConflict(TObjQz* obj, TObjQz* found, int16_t missingCode, C_ListRec* conflicts, ObjListHdl list)
{
    if (IsInC_List(conflicts, obj) || C_SearchInChain(conflicts, obj) || IsInList(list, obj)) return 0;
    TConflict* out = nullptr;
    if (found) return RecordConflict(obj, found, 0, kUseDest, conflicts, &out);
    return RecordConflict(obj, nullptr, missingCode, Cc_Dflt(missingCode), conflicts, &out);
}

int16_t NamesakeConflict(TObjQz* obj, TObjQz* found, int16_t code, C_ListRec* conflicts)
{
    if (!found) return 0;
    TConflict* out = nullptr;
    return RecordConflict(obj, found, code, Cc_Dflt(code), conflicts, &out);
}
