#include "transfer/components/InstallRules.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/Groups.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/files/TextFiles.h"
#include "transfer/components/ComponentGroups.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

namespace {

using platform::FourCC;

constexpr const char* kSystemVars[] = {"OK",        "Error",    "MouseX",     "MouseY",     "MouseDown",
                                       "MouseProc", "Document", "FldDelimit", "RecDelimit", "KeyCode",
                                       "Modifiers", "UserSet",  "LockedSet"};

// Codes whose destination object the install replaces.
bool ReplacingCode(int16_t code)
{
    switch (code) {
    case 1: case 2: case 3: case 6: case 7: case 8: case 14: case 16: case 18: case 24: return true;
    default: return false;
    }
}

// The objects of the module's member tree, gathered once for a whole list
// of records.
class Members {
public:
    explicit Members(TModuleObjQz* module) : fModule(module)
    {
        std::vector<TObjQz*> stack;
        if (module) stack.push_back(module);
        while (!stack.empty()) {
            TObjQz* g = stack.back();
            stack.pop_back();
            for (int32_t i = 0; g->members && i < g->members->Size(); ++i) {
                TObjQz* m = g->members->At(i);
                if (fHeld.insert(m).second && IsGroupKind(m)) stack.push_back(m);
            }
        }
    }
    bool Holds(const TObjQz* obj) const { return fHeld.count(obj) != 0; }
    bool Updating(TObjQz* obj) const
    {
        if (!fModule || !obj) return false;
        if (obj->kind != 9) return Holds(obj);
        for (int32_t i = 0; obj->usedBy && i < obj->usedBy->Size(); ++i)
            if (!Holds(obj->usedBy->At(i))) return false;
        return true;
    }
    bool Refuses(TConflict* record) const
    {
        // Nothing in the destination: nothing is replaced.
        if (!record || !record->fDest) return false;
        const int16_t code = record->fCode;
        if (ReplacingCode(code)) return !Updating(record->fDest);
        if (code == 20) return record->fSource && record->fSource->id != 0 && !Updating(record->fDest);
        if (code == 23) return !IsSystemVar(record->fSource) && !Updating(record->fDest);
        return false;
    }

private:
    TModuleObjQz* fModule;
    std::unordered_set<const TObjQz*> fHeld;
};

}  // namespace

bool IsSystemVar(const TObjQz* var)
{
    if (!var || var->kind != 9) return false;
    for (const char* name : kSystemVars) {
        unsigned char text[256];
        text[0] = uint8_t(std::char_traits<char>::length(name));
        std::char_traits<char>::copy(reinterpret_cast<char*>(text + 1), name, text[0]);
        if (rel2str(var->name, text) == 0) return true;
    }
    return false;
}

bool IsUpdating(TModuleObjQz* module, TObjQz* obj) { return Members(module).Updating(obj); }

bool RefusesInstall(TConflict* record, TModuleObjQz* module) { return Members(module).Refuses(record); }

bool IsInterfaceTable(TObjQz* table)
{
    if (!table || table->kind != 1) return false;
    for (int32_t i = 0; table->members && i < table->members->Size(); ++i)
        if (table->members->At(i)->Used()) return false;
    return true;
}

void SaveModuleConflicts(C_ListHdl conflicts, TMainDoc* dest, TModuleObjQz* module)
{
    if (!conflicts || !dest) return;
    const Members members(module);
    std::string text;
    for (int32_t i = 0; i < conflicts->Size(); ++i) {
        TConflict* record = conflicts->At(i);
        if (!members.Refuses(record)) continue;
        unsigned char full[256];
        record->fSource->GetFullName(full);
        text.append(reinterpret_cast<const char*>(full + 1), full[0]);
        text.push_back('\r');
    }
    // Named after the structure's own file, whatever its characters.
    unsigned char suffix[256];
    MyGetIndString(suffix, 1029, 13);
    const std::string leaf = platform::CutFileName(
        platform::FSpGetName(dest->fSpec) + platform::FileNameOf(std::string(reinterpret_cast<char*>(suffix + 1), suffix[0])));
    const std::string path = platform::FSpGetParent(dest->fSpec).path + "/" + leaf;
    // The report lands whole or the old one stays.
    if (const int16_t err = platform::WriteTextDocument(path, text.data(), text.size(), FourCC("ttxt"))) ErrMsg(err);
}

bool ModuleConflicts(ObjListHdl* list, C_ListHdl conflicts, TMainDoc* source, TMainDoc* dest, TModuleObjQz* module)
{
    (void)list;
    if (!conflicts) return true;
    const Members members(module);
    for (int32_t i = 0; i < conflicts->Size(); ++i) {
        if (!members.Refuses(conflicts->At(i))) continue;
        unsigned char name[256];
        dest->GetDocName(name);
        XAlert(kRefusedAlert, name, kCautionAlert);
        SaveModuleConflicts(conflicts, dest, module);
        return false;
    }
    if (!dest->fTypeList || !GetObjListe(dest->fTypeList, 1)) return true;
    for (int32_t i = 0; i < conflicts->Size(); ++i) {
        auto* record = dynamic_cast<TFileConflict*>(conflicts->At(i));
        if (!record || record->fDest || !record->fSource || record->fSource->kind != 1 ||
            !IsInterfaceTable(record->fSource))
            continue;
        for (;;) {
            unsigned char full[256];
            record->fSource->GetFullName(full);
            const int16_t answer = XAlert(kInterfaceTableAlert, full, kCautionAlert);
            if (answer == kStopInstall) return false;
            if (answer != kLinkTable) break;
            if (record->FileLinkDialog(conflicts, source, dest) && record->fDest) {
                record->fChoice = 8;
                record->fCode = 101;
                for (int32_t k = 0; record->fSubList && k < record->fSubList->Size(); ++k)
                    record->fSubList->At(k)->C_Update(record, false);
                break;
            }
        }
    }
    return true;
}

}  // namespace transfer
