// A method's links: every command, variable, table, field, method,
// plug-in routine and constant its tokens name, and the objects named by
// literal parameters of the commands that declare them.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "design/plugins/BundleTable.h"
#include "design/plugins/ParamLists.h"
#include "design/plugins/PlugInFiles.h"
#include "design/plugins/PlugInLookup.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "forms/calc/CalcBlob.h"
#include "forms/walkers/RewriteSupport.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kSetKind = 13;

void PCat(unsigned char* out, const unsigned char* a, const unsigned char* b)
{
    const size_t na = a[0], nb = std::min<size_t>(b[0], 255 - na);
    std::memmove(out + 1, a + 1, na);
    std::memmove(out + 1 + na, b + 1, nb);
    out[0] = uint8_t(na + nb);
}

void PFrom(unsigned char* out, const std::string& s)
{
    const size_t n = std::min<size_t>(s.size(), 255);
    std::memcpy(out + 1, s.data(), n);
    out[0] = uint8_t(n);
}

// The state of one method's walk.
struct ProcWalk {
    TMainDoc* doc = nullptr;
    TObjQz* method = nullptr;
    TFileObjQz* table = nullptr;  // the default of field references
    TObjQz* owner = nullptr;      // the table or form the method belongs to
    TObjQz* current = nullptr;    // the table last named, for form parameters
    // Parameter mode: a command whose literal parameters name objects.
    bool params = false;
    bool pending = false;
    int16_t param = 0;
    int16_t depth = 0;
    TObjQz* command = nullptr;
    std::vector<std::pair<int16_t, int16_t>> kinds;

    int16_t KindOf(int16_t p) const
    {
        for (const auto& k : kinds)
            if (k.first == p) return k.second;
        return 0;
    }
    bool FromCommand() const { return !(owner && owner->kind == 3); }

    int16_t Link(TObjQz* obj)
    {
        if (!obj) return 0;
        int16_t err = XRef(method, obj);
        if (err == 0 && command && FromCommand()) err = XRef(command, obj);
        return err;
    }

    int16_t Token(const champoper& t);
    // Renaming instead of linking: true with the token's new form.
    bool Rename(const champoper& t, champoper* out);
    const unsigned char* oldName = nullptr;
    const unsigned char* newName = nullptr;
    int16_t renamedKind = 0;

    int16_t Literal(const champoper& t);
    int16_t Field(const champoper& t);
    int16_t Variable(const champoper& t);
    int16_t PlugIn(const champoper& t);
};

TObjQz* ByNumber(TMainDoc* doc, int16_t kind, int64_t n)
{
    if (n < -32768 || n > 32767) return nullptr;
    if (kind == 5) {
        const int16_t barId = MenuBarIdOfSlot(int32_t(n));
        return barId > 0 ? SearchObj_Id(doc, 5, barId) : nullptr;
    }
    return SearchObj_Id(doc, kind, int16_t(n));
}

TObjQz* FormNamed(TObjQz* table, const unsigned char* name)
{
    auto* t = dynamic_cast<TFileObjQz*>(table);
    return t ? SearchListObj_Name(t->forms, name) : nullptr;
}

int16_t ProcWalk::Literal(const champoper& t)
{
    const int16_t kind = KindOf(param);
    pending = false;
    if (kind == 0) return 0;
    TObjQz* found = nullptr;
    switch (t.SubKind()) {
    case 0: {
        unsigned char text[256];
        std::memcpy(text, t.Text(4), size_t(t.Text(4)[0]) + 1);
        if (kind == 11) {
            int i = 1;
            int32_t n = 0;
            while (i <= text[0] && text[i] >= '0' && text[i] <= '9' && n < 100000) n = n * 10 + (text[i++] - '0');
            found = ByNumber(doc, 11, n);
        } else if (kind == 12) {
            unsigned char mark[256];
            platform::GetIndString(mark, 1019, 5);
            if (mark[0] && text[0] && text[1] == mark[1]) {
                std::memmove(text + 1, text + 2, text[0] - 1u);
                --text[0];
                found = SearchObj_Name(doc, 12, text);
            }
        } else if (kind == kSetKind && text[0] == 0) {
            found = GetObj_Name(doc, kSetKind, reinterpret_cast<const unsigned char*>("\x07UserSet"), 0);
        } else if (kind == 24) {
            found = FormNamed(current ? current : owner, text);
        } else if (kind >= 13 && kind <= 15) {
            // Sets, selections and semaphores exist by being named.
            found = GetObj_Name(doc, kind, text, 0);
        } else {
            found = SearchObj_Name(doc, kind, text);
        }
        break;
    }
    case 1: {
        // A real that is no whole number within range names nothing.
        const double real = t.Real();
        if (std::isfinite(real) && real >= -32768.0 && real <= 32767.0) found = ByNumber(doc, kind, int64_t(real));
        break;
    }
    case 9: found = ByNumber(doc, kind, t.Long(4)); break;
    case 25: found = ByNumber(doc, kind, (int64_t(t.Long(4)) << 32) | uint32_t(t.Long(8))); break;
    default: break;
    }
    return Link(found);
}

int16_t ProcWalk::Field(const champoper& t)
{
    ChampOper op;
    op.field = t.Word(2);
    op.table = t.Word(4);
    op.depth = t.Word(6);
    if (op.depth < 0 || op.depth > ChampOper::kMaxDepth) return 0;
    for (int32_t l = 1; l <= op.depth; ++l) op.path[l] = t.Word(6 + 2 * l);
    TObjQz* found = nullptr;
    if (op.field == 0) {
        // The table alone.
        if (op.table == 0) {
            found = table;
        } else {
            ObjListHdl tables = doc->fTypeList ? doc->fTypeList->lists[0] : nullptr;
            for (int32_t i = 0; tables && i < tables->Size() && !found; ++i) {
                auto* candidate = dynamic_cast<TFileObjQz*>(tables->At(i));
                if (candidate && candidate->kind == 1 && candidate->tableNumber == op.table) found = candidate;
            }
        }
    } else {
        found = SearchCritObj(table, doc->fTypeList, op);
    }
    if (!found) return 0;
    if (found->kind == 1 || found->kind == 29) current = found;
    return XRef(method, found);
}

int16_t ProcWalk::Variable(const champoper& t)
{
    unsigned char prefix[256], name[256];
    TObjQz* var = nullptr;
    // A variable token without a name names nothing.
    if (t.Kind() != 13 && t.Text(2)[0] == 0) return 0;
    switch (t.Kind()) {
    case 9: var = Get_GlobVar(doc, t.Text(2)); break;
    case 26:
        platform::GetIndString(prefix, 104, 12);
        PCat(name, prefix, t.Text(2));
        var = Get_LocalVar(method, name);
        break;
    case 35:
        platform::GetIndString(prefix, 104, 39);
        PCat(name, prefix, t.Text(2));
        var = Get_GlobGlobVar(doc, name);
        break;
    case 13: {
        platform::GetIndString(prefix, 104, 12);
        const int16_t n = t.Word(2);
        std::memcpy(name, prefix, size_t(prefix[0]) + 1);
        if (n != -1) {
            unsigned char digits[256];
            PFrom(digits, std::to_string(n));
            PCat(name, prefix, digits);
        }
        var = Get_LocalVar(method, name);
        break;
    }
    default: return 0;
    }
    if (!var) return platform::memFullErr;
    var->SetFlag(kFlagParsed, true);
    return XRef(method, var);
}

int16_t ProcWalk::PlugIn(const champoper& t)
{
    const unsigned char* data = t.Text(2);
    TPackagesObjQz* package = CalledPackage(doc, data);
    CurrentResFile current(package ? package->GetPlugInFile() : int16_t(-1));
    unsigned char name[256];
    int16_t listId = 0, routine = 0;
    params = false;
    if (GetExtProcIndex(name, data, &listId, &routine)) {
        unsigned char text[256];
        platform::GetIndString(text, listId, routine);
        // The routine's name stops at its parameters or result.
        RoutineName(text + 1, text[0], name);
        if (platform::Handle list = GetEPRM(int16_t(platform::ReadBE16(data + 2)))) {
            kinds = RoutineParamKinds(list, routine);
            platform::DisposeHandle(list);
            // Its literal parameters link from the method alone.
            params = !kinds.empty();
            command = nullptr;
            param = 1;
            pending = params;
            depth = 0;
        }
    }
    TObjQz* found = SearchObj_Name(doc, 8, name);
    if (!found && package) found = PackageRoutine(package, routine);
    if (!found) found = Search_Package(doc, name);
    return XRef(method, found);
}

int16_t ProcWalk::Token(const champoper& t)
{
    switch (t.Kind()) {
    case 1: {
        const int16_t number = t.Word(2);
        command = NewObj_Id(doc, 3, reinterpret_cast<const unsigned char*>(""), number, false);
        if (!command) return platform::memFullErr;
        const int16_t err = XRef(method, command);
        params = false;
        if (CommandHasParameters(number)) {
            kinds = ParameterKinds(number);
            params = !kinds.empty();
            param = 1;
            pending = true;
            depth = 0;
        }
        return err;
    }
    case 2: return params ? Literal(t) : 0;
    case 3: return Field(t);
    case 4: ++depth; return 0;
    case 5:
        if (--depth == 0 && params) {
            params = false;
            return EndParam(&pending, KindOf(param), command, owner, method);
        }
        return 0;
    case 6:
        if (params) ++param;
        return 0;
    case 9: case 13: case 26: case 35: return Variable(t);
    case 11: return XRef(method, SearchObj_Name(doc, 2, t.Text(2)));
    case 22: return PlugIn(t);
    case 36: {
        unsigned char name[256], value[256];
        calcconstname(name, value, t.Text(2));
        if (!name[0]) return 0;
        auto* constant = static_cast<TConstantObjQz*>(GetObj_Name(doc, 17, name, 0));
        if (!constant) return platform::memFullErr;
        if (!constant->value[0]) CopyObjName(constant->value, value);
        return XRef(method, constant);
    }
    default: return 0;
    }
}

bool Equal(const unsigned char* a, const unsigned char* b) { return rel2str(a, b) == kEqual; }

// `name` without `prefix` when it begins with it.
void WithoutPrefix(unsigned char* out, const unsigned char* name, const unsigned char* prefix)
{
    const size_t skip = HasPrefix(name, prefix) ? prefix[0] : 0;
    out[0] = uint8_t(name[0] - skip);
    std::memmove(out + 1, name + 1 + skip, out[0]);
}

void Cut(unsigned char* text, size_t max)
{
    if (text[0] > max) text[0] = uint8_t(max);
}

bool ProcWalk::Rename(const champoper& t, champoper* out)
{
    constexpr size_t kNameMax = 32, kLiteralMax = 81;
    *out = t;
    unsigned char text[256], prefix[256];
    switch (t.Kind()) {
    case 1: {
        const int16_t number = t.Word(2);
        params = false;
        if (CommandHasParameters(number)) {
            kinds = ParameterKinds(number);
            params = !kinds.empty();
            param = 1;
            depth = 0;
        }
        return false;
    }
    case 2: {
        const int16_t kind = KindOf(param);
        if (!params || t.SubKind() != 0 || kind != renamedKind || kind == 11) return false;
        std::memcpy(text, t.Text(4), size_t(t.Text(4)[0]) + 1);
        prefix[0] = 0;
        if (kind == 12) {
            // A style is named behind its mark.
            unsigned char mark[256];
            platform::GetIndString(mark, 1019, 5);
            if (!mark[0] || !text[0] || text[1] != mark[1]) return false;
            prefix[0] = 1;
            prefix[1] = mark[1];
            std::memmove(text + 1, text + 2, text[0] - 1u);
            --text[0];
        }
        if (!Equal(text, oldName)) return false;
        PCat(text, prefix, newName);
        Cut(text, kLiteralMax);
        out->SetText(4, text);
        return true;
    }
    case 4: ++depth; return false;
    case 5:
        if (--depth == 0 && params) params = false;
        return false;
    case 6:
        if (params) ++param;
        return false;
    case 9: case 26: case 35: {
        if (renamedKind != 9 || t.Text(2)[0] == 0) return false;
        prefix[0] = 0;
        if (t.Kind() != 9) platform::GetIndString(prefix, 104, t.Kind() == 26 ? 12 : 39);
        PCat(text, prefix, t.Text(2));
        if (!Equal(text, oldName)) return false;
        // The new name's prefix says which variable the token names now: a
        // local renamed without its prefix names a process variable.
        unsigned char local[256], global[256];
        platform::GetIndString(local, 104, 12);
        GetInterprocessPrefix(global);
        const uint8_t kind = HasPrefix(newName, local) ? 26 : HasPrefix(newName, global) ? 35 : 9;
        WithoutPrefix(text, newName, kind == 26 ? local : global);
        Cut(text, kNameMax);
        out->bytes[0] = kind;
        out->SetText(2, text);
        return true;
    }
    case 11: case 22: case 36: {
        const int16_t kind = t.Kind() == 11 ? 2 : t.Kind() == 22 ? 8 : 17;
        const unsigned char* data = t.Text(2);
        // Routines and constants named by number keep their number.
        if (renamedKind != kind || (t.Kind() != 11 && data[0] == 5 && data[1] == 2)) return false;
        if (!Equal(data, oldName)) return false;
        std::memcpy(text, newName, size_t(newName[0]) + 1);
        Cut(text, kNameMax);
        out->SetText(2, text);
        return true;
    }
    default: return false;
    }
}

}  // namespace

bool CommandHasParameters(int16_t command)
{
    platform::Handle bits = GetxPRM();
    if (!bits || !*bits || command < 0) return false;
    const int32_t byte = command / 8;
    if (byte >= platform::GetHandleSize(bits)) return false;
    return (uint8_t((*bits)[byte]) & (0x80 >> (command % 8))) != 0;
}

// The (parameter number, object kind) pairs of a command's 'APRM'.
std::vector<std::pair<int16_t, int16_t>> ParameterKinds(int16_t command)
{
    std::vector<std::pair<int16_t, int16_t>> kinds;
    platform::Handle h = platform::GetResource(platform::FourCC("APRM"), command);
    const ByteView v = ByteView::Of(h);
    int16_t count = 0;
    if (!v.S16(0, &count)) return kinds;
    for (int16_t i = 0; i < count; ++i) {
        int16_t number = 0, kind = 0;
        if (!v.S16(2 + size_t(i) * 4, &number) || !v.S16(4 + size_t(i) * 4, &kind)) break;
        kinds.emplace_back(number, kind);
    }
    return kinds;
}

int16_t EndParam(bool* pending, int16_t paramKind, TObjQz* command, TObjQz* owner, TObjQz* method)
{
    const bool wasPending = *pending;
    *pending = false;
    if (!wasPending || paramKind != int16_t(kSetKind) || !command || !method) return 0;
    const int16_t number = command->id;
    if (number != 396 && number != 641 && number != 646 && number != 656) return 0;
    TObjQz* set = GetObj_Name(method->owner, kSetKind, reinterpret_cast<const unsigned char*>("\x07UserSet"), 0);
    if (!set) return platform::memFullErr;
    int16_t err = XRef(method, set);
    if (err == 0 && !(owner && owner->kind == 3)) err = XRef(command, set);
    return err;
}

namespace {

// The method's record in the current store: its time stamp and size.
void NoteStored(TObjQz* method, int16_t methodId)
{
    if (platform::Handle ccqz = xget1res(platform::FourCC("CCQz"), methodId)) {
        method->resTime = xgetrestimestamp(ccqz);
        method->resSize = uint32_t(platform::GetHandleSize(ccqz));
    }
}

int16_t WalkLines(TFileObjQz* table, TObjQz* method, const ProcLines& lines)
{
    ProcWalk walk;
    walk.doc = method->owner;
    walk.method = method;
    walk.table = table;
    walk.owner = method->GetOwnerObj();
    walk.current = table;
    const int32_t lineCount = lines.count < 0 ? -int32_t(lines.count) : lines.count;
    int16_t result = 0;
    for (int32_t i = 0; i < lineCount && result == 0; ++i) {
        platform::Handle line = CalcRecordAt(lines.lines, i);
        int16_t position = 0;
        for (;;) {
            champoper token;
            MyGet2champ(line, &token, &position);
            if (token.Kind() == kEndOfLineKind || position < 0) break;
            result = walk.Token(token);
            if (result != 0) break;
        }
    }
    return result;
}

}  // namespace

int16_t ParseProc(TFileObjQz* table, int16_t methodId, TObjQz* method)
{
    if (!method || !method->owner) return 0;
    NoteStored(method, methodId);
    ProcLines lines;
    int16_t err = 0;
    lines.lines = x_getcalc(methodId, &lines.count, nullptr, &err);
    if (!lines.lines) return err;
    return WalkLines(table, method, lines);
}

int16_t ParseProc(TFileObjQz* table, int16_t methodId, TObjQz* method, const ProcLines& lines)
{
    if (!method || !method->owner) return 0;
    NoteStored(method, methodId);
    return WalkLines(table, method, lines);
}

int16_t TGnlProcObjQz::Parse()
{
    if (ParseOnce(this)) return 0;
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    platform::Handle ccqz = xget1res(platform::FourCC("CCQz"), id);
    if (!ccqz) return 0;
    if (!xiscryptedres(ccqz)) ShowProgress(7);
    // String lists, plug-in bundles and command descriptors are found
    // through the companion file when it is open.
    const int16_t saved = platform::CurResFile();
    if (owner && owner->fRsrFile != -1) platform::UseResFile(owner->fRsrFile);
    const int16_t result = ParseProc(table, id, this);
    if (platform::CurResFile() != saved) platform::UseResFile(saved);
    return CheckParseError(result);
}

int16_t ReplaceInProc(const unsigned char* oldName, const unsigned char* newName, TObjQz* renamed, TFileObjQz* table,
                      int16_t methodId, TObjQz* method)
{
    if (!renamed || !method || !method->owner || oldName[0] == 0) return 0;
    ProcWalk walk;
    walk.doc = method->owner;
    walk.method = method;
    walk.table = table;
    walk.owner = method->GetOwnerObj();
    walk.current = table;
    walk.oldName = oldName;
    walk.newName = newName;
    walk.renamedKind = renamed->kind;
    return RewriteProcTokens(methodId, [&](const champoper& t, const uint8_t*, int32_t, std::vector<uint8_t>* out) {
        champoper renamedToken;
        if (!walk.Rename(t, &renamedToken)) return false;
        *out = OperandBytes(renamedToken);
        return !out->empty();
    });
}
