#include "transfer/driver/MoveDropped.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjList.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/driver/DoMove.h"

namespace transfer {

namespace {

// 'STR#' 1002: before the kinds of the rows a drop left out, then after
// each group of them why they are not copied.
constexpr int16_t kNothingCopied = 119, kOfTheLanguage = 120, kConstantLists = 121, kComesWithItsUsers = 122,
                  kComponentsInstall = 123, kInstalledComponent = 124;

bool LeftOut(TObjQz* obj)
{
    return obj->kind == 33 || obj->kind == 32 || !obj->Movable() || obj->TstFlag(kFlagInComponent);
}

int16_t WhyLeftOut(const TObjQz* obj)
{
    if (obj->TstFlag(kFlagInComponent)) return kInstalledComponent;
    switch (obj->kind) {
    case 3: return kOfTheLanguage;
    case 17: return kConstantLists;
    case 32: case 33: return kComponentsInstall;
    default: return kComesWithItsUsers;
    }
}

// A drop whose rows are all left out says which kinds, and why: the kinds
// of each reason once, in the order of the rows.
void SayNothingCopied(TObjQz* const* rows, int32_t count)
{
    std::vector<std::pair<int16_t, std::vector<std::string>>> reasons;
    for (int32_t i = 0; i < count; ++i) {
        const int16_t why = WhyLeftOut(rows[i]);
        unsigned char kind[256];
        rows[i]->GetTypeObjName(kind);
        const std::string name(reinterpret_cast<const char*>(kind + 1), kind[0]);
        auto at = std::find_if(reasons.begin(), reasons.end(), [&](const auto& r) { return r.first == why; });
        if (at == reasons.end()) at = reasons.insert(reasons.end(), {why, {}});
        if (std::find(at->second.begin(), at->second.end(), name) == at->second.end()) at->second.push_back(name);
    }
    unsigned char text[256], part[256];
    MyGetIndString(text, 1002, kNothingCopied);
    // Each reason whole, as many as the message holds.
    for (const auto& [why, kinds] : reasons) {
        std::string line;
        for (const std::string& kind : kinds) line += (line.empty() ? "" : ", ") + kind;
        MyGetIndString(part, 1002, why);
        line.append(reinterpret_cast<const char*>(part + 1), part[0]);
        if (text[0] + line.size() > 255) break;
        PAppend(text, line);
    }
    while (text[0] > 0 && text[text[0]] == ' ') --text[0];
    XAlert(1000, text, kNoteAlert);
}

}  // namespace

int16_t MoveDropped(TMainDoc* source, TMainDoc* dest, TObjQz* const* rows, int32_t count, int16_t mode)
{
    if (G_Filters) platform::DisposeHandle(G_Filters);
    G_Filters = NewFilters();
    // Without the user's defaults or its lists nothing is copied: a copy
    // that went on without them would not be the one asked for.
    int16_t result = G_Filters ? MakeCc_Dflt(G_Filters) : int16_t(platform::memFullErr);
    if (result == 0) result = NewObjList(&G_DeleteList, kC_ListRoom);
    ObjListHdl list = nullptr;
    if (result == 0) result = NewObjList(&list, kC_ListRoom);
    if (result != 0) {
        ErrMsg(result);
    } else {
        int16_t err = 0;
        bool taken = false;
        for (int32_t i = 0; i < count && err == 0; ++i) {
            TObjQz* obj = rows[i];
            if (LeftOut(obj)) continue;
            taken = true;
            err = obj->SelfAddObjList(&list, mode);
            if (err == 0 && !GromMemHdl) err = platform::memFullErr;
        }
        if (err != 0) ErrMsg(err);
        else ShellSortType(list);
        if (!taken && count > 0) {
            SayNothingCopied(rows, count);
        } else {
            // What was gathered before an error still goes.
            result = DoMove(source, dest, &list, false, false, nullptr);
        }
        FreeObjList(list);
    }
    FreeObjList(G_DeleteList);
    G_DeleteList = nullptr;
    if (G_Filters) {
        platform::DisposeHandle(G_Filters);
        G_Filters = nullptr;
    }
    return result;
}

}  // namespace transfer
