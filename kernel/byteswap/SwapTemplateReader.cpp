// Reading "ByteSwap.txt": one entry per line, templates introduced by a
// header line "name number" and closed by the end keyword.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapKeywords.h"
#include "kernel/byteswap/SwapTable.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/standins/QzFolders.h"
#include "platform/core/Memory.h"
#include "platform/files/WholeFile.h"

platform::Handle hSwap = nullptr;
int32_t eofRsrc = 0;
int32_t indexInRsrc = 0;

namespace {

std::string gMessage;

// Callers name templates by 16-bit numbers; the table holds a slot for every
// number up to the largest, so a larger number would only cost memory.
constexpr int32_t kLastTemplateNumber = INT16_MAX;

struct Word {
    const uint8_t* text;
    int32_t length;
    bool bracketed;
};

enum class Outcome { Closed, FileEnd, Failed };

class TemplateReader {
public:
    int16_t ReadAll();

private:
    bool NextLine();
    Outcome ReadGroup(TokenInv* group, TokenInv* templ, uint32_t closing);
    TokenInv* MakeEntry(uint32_t kind, TokenInv* templ);
    bool ReadCount(TokenInv* e, const Word* w);
    bool ReadNumber(const Word* w, int32_t* value, bool nonNegative);
    bool FindField(TokenInv* templ, const Word* w, int32_t* position);
    bool FindTemplate(const Word* w, TokenInv** found);
    const Word* WordAt(int32_t i) const { return i < fWordCount ? &fWords[i] : nullptr; }
    bool Fail(const std::string& why);
    bool NoMemory();

    uint8_t fLine[256];
    int32_t fLineNumber = 0;
    Word fWords[128];
    int32_t fWordCount = 0;
    int16_t fError = 0;
};

bool TemplateReader::Fail(const std::string& why)
{
    if (fError == 0) {
        fError = kBadSwapFileErr;
        gMessage = std::string(kSwapFileName) + " line " + std::to_string(fLineNumber) + ": " + why;
    }
    return false;
}

bool TemplateReader::NoMemory()
{
    if (fError == 0) fError = platform::memFullErr;
    return false;
}

// The next non-empty line; false at the end of the text or on a line
// longer than 255 characters. A last line without a line end counts.
bool TemplateReader::NextLine()
{
    const auto* text = reinterpret_cast<const uint8_t*>(*hSwap);
    for (;;) {
        if (indexInRsrc >= eofRsrc) return false;
        ++fLineNumber;
        int32_t length = 0;
        bool tooLong = false;
        while (indexInRsrc < eofRsrc && text[indexInRsrc] != 13 && text[indexInRsrc] != 10) {
            if (length < 255)
                fLine[1 + length++] = text[indexInRsrc];
            else
                tooLong = true;
            ++indexInRsrc;
        }
        if (indexInRsrc < eofRsrc) {
            const uint8_t first = text[indexInRsrc++];
            if (indexInRsrc < eofRsrc && (text[indexInRsrc] == 13 || text[indexInRsrc] == 10) &&
                text[indexInRsrc] != first)
                ++indexInRsrc;
        }
        if (tooLong) return Fail("a line holds more than 255 characters");
        fLine[0] = uint8_t(length);
        fWordCount = 0;
        bool bracket = false;
        for (int32_t i = 1; i <= length;) {
            const uint8_t c = fLine[i];
            if (c == ' ' || c == '\t' || c == '[' || c == ']') {
                if (c == '[') bracket = true;
                ++i;
                continue;
            }
            const int32_t start = i;
            while (i <= length && fLine[i] != ' ' && fLine[i] != '\t' && fLine[i] != '[' &&
                   fLine[i] != ']')
                ++i;
            fWords[fWordCount++] = {fLine + start, i - start, bracket};
            bracket = false;
        }
        if (fWordCount > 0) return true;
    }
}

bool TemplateReader::ReadNumber(const Word* w, int32_t* value, bool nonNegative)
{
    if (!w) return Fail("a number is missing");
    int64_t v = 0;
    int32_t i = 0;
    const bool negative = w->text[0] == '-';
    if (w->text[0] == '-' || w->text[0] == '+') ++i;
    if (i == w->length) return Fail("a number is expected");
    for (; i < w->length; ++i) {
        if (w->text[i] < '0' || w->text[i] > '9') return Fail("a number is expected");
        v = v * 10 + (w->text[i] - '0');
        if (v > INT32_MAX) return Fail("a number is too large");
    }
    if (negative) v = -v;
    if (nonNegative && v < 0) return Fail("a count may not be negative");
    *value = int32_t(v);
    return true;
}

// Kinds 1, 2, 3 and 11: a bracketed count, a field name, or nothing.
bool TemplateReader::ReadCount(TokenInv* e, const Word* w)
{
    e->argument = 1;
    if (!w) return true;
    if (w->bracketed) return ReadNumber(w, &e->argument, true);
    return SetSwapEntryName(e, w->text, w->length) || NoMemory();
}

bool TemplateReader::FindField(TokenInv* templ, const Word* w, int32_t* position)
{
    if (!w) return Fail("a field name is missing");
    for (int32_t i = 0; i < templ->childCount; ++i) {
        const TokenInv* c = templ->children[i];
        if (c->name && c->name[0] == w->length && std::memcmp(c->name + 1, w->text, size_t(w->length)) == 0) {
            if (c->kind != kSwapWords && c->kind != kSwapLongs)
                return Fail("field \"" + std::string(reinterpret_cast<const char*>(w->text), size_t(w->length)) +
                            "\" holds no value");
            *position = i;
            return true;
        }
    }
    return Fail("no field \"" + std::string(reinterpret_cast<const char*>(w->text), size_t(w->length)) +
                "\" stands before this line in the template");
}

bool TemplateReader::FindTemplate(const Word* w, TokenInv** found)
{
    if (!w) return Fail("a template name is missing");
    unsigned char name[256];
    name[0] = uint8_t(w->length);
    std::memcpy(name + 1, w->text, size_t(w->length));
    *found = FindToken(name);
    if (!*found)
        return Fail("no template \"" + std::string(reinterpret_cast<const char*>(w->text), size_t(w->length)) +
                    "\" stands before this line");
    return true;
}

TokenInv* TemplateReader::MakeEntry(uint32_t kind, TokenInv* templ)
{
    const bool group = kind == kSwapSwitch || kind == kSwapCase;
    TokenInv* e = NewSwapEntry(kind, group);
    if (!e) {
        NoMemory();
        return nullptr;
    }
    bool ok = true;
    switch (kind) {
    case kSwapSkip:
    case kSwapWords:
    case kSwapLongs:
    case kSwapExt10: ok = ReadCount(e, WordAt(1)); break;
    case kSwapBytes: ok = ReadNumber(WordAt(1), &e->argument, true); break;
    case kSwapRepeat:
        ok = ReadNumber(WordAt(1), &e->argument, true) && FindTemplate(WordAt(2), &e->element);
        break;
    case kSwapArrayOf:
        ok = FindField(templ, WordAt(1), &e->argument) && FindTemplate(WordAt(2), &e->element);
        break;
    case kSwapSwitch:
        ok = FindField(templ, WordAt(1), &e->argument) && ReadGroup(e, templ, kSwapEndSwitch) == Outcome::Closed;
        break;
    case kSwapCase:
        ok = ReadNumber(WordAt(1), &e->argument, false) && ReadGroup(e, templ, kSwapEndCase) == Outcome::Closed;
        break;
    default: break;
    }
    if (!ok) {
        if (fError == 0) Fail("the file ends inside a switch");
        DisposeSwapEntry(e);
        return nullptr;
    }
    return e;
}

// Reads entries into the group up to its closing line. A template may end
// with the file; a switch or case may not.
Outcome TemplateReader::ReadGroup(TokenInv* group, TokenInv* templ, uint32_t closing)
{
    for (;;) {
        if (!NextLine()) {
            if (fError) return Outcome::Failed;
            if (closing != kSwapEnd) return Outcome::Failed;
            return FinishSwapGroup(group) ? Outcome::FileEnd : (NoMemory(), Outcome::Failed);
        }
        const uint32_t kind = SwapKeywordKind(fWords[0].text, fWords[0].length);
        if (kind == closing)
            return FinishSwapGroup(group) ? Outcome::Closed : (NoMemory(), Outcome::Failed);
        if (kind == kSwapEof && closing == kSwapEnd)
            return FinishSwapGroup(group) ? Outcome::FileEnd : (NoMemory(), Outcome::Failed);
        if (kind == 0) {
            Fail("\"" + std::string(reinterpret_cast<const char*>(fWords[0].text), size_t(fWords[0].length)) +
                 "\" is not a keyword");
            return Outcome::Failed;
        }
        if ((closing == kSwapEndSwitch) != (kind == kSwapCase) || kind == kSwapEnd || kind == kSwapEof ||
            kind == kSwapEndSwitch || kind == kSwapEndCase || kind == kSwapTemplate) {
            Fail("a keyword out of place");
            return Outcome::Failed;
        }
        if (group->childCount == kMaxSwapChildren) {
            Fail("a group holds more than 60 entries");
            return Outcome::Failed;
        }
        TokenInv* e = MakeEntry(kind, templ);
        if (!e) return Outcome::Failed;
        group->children[group->childCount++] = e;
    }
}

int16_t TemplateReader::ReadAll()
{
    while (NextLine()) {
        const uint32_t kind = SwapKeywordKind(fWords[0].text, fWords[0].length);
        if (kind == kSwapEof) break;
        if (kind != 0) {
            Fail("a template header is expected");
            break;
        }
        int32_t number = 0;
        if (!ReadNumber(WordAt(1), &number, true)) break;
        if (number < 1) {
            Fail("template numbers start at 1");
            break;
        }
        if (number > kLastTemplateNumber) {
            Fail("template numbers end at 32767");
            break;
        }
        TokenInv* templ = NewSwapEntry(kSwapTemplate, true);
        if (!templ || !SetSwapEntryName(templ, fWords[0].text, fWords[0].length)) {
            DisposeSwapEntry(templ);
            NoMemory();
            break;
        }
        templ->argument = number;
        const Outcome outcome = ReadGroup(templ, templ, kSwapEnd);
        if (outcome == Outcome::Failed) {
            if (fError == 0) Fail("the file ends inside a switch");
            DisposeSwapEntry(templ);
            break;
        }
        RegisterSwapTemplate(templ);
        if (int16_t err = StoreSwapTemplate(number, templ)) {
            fError = err;
            break;
        }
        if (outcome == Outcome::FileEnd) break;
    }
    return fError;
}

}  // namespace

const std::string& SwapFileMessage() { return gMessage; }

int16_t InitTokensFromText(const void* text, int32_t length)
{
    gMessage.clear();
    platform::DisposeHandle(hSwap);
    hSwap = nullptr;
    eofRsrc = indexInRsrc = 0;
    if (length < 0) length = 0;
    hSwap = platform::NewHandle(length);
    if (!hSwap) return platform::MemError();
    if (length) std::memcpy(*hSwap, text, size_t(length));
    eofRsrc = length;
    ResetSwapTable();
    if (int16_t err = LoadSwapKeywords()) return err;
    TemplateReader reader;
    return reader.ReadAll();
}

int16_t InitTokens()
{
    platform::FSSpec folder;
    if (!FindQzFolder(kQzExtensionsFolder, 0, &folder)) return -1;
    std::vector<uint8_t> bytes;
    if (platform::OSErr err = platform::ReadWholeFile(folder.path + "/" + kSwapFileName, &bytes))
        return err;
    return InitTokensFromText(bytes.data(), int32_t(bytes.size()));
}

void ResetSwapTemplates()
{
    ResetSwapTable();
    DisposeSwapKeywords();
    platform::DisposeHandle(hSwap);
    hSwap = nullptr;
    eofRsrc = indexInRsrc = 0;
    gMessage.clear();
}
