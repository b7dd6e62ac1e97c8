#include "transfer/CurrentFiles.h"
#include "transfer/links/ParseLinkProc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/PlugInLookup.h"
#include "forms/calc/Operands.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "transfer/links/DestLookups.h"
#include "transfer/links/NotBrought.h"
#include "transfer/movers/MoverSupport.h"

namespace transfer {

namespace {

constexpr size_t kNameMax = 32, kLiteralMax = 81;
constexpr int16_t kBarKind = 5, kListKind = 11, kTableCommand = 46;
const uint32_t kConstantList = platform::FourCC("QzK#");

PlugInParamKinds gPlugInParamKinds = nullptr;

void PCopy(unsigned char* out, const unsigned char* text, size_t max)
{
    const size_t n = std::min<size_t>(text[0], max);
    std::memmove(out + 1, text + 1, n);
    out[0] = uint8_t(n);
}

// `t` naming `target` in its text `field` (cut to `max`): false, and `out`
// untouched, without a target.
bool Named(const champoper& t, int field, TObjQz* target, size_t max, champoper* out)
{
    if (!target) return false;
    unsigned char name[256];
    target->GetName(name);
    PCopy(name, name, max);
    *out = t;
    out->SetText(field, name);
    return true;
}

TFileObjQz* TableOf(TObjQz* context)
{
    if (auto* method = dynamic_cast<TGnlProcObjQz*>(context)) return method->table;
    return dynamic_cast<TFileObjQz*>(context);
}

// The walk over one method's tokens: each token naming a source object by
// what the destination cannot read the same way (a field's designation, a
// method's name, a menu bar's number or name, a package's id and routine
// number) is rewritten to name its counterpart there. What the method then
// uses is what the reader's parse finds in the rewritten code.
struct LinkWalk {
    TMainDoc* src = nullptr;
    TMainDoc* dest = nullptr;
    C_ListHdl list = nullptr;
    TFileObjQz* context = nullptr;  // the source table of unqualified references
    int16_t failure = 0;

    // Parameter tracking of a command (or plug-in routine) whose literal
    // parameters name objects.
    bool params = false;
    int16_t param = 0, depth = 0, lastParam = 0, commandNumber = 0;
    std::vector<std::pair<int16_t, int16_t>> kinds;

    int16_t KindOf(int16_t p) const
    {
        for (const auto& k : kinds)
            if (k.first == p) return k.second;
        return 0;
    }
    void Track(int16_t number, std::vector<std::pair<int16_t, int16_t>> described)
    {
        commandNumber = number;
        kinds = std::move(described);
        params = !kinds.empty();
        param = 1;
        depth = 0;
        lastParam = 0;
        for (const auto& k : kinds) lastParam = std::max(lastParam, k.first);
    }
    TObjQz* Dest(TObjQz* sourceObj)
    {
        TObjQz* found = nullptr;
        if (sourceObj) GetDestObj(list, src, dest, sourceObj, &found);
        return found;
    }

    bool Token(const champoper& t, champoper* out);
    bool Literal(const champoper& t, champoper* out);
    bool ListNumber(const champoper& t, champoper* out);
    bool Field(const champoper& t, champoper* out);
    bool PlugIn(const champoper& t, champoper* out);
    void Constant(const champoper& t);
};

TObjQz* BarBySlot(TMainDoc* doc, int64_t slot)
{
    if (slot < -32768 || slot > 32767) return nullptr;
    UsingStore store(doc->fResFile);
    const int16_t barId = MenuBarIdOfSlot(int32_t(slot));
    return barId > 0 ? SearchObj_Id(doc, kBarKind, barId) : nullptr;
}

// A literal number (a real or a long) within [low, high].
bool NumberLiteral(const champoper& t, int64_t low, int64_t high, int64_t* number)
{
    if (t.SubKind() == 1) {
        const double real = t.Real();
        if (!std::isfinite(real) || real < double(low) || real > double(high)) return false;
        *number = int64_t(real);
        return true;
    }
    if (t.SubKind() != 9) return false;
    *number = t.Long(4);
    return *number >= low && *number <= high;
}

// A string list named by its id takes the id of its copy.
bool LinkWalk::ListNumber(const champoper& t, champoper* out)
{
    int64_t number = 0;
    unsigned char text[256];
    size_t digits = 0;
    switch (t.SubKind()) {
    case 0:
        PCopy(text, t.Text(4), 255);
        while (digits < text[0] && text[digits + 1] >= '0' && text[digits + 1] <= '9' && number < 100000)
            number = number * 10 + (text[++digits] - '0');
        break;
    default:
        if (!NumberLiteral(t, -32768, 32767, &number)) return false;
    }
    TObjQz* list = Dest(SearchObj_Id(src, kListKind, int16_t(number)));
    if (!list || list->id == number) return false;
    *out = t;
    if (t.SubKind() == 1) {
        out->SetReal(list->id);
    } else if (t.SubKind() == 9) {
        out->SetLong(4, list->id);
    } else {
        const std::string id = std::to_string(list->id);
        unsigned char named[256];
        named[0] = uint8_t(std::min<size_t>(255, id.size() + text[0] - digits));
        std::memcpy(named + 1, id.data(), id.size());
        std::memcpy(named + 1 + id.size(), text + 1 + digits, named[0] - id.size());
        PCopy(named, named, kLiteralMax);
        out->SetText(4, named);
    }
    return true;
}

// A menu bar named by number takes its slot in the destination, by name
// its name there.
bool LinkWalk::Literal(const champoper& t, champoper* out)
{
    if (KindOf(param) == kListKind) return ListNumber(t, out);
    if (KindOf(param) != kBarKind) return false;
    int64_t number = 0;
    switch (t.SubKind()) {
    case 0: return Named(t, 4, Dest(SearchObj_Name(src, kBarKind, t.Text(4))), kLiteralMax, out);
    default:
        if (!NumberLiteral(t, INT32_MIN, INT32_MAX, &number)) return false;
    }
    auto* bar = dynamic_cast<TMBarObjQz*>(Dest(BarBySlot(src, number)));
    if (!bar) return false;
    const int16_t slot = bar->libaSlot > 0 ? bar->libaSlot : 1;
    *out = t;
    if (t.SubKind() == 1) out->SetReal(slot);
    else out->SetLong(4, slot);
    return true;
}

// A field or table by its designation in the destination; zeros when it
// has no counterpart there.
bool LinkWalk::Field(const champoper& t, champoper* out)
{
    ChampOper op;
    op.field = t.Word(2);
    op.table = t.Word(4);
    op.depth = t.Word(6);
    if (op.depth < 0 || op.depth > ChampOper::kMaxDepth) return false;
    for (int32_t l = 1; l <= op.depth; ++l) op.path[l] = t.Word(6 + 2 * l);
    TObjQz* found = nullptr;
    if (op.field == 0) found = op.table == 0 ? context : SearchTableNumbered(src->fTypeList, op.table);
    else found = SearchCritObj(context, src->fTypeList, op);
    if (!found) return false;
    // A table named to command 46 is the table of the references after it.
    if (params && commandNumber == kTableCommand) {
        TObjQz* table = found->kind == 28 ? found->GetOwnerObj() : found;
        if (auto* named = dynamic_cast<TFileObjQz*>(table)) context = named;
    }
    TObjQz* target = nullptr;
    ChampOper there;
    GetDestRub(list, src, dest, found, &target, &there);
    if (!target) there = ChampOper{};
    *out = MakeOperand(kFieldKind);
    out->SetWord(2, there.field);
    out->SetWord(4, there.table);
    out->SetWord(6, there.depth);
    for (int32_t l = 1; l <= there.depth; ++l) out->SetWord(6 + 2 * l, there.path[l]);
    return true;
}

// A routine of a package named by id and number: the destination's.
bool LinkWalk::PlugIn(const champoper& t, champoper* out)
{
    unsigned char name[256];
    int16_t bundle = 0, routine = 0;
    const bool numbered = GetExtProcIndex(name, t.Text(2), &bundle, &routine);
    // The call names its package by id; `bundle` is then its routine list.
    const int16_t packageId = numbered ? platform::ReadBES16(t.Text(2) + 2) : 0;
    TPackagesObjQz* package = nullptr;
    if (numbered) {
        unsigned char text[256];
        const int16_t saved = platform::CurResFile();
        if (src->fRsrFile != -1) platform::UseResFile(src->fRsrFile);
        platform::GetIndString(text, bundle, routine);
        // The routine's parameter list is the source's, read while its file is current.
        std::vector<std::pair<int16_t, int16_t>> described;
        if (gPlugInParamKinds) described = gPlugInParamKinds(packageId, routine);
        platform::UseResFile(saved);
        // The routine's name stops at its parameters or its result.
        int n = 0;
        while (n < text[0] && text[n + 1] != '(' && text[n + 1] != ':') ++n;
        text[0] = uint8_t(n);
        PCopy(name, text, 255);
        Track(0, std::move(described));
        package = CalledPackage(src, t.Text(2));
    }
    TObjQz* found = SearchObj_Name(src, 8, name);
    if (!found && package) found = PackageRoutine(package, routine);
    if (!found) found = Search_Package(src, name);
    TObjQz* target = Dest(found);
    TObjQz* destPackage = target && target->kind == 7 ? (target->GetOwnerObj() ? target->GetOwnerObj() : target) : nullptr;
    // The call names its package by id and its routine by number: those of
    // the destination, which may differ from the source's.
    const int16_t destRoutine = destPackage && destPackage != target ? target->id : routine;
    if (!numbered || !destPackage || (destPackage->id == packageId && destRoutine == routine)) return false;
    unsigned char data[256];
    PCopy(data, t.Text(2), 255);
    platform::WriteBE16(data + 2, uint16_t(destPackage->id));
    platform::WriteBE16(data + 4, uint16_t(destRoutine));
    *out = t;
    out->SetText(2, data);
    return true;
}

// The constants stay with their lists and the token stays as it is: the
// destination reads it through its own list, which may hold another
// constant there or none, and the user is told which. A component's
// library, which holds no lists of its own, takes the source's list of the
// id: its copies then read their constants there as in the project, and
// an install can tell what the structure reads instead.
void LinkWalk::Constant(const champoper& t)
{
    const unsigned char* data = t.Text(2);
    unsigned char name[256], value[256], here[256], hereValue[256];
    {
        UsingStore store(src->fResFile);
        calcconstname(name, value, data);
    }
    if (!name[0]) return;
    // Named by list id and index, not by its name.
    if (data[0] == 5 && data[1] == 2 && dest->IsModuleDoc()) {
        const int16_t listId = platform::ReadBES16(data + 2);
        if (!HasStoreRes(dest, kConstantList, listId) &&
            (failure = CopyStoreResAs(src, dest, kConstantList, listId, listId)) != 0)
            return;
    }
    calcconstname(here, hereValue, data);
    if (rel2str(here, name) == kEqual) return;
    TObjQz* readAs = here[0] ? GetObj_Name(dest, 17, here, 0) : nullptr;
    if (here[0] && !readAs) {
        failure = platform::memFullErr;
        return;
    }
    NoteNotBrought(SearchObj_Name(src, 17, name), readAs);
}

bool LinkWalk::Token(const champoper& t, champoper* out)
{
    switch (t.Kind()) {
    case 1: {
        const int16_t number = t.Word(2);
        params = false;
        if (CommandHasParameters(number)) Track(number, ParameterKinds(number));
        return false;
    }
    case 2: return params && Literal(t, out);
    case 3: return Field(t, out);
    case 4: ++depth; return false;
    case 5:
        if (--depth == 0) params = false;
        return false;
    case 6:
        if (params && param < lastParam) ++param;
        return false;
    case 11: return Named(t, 2, Dest(SearchObj_Name(src, 2, t.Text(2))), kNameMax, out);
    case 22: return PlugIn(t, out);
    case 36: Constant(t); return false;
    default: return false;
    }
}

// What the copy uses is what a read of the destination finds in its code:
// its links are made again by the reader's parse of the rewritten code,
// the lines as just stored.
int16_t Relink(TObjQz* method, int16_t methodId, const ProcLines& lines)
{
    ClearDependencies(method);
    auto* proc = dynamic_cast<TGnlProcObjQz*>(method);
    const int16_t savedFile = platform::CurResFile();
    if (method->owner->fRsrFile != -1 && platform::IsResFileOpen(method->owner->fRsrFile))
        platform::UseResFile(method->owner->fRsrFile);
    const int16_t result = ParseProc(proc ? proc->table : nullptr, methodId, method, lines);
    platform::UseResFile(savedFile);
    return result;
}

}  // namespace

void SetPlugInParamKinds(PlugInParamKinds kinds) { gPlugInParamKinds = kinds; }

int16_t Parse_LinkProc(TObjQz* tableContext, int16_t methodId, TObjQz* method, TMainDoc* source, C_ListHdl list)
{
    if (!method || !method->owner || !source) return 0;
    platform::Handle code = xget1res(platform::FourCC("CCQz"), methodId);
    if (!code) return 0;
    method->resTime = xgetrestimestamp(code);
    method->resSize = uint32_t(platform::GetHandleSize(code));
    LinkWalk walk;
    walk.src = source;
    walk.dest = method->owner;
    walk.list = list;
    walk.context = TableOf(tableContext);
    // Constants, string lists and plug-in routines are named as the source
    // knows them: its companion file is searched first.
    const int16_t savedFile = platform::CurResFile();
    if (source->fRsrFile != -1 && platform::IsResFileOpen(source->fRsrFile)) platform::UseResFile(source->fRsrFile);
    ProcLines lines;
    const int16_t result = RewriteProcTokensWhole(
        methodId,
        [&](const champoper& t, const uint8_t*, int32_t, std::vector<uint8_t>* out) {
            champoper rewritten;
            if (!walk.Token(t, &rewritten) || walk.failure) return false;
            *out = OperandBytes(rewritten);
            return !out->empty();
        },
        walk.failure, nullptr, &lines);
    platform::UseResFile(savedFile);
    if (result) return result;
    // The store was written only when a token changed.
    if (!updateresNoMap(method->owner->fResFile)) return reserr ? reserr : platform::ioErr;
    return Relink(method, methodId, lines);
}

}  // namespace transfer
