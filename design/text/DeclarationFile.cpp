#include "design/text/DeclarationFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"

using namespace platform;

namespace {

constexpr int32_t kBufferSize = 4096;
constexpr uint8_t kCR = 13, kLF = 10, kTab = 9;
constexpr int16_t kMalformed = -1;
constexpr int16_t kWaitItem = 8;
constexpr size_t kPartMax = 32;

void SetP(unsigned char* out, const unsigned char* chars, size_t n, size_t max)
{
    n = std::min(n, max);
    std::memmove(out + 1, chars, n);
    out[0] = uint8_t(n);
}

bool Equal(const unsigned char* a, const unsigned char* b) { return rel2str(a, b) == kEqual; }

// One scan of the file: a window of 4,096 bytes over it and the current
// character's offset. Nothing is read past the bytes the window holds.
struct CompReader {
    TMainDoc* doc = nullptr;
    int16_t file = -1;
    std::vector<uint8_t> buffer;
    int32_t bufferStart = 0;    // file offset of buffer[0]
    int32_t current = 0;        // offset of the current character
    int32_t count = 0;          // bytes last read
    int32_t length = INT32_MAX; // known once the end has been read
    TObjQz* owner = nullptr;    // the method of the current local block

    int16_t ReadOne()
    {
        int64_t n = kBufferSize;
        const OSErr err = FSReadAt(file, current, &n, buffer.data());
        bufferStart = current;
        count = int32_t(std::clamp<int64_t>(n, 0, kBufferSize));
        if (err == eofErr) {
            length = current + count;
            return count == 0 && current != 0 ? eofErr : 0;
        }
        return err;
    }
    bool EndOfFile() const { return current >= length; }
    uint8_t RawCar() const
    {
        const int32_t at = current - bufferStart;
        return at >= 0 && at < count ? buffer[size_t(at)] : 0;
    }
    // A line may end with CR, LF or CR LF: each is read as one CR.
    uint8_t GetCrtCar() const
    {
        const uint8_t c = RawCar();
        return c == kLF ? kCR : c;
    }
    int16_t Advance()
    {
        if (EndOfFile()) return eofErr;
        ++current;
        return current - bufferStart >= count ? ReadOne() : 0;
    }
    int16_t NextCar()
    {
        const bool cr = RawCar() == kCR;
        if (const int16_t err = Advance()) return err;
        return cr && !EndOfFile() && RawCar() == kLF ? Advance() : 0;
    }
    int16_t Skip(int32_t n)
    {
        for (int32_t i = 0; i < n; ++i)
            if (const int16_t err = NextCar()) return err;
        return 0;
    }
    // The rest of the line and its carriage return.
    int16_t SkipLine()
    {
        while (!EndOfFile() && GetCrtCar() != kCR)
            if (const int16_t err = NextCar()) return err;
        return NextCar();
    }
    // Characters up to one of `stops` (or the end): at most 255 kept, the
    // rest skipped.
    int16_t Word(unsigned char* out, const char* stops, size_t stopCount)
    {
        out[0] = 0;
        while (!EndOfFile()) {
            const uint8_t c = GetCrtCar();
            if (std::memchr(stops, c, stopCount)) break;
            if (out[0] < 255) out[++out[0]] = c;
            if (const int16_t err = NextCar()) return err;
        }
        return 0;
    }
    int16_t NomVar(unsigned char* out) { return Word(out, "\r\t", 2); }
    int16_t NomObj(unsigned char* out) { return Word(out, "\r\t ()", 5); }
    int16_t NomProc(unsigned char* out) { return Word(out, ":(\r\t\x03", 5); }

    TObjQz* FindVariable(const unsigned char* name) const
    {
        if (IsGlobalVarName(name)) return SearchObj_Name(doc, 9, name);
        if (IsLocalVarName(name)) {
            auto* method = dynamic_cast<TGnlProcObjQz*>(owner);
            return method ? SearchListObj_Name(method->locals, name) : nullptr;
        }
        return SearchObj_Name(doc, 9, name);
    }
    int16_t VarLine()
    {
        unsigned char name[256];
        if (const int16_t err = NomVar(name)) return err;
        if (auto* var = dynamic_cast<TVarObjQz*>(FindVariable(name))) var->declPos = current;
        return SkipLine();
    }
    int16_t TotVar()
    {
        if (const int16_t err = Skip(1)) return err;
        if (const int16_t err = SkipLine()) return err;
        return Skip(2);
    }
    int16_t HeadBlk()
    {
        if (const int16_t err = SkipLine()) return err;
        return Skip(1);
    }
    // Variable lines up to an empty line.
    int16_t VarLines()
    {
        while (!EndOfFile() && GetCrtCar() != kCR)
            if (const int16_t err = VarLine()) return err;
        return EndOfFile() ? eofErr : 0;
    }
    int16_t GlobBlk()
    {
        if (const int16_t err = VarLines()) return err;
        return TotVar();
    }
    int16_t LocalBlk()
    {
        if (GetCrtCar() != kTab) return kMalformed;
        while (!EndOfFile() && GetCrtCar() != '(' && GetCrtCar() != kCR)
            if (const int16_t err = NextCar()) return err;
        unsigned char text[256];
        text[0] = 0;
        while (!EndOfFile() && GetCrtCar() != kCR) {
            if (text[0] < 255) text[++text[0]] = GetCrtCar();
            if (const int16_t err = NextCar()) return err;
        }
        if (const int16_t err = Skip(2)) return err;
        owner = NumCalc(doc, text);
        if (const int16_t err = VarLines()) return err;
        const int16_t err = Skip(2);
        owner = nullptr;
        return err;
    }
    int16_t ProcLine()
    {
        unsigned char word[256], name[256];
        if (const int16_t err = NomObj(word)) return err;
        if (const int16_t err = Skip(1)) return err;
        if (const int16_t err = NomProc(name)) return err;
        if (G_WaitParam) {
            unsigned char line[256];
            MyGetIndString(line, 1011, kWaitItem);
            PAppendChar(line, ' ');
            PAppend(line, name);
            WaitMess(G_WaitParam, line);
        }
        const uint8_t c = GetCrtCar();
        if (!EndOfFile() && (c == '(' || c == ':'))
            if (auto* method = dynamic_cast<TProcObjQz*>(SearchObj_Name(doc, 2, name))) method->declPos = current;
        return SkipLine();
    }
    int16_t ProcBlk()
    {
        if (GetCrtCar() != kCR) return kMalformed;
        int16_t err = NextCar();
        while (err == 0 && !EndOfFile()) err = ProcLine();
        return err;
    }

    void Scan()
    {
        if (ReadOne() != 0 || length == 0) return;
        int16_t err = HeadBlk();
        if (err != 0 || EndOfFile()) return;
        err = GlobBlk();                  // interprocess variables
        if (err == 0) err = GlobBlk();    // process variables
        while (err == 0 && !EndOfFile() && GetCrtCar() != kCR) err = LocalBlk();
        if (err == 0) ProcBlk();
    }
};

// The text before and after the last separator of a full name.
void SplitAtLast(const unsigned char* full, unsigned char* before, unsigned char* after)
{
    unsigned char separators[256];
    MyGetIndString(separators, 1019, 2);
    const uint8_t sep = separators[0] ? separators[1] : ':';
    int32_t at = full[0];
    while (at >= 1 && full[at] != sep) --at;
    if (at < 1) {
        SetP(before, full + 1, full[0], kPartMax);
        after[0] = 0;
        return;
    }
    SetP(before, full + 1, size_t(at - 1), kPartMax);
    SetP(after, full + at + 1, size_t(full[0] - at), kPartMax);
}

TLayoutObjQz* FormOf(TMainDoc* doc, const unsigned char* tableName, const unsigned char* formName)
{
    auto* table = dynamic_cast<TFileObjQz*>(SearchNamedFileObj(doc, tableName));
    return table ? dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(table->forms, formName)) : nullptr;
}

TObjQz* NumProcCalc(TMainDoc* doc, const unsigned char* name) { return SearchObj_Name(doc, 2, name); }

TObjQz* NumFFiCalc(TMainDoc* doc, const unsigned char* name)
{
    auto* table = dynamic_cast<TFileObjQz*>(SearchNamedFileObj(doc, name));
    return table ? table->method : nullptr;
}

TObjQz* NumFFoCalc(TMainDoc* doc, const unsigned char* name)
{
    unsigned char table[256], form[256];
    GetLayoutNames(name, table, form);
    TLayoutObjQz* layout = FormOf(doc, table, form);
    return layout ? layout->formMethod : nullptr;
}

TObjQz* NumScriptCalc(TMainDoc* doc, const unsigned char* name)
{
    unsigned char table[256], form[256], object[256];
    GetScriptNames(name, table, form, object);
    TLayoutObjQz* layout = FormOf(doc, table, form);
    return layout ? SearchListObj_Name(layout->objMethods, object) : nullptr;
}

}  // namespace

void GetLayoutNames(const unsigned char* fullName, unsigned char* table, unsigned char* form)
{
    SplitAtLast(fullName, table, form);
}

void GetScriptNames(const unsigned char* fullName, unsigned char* table, unsigned char* form, unsigned char* object)
{
    unsigned char rest[256];
    SplitAtLast(fullName, rest, object);
    SplitAtLast(rest, table, form);
}

TObjQz* NumCalc(TMainDoc* doc, const unsigned char* text)
{
    // The marker: up to the first ")" and the spaces after it.
    int32_t end = 1;
    while (end <= text[0] && text[end] != ')') ++end;
    if (end > text[0]) return nullptr;
    while (end + 1 <= text[0] && text[end + 1] == ' ') ++end;
    unsigned char marker[256], name[256];
    SetP(marker, text + 1, size_t(end), 255);
    SetP(name, text + end + 1, size_t(text[0] - end), 255);
    using Lookup = TObjQz* (*)(TMainDoc*, const unsigned char*);
    static constexpr std::pair<int16_t, Lookup> kOwners[] = {
        {5, NumProcCalc}, {4, NumFFoCalc}, {3, NumFFiCalc}, {2, NumScriptCalc}};
    for (const auto& [item, lookup] : kOwners) {
        unsigned char known[256];
        MyGetIndString(known, 531, item);
        if (known[0] && Equal(marker, known)) return lookup(doc, name);
    }
    return nullptr;
}

int16_t ReadCompFile(TMainDoc* doc, const unsigned char* structureName)
{
    if (!doc || structureName[0] == 0) return paramErr;
    // A second reading of the document scans the file afresh.
    if (doc->fDataFile != -1) {
        FSClose(doc->fDataFile);
        doc->fDataFile = -1;
    }
    unsigned char suffix[256];
    MyGetIndString(suffix, 1013, 1);
    const std::string name = std::string(reinterpret_cast<const char*>(structureName + 1), structureName[0]) +
                             std::string(reinterpret_cast<const char*>(suffix + 1), suffix[0]);
    FSSpec fileSpec;
    if (const OSErr err = FSMakeFSSpec(FSpGetParent(doc->fSpec), name, &fileSpec); err != noErr) return err;
    if (!FSpExists(fileSpec)) return fnfErr;
    int16_t file = -1;
    if (const OSErr err = FSpOpenDF(fileSpec, fsRdPerm, &file); err != noErr) return err;
    doc->fDataFile = file;
    FInfo info;
    if (FSpGetFInfo(fileSpec, &info) != noErr || info.fdType != FourCC("TEXT")) return 0;

    if (G_WaitParam) {
        unsigned char line[256];
        MyGetIndString(line, 1011, kWaitItem);
        WaitMess(G_WaitParam, line);
    }
    CompReader reader;
    reader.doc = doc;
    reader.file = file;
    reader.buffer.resize(kBufferSize);
    reader.Scan();
    return 0;
}
