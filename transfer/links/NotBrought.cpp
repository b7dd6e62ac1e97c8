#include "transfer/links/NotBrought.h"

#include <algorithm>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjQz.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

namespace {

constexpr int16_t kListTexts = 1024, kSeparator = 1;  // " - "
constexpr int16_t kReadAs = 9, kNothing = 10;         // " read there as ", "nothing"
constexpr int16_t kChoiceTexts = 1018, kNotCopied = 12;
constexpr int16_t kStringListKind = 11, kUseDest = 4;

// What was noted, each once, in the order met: the source object's full
// name and what the copies name there instead.
std::vector<std::string> gNotes;
std::unordered_set<std::string> gNoted;

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

std::string FullName(TObjQz* obj)
{
    unsigned char name[256];
    if (obj) obj->GetFullName(name);
    else MyGetIndString(name, kListTexts, kNothing);
    return Text(name);
}

}  // namespace

void ForgetNotBrought()
{
    gNotes.clear();
    gNoted.clear();
}

void NoteNotBrought(TObjQz* obj, TObjQz* readAs)
{
    if (!obj) return;
    try {
        const std::string full = FullName(obj);
        if (!gNoted.insert(full).second) return;
        unsigned char part[256];
        MyGetIndString(part, kListTexts, kReadAs);
        gNotes.push_back(full + Text(part) + FullName(readAs));
    } catch (const std::bad_alloc&) {
        // The note is lost; the copy stands.
    }
}

void NoteListsReadThere(TObjQz* obj, TMainDoc* dest, C_ListRec* conflicts)
{
    // Plug-ins name their lists through their bundles, groups only sum up
    // their members' links.
    if (!obj || !obj->uses || obj->kind == 7 || obj->kind == 8 || IsGroupKind(obj)) return;
    for (int32_t i = 0; i < obj->uses->Size(); ++i) {
        TObjQz* list = obj->uses->At(i);
        if (list->kind != kStringListKind) continue;
        // A list copied (or copied over the destination's) is named by the
        // copies under the id it has there.
        const TConflict* record = C_SearchInChain(conflicts, list);
        if (record && record->fDest && record->fChoice != kUseDest) continue;
        TObjQz* there = SearchObj_Id(dest, kStringListKind, list->id);
        if (!there || rel2str(there->name, list->name) != kEqual) NoteNotBrought(list, there);
    }
}

void ReportNotBrought()
{
    if (gNotes.empty()) return;
    unsigned char part[256];
    MyGetIndString(part, kListTexts, kSeparator);
    std::string said = Text(part);
    MyGetIndString(part, kChoiceTexts, kNotCopied);
    said += Text(part);
    std::string text;
    for (const std::string& n : gNotes) text += (text.empty() ? "" : "; ") + n;
    ForgetNotBrought();
    // The names give way to what is said of them.
    if (text.size() + said.size() > 255) text.resize(255 - std::min<size_t>(255, said.size()));
    text += said;
    unsigned char message[256];
    message[0] = uint8_t(text.size() > 255 ? 255 : text.size());
    text.copy(reinterpret_cast<char*>(message + 1), message[0]);
    XAlert(1000, message, kCautionAlert);
}

}  // namespace transfer
