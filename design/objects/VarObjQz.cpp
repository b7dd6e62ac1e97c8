// Variables: their names as the browser shows them, their declaration
// lines and the component folder they fall into.
#include "design/objects/VarObjQz.h"

#include <cstring>

#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/core/Errors.h"
#include "platform/files/Forks.h"
#include "platform/files/TextFiles.h"

void TVarObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    TObjQz::init(doc, newName, newId);
    declPos = -1;
    method = nullptr;
    param = 0;
}

void TVarObjQz::GetStructName(unsigned char* out)
{
    if (!method) {
        GetName(out);
        return;
    }
    unsigned char part[256];
    method->GetStructName(out);
    MyGetIndString(part, 1019, 3);
    PAppend(out, part);
    GetName(part);
    PAppend(out, part);
}

void TVarObjQz::ListRemove()
{
    if (method) DelObjList(static_cast<TGnlProcObjQz*>(method)->locals, this);
    else if (owner) DelObjList(GetObjListe(owner->fTypeList, 9), this);
}

int16_t TVarObjQz::SelfAddObjList(ObjListHdl* list, int16_t mode)
{
    (void)mode;
    if (!list || !*list) return platform::memFullErr;
    if (IsInList(*list, this)) return 0;
    return AddObjList(list, this);
}

void TVarObjQz::GetMoreInfo(unsigned char* out, bool flag)
{
    (void)flag;
    out[0] = 0;
    if (declPos < 0 || !owner || owner->fDataFile < 0) return;
    unsigned char line[255];
    int64_t count = sizeof line;
    const platform::OSErr err = platform::FSReadAt(owner->fDataFile, declPos, &count, line);
    // A short read at the file's end still gives what was there.
    if (err != platform::noErr && err != platform::eofErr) return;
    if (count < 0 || count > int64_t(sizeof line)) return;
    const size_t n = platform::LineLength(line, size_t(count));
    out[0] = uint8_t(n);
    std::memcpy(out + 1, line, n);
}

namespace {

// The rank of a component folder: 1 public, 2 protected, 3 private; 0 for a
// group that is no component folder.
int16_t FolderRank(TGroupObjQz* group)
{
    if (!group || group->kind != 33) return 0;
    auto* folder = static_cast<TModuleGroupObjQz*>(group);
    if (folder->parent && folder->parent->kind == 32) {
        auto* module = static_cast<TModuleObjQz*>(folder->parent);
        if (module->publicFolder == folder) return 1;
        if (module->protectedFolder == folder) return 2;
        if (module->privateFolder == folder) return 3;
    }
    return folder->folderKind >= 1 && folder->folderKind <= 3 ? folder->folderKind : 0;
}

bool IsMethodOrForm(int16_t kind) { return kind == 2 || (kind >= 24 && kind <= 27); }

}  // namespace

void TVarObjQz::SetModuleGroup()
{
    TGroupObjQz* chosen = nullptr;
    int16_t best = 0;
    if (usedBy) {
        for (int32_t i = 0; i < usedBy->Size(); ++i) {
            TObjQz* user = usedBy->At(i);
            if (!IsMethodOrForm(user->kind)) continue;
            const int16_t rank = FolderRank(user->parent);
            if (rank == 0) {
                // A user outside every component folder keeps the variable
                // out of all of them.
                chosen = nullptr;
                break;
            }
            if (!chosen || rank < best) {
                chosen = user->parent;
                best = rank;
            }
        }
    }
    DelGroup(false, false);
    if (!chosen) return;
    if (chosen->TstFlag(kFlagInComponent)) SetModuleState(best, false);
    AddGroup(chosen, false);
}
