#include "transfer/CurrentFiles.h"
#include "transfer/links/ParseLinkProc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
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

namespace transfer {

namespace {

constexpr size_t kNameMax = 32, kLiteralMax = 81;
constexpr int16_t kTableCommand = 46, kSetCommand = 396;
constexpr int16_t kBarKind = 5, kStyleKind = 12, kSetKind = 13, kSelectionKind = 14, kFormKind = 24;

PlugInParamKinds gPlugInParamKinds = nullptr;

void PCopy(unsigned char* out, const unsigned char* text, size_t max)
{
    const size_t n = std::min<size_t>(text[0], max);
    std::memmove(out + 1, text + 1, n);
    out[0] = uint8_t(n);
}

void PJoin(unsigned char* out, const unsigned char* a, const unsigned char* b)
{
    const size_t na = a[0], nb = std::min<size_t>(b[0], 255 - na);
    std::memmove(out + 1, a + 1, na);
    std::memmove(out + 1 + na, b + 1, nb);
    out[0] = uint8_t(na + nb);
}

void PNumber(unsigned char* out, int64_t n)
{
    const std::string s = std::to_string(n);
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

TFileObjQz* TableOf(TObjQz* context)
{
    if (auto* method = dynamic_cast<TGnlProcObjQz*>(context)) return method->table;
    return dynamic_cast<TFileObjQz*>(context);
}

// The walk over one method's tokens.
struct LinkWalk {
    TMainDoc* src = nullptr;
    TMainDoc* dest = nullptr;
    TObjQz* method = nullptr;
    C_ListHdl list = nullptr;
    TFileObjQz* context = nullptr;  // the source table of unqualified references
    TObjQz* current = nullptr;      // the source table last named in the line
    int16_t failure = 0;

    // Parameter tracking of a command (or plug-in routine) whose literal
    // parameters name objects.
    bool params = false;
    bool pending = false;
    int16_t param = 0, depth = 0, lastParam = 0, commandNumber = 0, switchedKind = -1;
    TObjQz* command = nullptr;
    std::vector<std::pair<int16_t, int16_t>> kinds;

    int16_t KindOf(int16_t p) const
    {
        if (switchedKind >= 0 && p > 1) return switchedKind;
        for (const auto& k : kinds)
            if (k.first == p) return k.second;
        return 0;
    }
    void Track(int16_t number, std::vector<std::pair<int16_t, int16_t>> described)
    {
        kinds = std::move(described);
        params = !kinds.empty();
        param = 1;
        depth = 0;
        pending = true;
        commandNumber = number;
        switchedKind = -1;
        lastParam = 0;
        for (const auto& k : kinds) lastParam = std::max(lastParam, k.first);
    }
    void Fail(int16_t err)
    {
        if (failure == 0) failure = err;
    }
    void Depend(TObjQz* obj)
    {
        if (obj) Fail(XRef(method, obj));
    }
    TObjQz* Dest(TObjQz* sourceObj)
    {
        TObjQz* found = nullptr;
        if (sourceObj) GetDestObj(list, src, dest, sourceObj, &found);
        return found;
    }

    bool Token(const champoper& t, champoper* out);
    bool Literal(const champoper& t, champoper* out);
    bool Field(const champoper& t, champoper* out);
    void Variable(const champoper& t);
    bool PlugIn(const champoper& t, champoper* out);
};

TObjQz* BarBySlot(TMainDoc* doc, int64_t slot)
{
    if (slot < -32768 || slot > 32767) return nullptr;
    UsingStore store(doc->fResFile);
    const int16_t barId = MenuBarIdOfSlot(int32_t(slot));
    return barId > 0 ? SearchObj_Id(doc, kBarKind, barId) : nullptr;
}

bool LinkWalk::Literal(const champoper& t, champoper* out)
{
    const int16_t kind = KindOf(param);
    pending = false;
    if (kind == 0) return false;
    // The literal as a name: a text as it is, a number as its digits.
    unsigned char text[256];
    bool number = true;
    int64_t value = 0;
    switch (t.SubKind()) {
    case 0:
        PCopy(text, t.Text(4), 255);
        number = false;
        break;
    case 1: {
        const double real = t.Real();
        if (!std::isfinite(real) || real < -2147483648.0 || real > 2147483647.0) return false;
        value = int64_t(real);
        break;
    }
    case 9: value = t.Long(4); break;
    case 25: value = (int64_t(t.Long(4)) << 32) | uint32_t(t.Long(8)); break;
    default: return false;
    }
    if (number) PNumber(text, value);

    TObjQz* found = nullptr;
    if (kind == kBarKind) {
        TObjQz* bar = number ? BarBySlot(src, value) : SearchObj_Name(src, kBarKind, text);
        found = Dest(bar);
    } else if (kind == kStyleKind) {
        unsigned char mark[256];
        MyGetIndString(mark, 1019, 5);
        if (number || !mark[0] || !text[0] || text[1] != mark[1]) return false;
        std::memmove(text + 1, text + 2, text[0] - 1u);
        --text[0];
        found = Dest(SearchObj_Name(src, kStyleKind, text));
    } else if (kind >= kSetKind && kind <= 15) {
        if (kind == kSetKind && !text[0]) PCopy(text, reinterpret_cast<const unsigned char*>("\x07UserSet"), 255);
        // Sets, selections and semaphores exist by being named.
        found = GetObj_Name(dest, kind, text, 0);
        if (!found) Fail(platform::memFullErr);
    } else if (kind == kFormKind) {
        auto* table = dynamic_cast<TFileObjQz*>(current ? current : context);
        TObjQz* form = table ? SearchListObj_Name(table->forms, text) : nullptr;
        if (form) GetDestForm(list, src, dest, form, &found);
    } else if (kind == 11) {
        found = number ? Dest(SearchObj_Id(src, 11, int16_t(std::clamp<int64_t>(value, -32768, 32767)))) : nullptr;
    } else {
        found = Dest(SearchObj_Name(src, kind, text));
    }
    Depend(found);
    if (!found || kind != kBarKind) return false;
    // A menu bar named by number takes its slot here, by name its name.
    *out = t;
    if (number) {
        auto* bar = dynamic_cast<TMBarObjQz*>(found);
        const int16_t slot = bar && bar->libaSlot > 0 ? bar->libaSlot : 1;
        if (t.SubKind() == 1) out->SetReal(slot);
        else if (t.SubKind() == 9) out->SetLong(4, slot);
        else return false;
    } else {
        unsigned char name[256];
        found->GetName(name);
        PCopy(name, name, kLiteralMax);
        out->SetText(4, name);
    }
    return true;
}

bool LinkWalk::Field(const champoper& t, champoper* out)
{
    ChampOper op;
    op.field = t.Word(2);
    op.table = t.Word(4);
    op.depth = t.Word(6);
    if (op.depth < 0 || op.depth > ChampOper::kMaxDepth) return false;
    for (int16_t l = 1; l <= op.depth; ++l) op.path[l] = t.Word(6 + 2 * l);
    TObjQz* found = nullptr;
    if (op.field == 0) found = op.table == 0 ? context : SearchTableNumbered(src->fTypeList, op.table);
    else found = SearchCritObj(context, src->fTypeList, op);
    if (!found) return false;
    if (found->kind == 1 || found->kind == 29) current = found;
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
    for (int16_t l = 1; l <= there.depth; ++l) out->SetWord(6 + 2 * l, there.path[l]);
    Depend(target);
    return true;
}

void LinkWalk::Variable(const champoper& t)
{
    unsigned char prefix[256], name[256], text[256];
    TObjQz* var = nullptr;
    if (t.Kind() == 13) {
        MyGetIndString(prefix, 104, 12);
        const int16_t n = t.Word(2);
        PCopy(name, prefix, 255);
        if (n != -1) {
            PNumber(text, n);
            PJoin(name, prefix, text);
        }
        var = Get_LocalVar(method, name);
    } else {
        PCopy(text, t.Text(2), kNameMax);
        if (!text[0]) return;
        if (t.Kind() == 9) {
            var = Get_GlobVar(dest, text);
        } else {
            MyGetIndString(prefix, 104, t.Kind() == 26 ? 12 : 39);
            PJoin(name, prefix, text);
            var = t.Kind() == 26 ? Get_LocalVar(method, name) : Get_GlobGlobVar(dest, name);
        }
    }
    // Found or made, as the link parse of a method does.
    if (!var) return Fail(platform::memFullErr);
    Depend(var);
}

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
        std::vector<std::pair<int16_t, int16_t>> kinds;
        if (gPlugInParamKinds) kinds = gPlugInParamKinds(packageId, routine);
        platform::UseResFile(saved);
        // The routine's name stops at its parameters or its result.
        int n = 0;
        while (n < text[0] && text[n + 1] != '(' && text[n + 1] != ':') ++n;
        text[0] = uint8_t(n);
        PCopy(name, text, 255);
        Track(0, kinds);
        package = CalledPackage(src, t.Text(2));
    }
    TObjQz* found = SearchObj_Name(src, 8, name);
    if (!found && package) found = PackageRoutine(package, routine);
    if (!found) found = Search_Package(src, name);
    TObjQz* target = Dest(found);
    // The routine alone, as a read of the method links it.
    Depend(target);
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

bool LinkWalk::Token(const champoper& t, champoper* out)
{
    switch (t.Kind()) {
    case 1: {
        const int16_t number = t.Word(2);
        command = NewObj_Id(dest, 3, reinterpret_cast<const unsigned char*>(""), number, false);
        if (!command) {
            Fail(platform::memFullErr);
            return false;
        }
        Depend(command);
        params = false;
        if (CommandHasParameters(number)) Track(number, ParameterKinds(number));
        return false;
    }
    case 2: return params && Literal(t, out);
    case 3: return Field(t, out);
    case 4: ++depth; return false;
    case 5:
        if (--depth == 0 && params) {
            params = false;
            Fail(EndParam(&pending, KindOf(param), command, method->GetOwnerObj(), method));
        }
        return false;
    case 6:
        // Past the described parameters only when a constant switched them.
        if (params && (param < lastParam || switchedKind >= 0)) ++param;
        return false;
    case 9: case 13: case 26: case 35: Variable(t); return false;
    case 11: {
        TObjQz* target = Dest(SearchObj_Name(src, 2, t.Text(2)));
        if (!target) return false;
        Depend(target);
        unsigned char name[256];
        target->GetName(name);
        PCopy(name, name, kNameMax);
        *out = t;
        out->SetText(2, name);
        return true;
    }
    case 22: return PlugIn(t, out);
    case 36: {
        unsigned char name[256], value[256], here[256], hereValue[256];
        {
            // A constant named by its list is the source's.
            UsingStore store(src->fResFile);
            calcconstname(name, value, t.Text(2));
        }
        if (!name[0]) return false;
        // The constants stay with their lists: the destination reads the
        // token through its own, which may hold another or none.
        calcconstname(here, hereValue, t.Text(2));
        if (rel2str(here, name) != kEqual) {
            NoteNotBrought(SearchObj_Name(src, 17, name));
        } else {
            auto* constant = static_cast<TConstantObjQz*>(GetObj_Name(dest, 17, name, 0));
            if (!constant) {
                Fail(platform::memFullErr);
                return false;
            }
            constant->SetConstantValue(value);
            Depend(constant);
        }
        // The value the code was written with says how it goes on.
        if (params && commandNumber == kSetCommand && param == 1 && value[0] == 1) {
            if (value[1] == '1') switchedKind = kSetKind;
            else if (value[1] == '2') switchedKind = kSelectionKind;
            else if (value[1] == '3') params = false;
        }
        return false;
    }
    default: return false;
    }
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
    walk.method = method;
    walk.list = list;
    walk.context = TableOf(tableContext);
    walk.current = walk.context;
    // Constants, string lists and plug-in routines are named as the source
    // knows them: its companion file is searched first.
    const int16_t savedFile = platform::CurResFile();
    if (source->fRsrFile != -1 && platform::IsResFileOpen(source->fRsrFile)) platform::UseResFile(source->fRsrFile);
    const int16_t result = RewriteProcTokensWhole(
        methodId,
        [&](const champoper& t, const uint8_t*, int32_t, std::vector<uint8_t>* out) {
            champoper rewritten;
            if (!walk.Token(t, &rewritten) || walk.failure) return false;
            *out = OperandBytes(rewritten);
            return !out->empty();
        },
        walk.failure);
    platform::UseResFile(savedFile);
    if (result) return result;
    // The store was written only when a token changed.
    if (!updateresNoMap(method->owner->fResFile)) return reserr ? reserr : platform::ioErr;
    return 0;
}

}  // namespace transfer
