// Rewriting a method's stored tokens in place: the line walk shared by the
// rewriters, and the rewriters of commands, the current method's name,
// comments and texts.
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "app/dialogs/Messages.h"
#include "design/filters/ObjFilter.h"
#include "design/links/TokenAccess.h"
#include "forms/calc/CalcBlob.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "toolbox/foundation/ByteSwap.h"

using platform::Handle;

namespace {

constexpr int32_t kMaxTokenBytes = 32767;
constexpr int16_t kLineTooLong = -1;  // as putchamp answers
constexpr int16_t kCurrentMethodName = 684;
constexpr size_t kMaxLiteral = 81;
constexpr size_t kMaxNameToken = 32;
constexpr size_t kMaxComment = 255;
const uint32_t kCCQz = platform::FourCC("CCQz");

// The line with its tokens rewritten, in a new handle; null when nothing
// changed or on an error (in *err).
Handle RewriteLine(Handle line, const TokenRewrite& rewrite, int16_t* err, const int16_t* failure)
{
    *err = 0;
    const int32_t size = line && *line ? platform::GetHandleSize(line) : 0;
    if (size < kCalcRecordHeaderSize) return nullptr;
    // The stored bytes are read from a copy: a rewrite may allocate.
    const std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(*line), reinterpret_cast<uint8_t*>(*line) + size);
    const int32_t tokens =
        std::min({int32_t(platform::ReadBE16(bytes.data() + 2)), size - kCalcRecordHeaderSize, kMaxTokenBytes});
    std::vector<uint8_t> out;
    bool changed = false;
    int16_t position = 0;
    while (position < tokens) {
        const uint8_t* at = bytes.data() + kCalcRecordHeaderSize + position;
        const int32_t remaining = tokens - position;
        const int32_t length = ChampStreamSize(at, remaining);
        champoper token;
        int16_t next = position;
        MyGet2champ(line, &token, &next);
        if (length < 0 || length > remaining || token.Kind() == kEndOfLineKind) {
            // What cannot be read as tokens stays as it is.
            out.insert(out.end(), at, at + remaining);
            break;
        }
        std::vector<uint8_t> replacement;
        if (rewrite(token, at, length, &replacement)) {
            out.insert(out.end(), replacement.begin(), replacement.end());
            changed = true;
        } else {
            out.insert(out.end(), at, at + length);
        }
        if (failure && *failure) {
            *err = *failure;
            return nullptr;
        }
        position = int16_t(position + length);
    }
    if (!changed) return nullptr;
    if (out.size() > size_t(kMaxTokenBytes)) {
        *err = kLineTooLong;
        return nullptr;
    }
    // The header as it was, the tokens, and the two bytes a stored line
    // ends with.
    Handle fresh = platform::NewHandleClear(platform::Size(kCalcRecordHeaderSize + out.size() + 2));
    if (!fresh) {
        *err = platform::memFullErr;
        return nullptr;
    }
    std::memcpy(*fresh, bytes.data(), kCalcRecordHeaderSize);
    platform::WriteBE16(*fresh + 2, uint16_t(out.size()));
    if (!out.empty()) std::memcpy(*fresh + kCalcRecordHeaderSize, out.data(), out.size());
    return fresh;
}

void CutInto(unsigned char* out, const unsigned char* text, size_t max)
{
    const size_t n = std::min<size_t>(text[0], max);
    std::memmove(out + 1, text + 1, n);
    out[0] = uint8_t(n);
}

// Runs a rewriter with `container` current, commits it, and puts the
// previous store back.
int16_t InContainer(int16_t container, int16_t methodId, const TokenRewrite& rewrite, bool release)
{
    const int16_t saved = xcurres();
    if (container) useres(container);
    bool changed = false;
    int16_t err = RewriteProcTokens(methodId, rewrite, &changed);
    if (changed && !updateres(container ? container : xcurres()) && err == 0) err = reserr ? reserr : platform::ioErr;
    if (release) unloadres(kCCQz, methodId);
    if (saved) useres(saved);
    return err;
}

// Every `find` of a text replaced.
std::string Replaced(const uint8_t* chars, size_t length, const unsigned char* find, const unsigned char* replacement)
{
    const size_t f = std::max<size_t>(find[0], 1);
    std::vector<uint8_t> buffer(length + (length / f + 1) * replacement[0] + 1);
    if (length) std::memcpy(buffer.data(), chars, length);
    int32_t n = int32_t(length);
    Do_TxtReplace(buffer.data(), &n, find, replacement);
    return std::string(reinterpret_cast<const char*>(buffer.data()), size_t(std::max(n, 0)));
}

std::vector<uint8_t> TextToken(uint8_t kind, const uint8_t* head, const std::string& text)
{
    // Kind, the two bytes before the text as they were, the padded text.
    std::vector<uint8_t> out(5 + text.size());
    out[0] = kind, out[1] = head[1], out[2] = head[2], out[3] = head[3], out[4] = uint8_t(text.size());
    std::copy(text.begin(), text.end(), out.begin() + 5);
    if (out.size() % 2) out.push_back(0);
    return out;
}

}  // namespace

std::vector<uint8_t> OperandBytes(const champoper& token)
{
    const int32_t length = ChampOperandSize(token);
    if (length <= 0) return {};
    std::vector<uint8_t> out(token.bytes, token.bytes + length);
    if (token.Kind() == kConstantKind && token.SubKind() == kRealSubKind) Real8toReal10(token.bytes + 4, out.data() + 4);
    return out;
}

namespace {

int16_t Rewrite(int16_t methodId, const TokenRewrite& rewrite, bool* changed, const int16_t* failure,
                ProcLines* kept = nullptr)
{
    if (changed) *changed = false;
    int16_t count = 0, err = 0;
    platform::Rect rect{};
    Handle lines = x_getcalc(methodId, &count, &rect, &err);
    if (!lines) return err;
    const int32_t lineCount = std::min<int32_t>(count < 0 ? -int32_t(count) : count,
                                                platform::GetHandleSize(lines) / int32_t(sizeof(Handle)));
    bool any = false;
    int16_t result = 0;
    try {
        for (int32_t i = 0; i < lineCount && result == 0; ++i) {
            Handle line = CalcRecordAt(lines, i);
            Handle fresh = RewriteLine(line, rewrite, &result, failure);
            if (!fresh) continue;
            std::memcpy(*lines + i * int32_t(sizeof(Handle)), &fresh, sizeof fresh);
            platform::DisposeHandle(line);
            any = true;
        }
    } catch (const std::bad_alloc&) {
        result = platform::memFullErr;
    }
    if (any && !(failure && result != 0)) {
        int16_t stored = 0;
        x_putcalc(methodId, lines, count, &rect, &stored);
        if (result == 0) result = stored;
        if (changed) *changed = stored == 0;
    }
    // The lines are what the store now holds: those stored, or those read
    // when nothing changed.
    if (kept && result == 0) {
        std::swap(kept->lines, lines);
        std::swap(kept->count, count);
    }
    x_effcalc(&lines, &count);
    return result;
}

}  // namespace

int16_t RewriteProcTokens(int16_t methodId, const TokenRewrite& rewrite, bool* changed)
{
    return Rewrite(methodId, rewrite, changed, nullptr);
}

int16_t RewriteProcTokensWhole(int16_t methodId, const TokenRewrite& rewrite, const int16_t& failure, bool* changed,
                               ProcLines* stored)
{
    return Rewrite(methodId, rewrite, changed, &failure, stored);
}

int16_t ReplaceCommand(const unsigned char* oldName, const unsigned char* newName, int16_t methodId, int16_t container)
{
    return InContainer(container, methodId, [&](const champoper& t, const uint8_t*, int32_t, std::vector<uint8_t>* out) {
        if (t.Kind() != 1 || t.Word(2) <= 0) return false;
        unsigned char name[256];
        MyGetIndString(name, 8, t.Word(2));
        if (rel2str(name, oldName) != kEqual) return false;
        champoper call = MakeOperand(11);
        unsigned char cut[256];
        CutInto(cut, newName, kMaxNameToken);
        call.SetText(2, cut);
        *out = OperandBytes(call);
        return true;
    }, false);
}

int16_t RemoveCurrentMethodName(const unsigned char* name, int16_t methodId, int16_t container)
{
    return InContainer(container, methodId, [&](const champoper& t, const uint8_t*, int32_t, std::vector<uint8_t>* out) {
        if (t.Kind() != 1 || t.Word(2) != kCurrentMethodName) return false;
        champoper literal = MakeOperand(kConstantKind);
        unsigned char cut[256];
        CutInto(cut, name, kMaxLiteral);
        literal.SetText(4, cut);
        *out = OperandBytes(literal);
        return true;
    }, true);
}

int16_t RemoveCommentsInProc(int16_t methodId, int16_t container)
{
    return InContainer(container, methodId, [&](const champoper& t, const uint8_t* stored, int32_t, std::vector<uint8_t>* out) {
        if (t.Kind() != 23 || stored[4] == 0 || stored[5] == '%') return false;
        *out = TextToken(23, stored, std::string());
        return true;
    }, true);
}

int16_t ReplaceTxtInProc(const unsigned char* find, const unsigned char* replacement, int16_t methodId,
                         int16_t container, int32_t* leftWhole)
{
    if (find[0] == 0) return 0;
    return InContainer(container, methodId, [&](const champoper& t, const uint8_t* stored, int32_t size, std::vector<uint8_t>* out) {
        const bool literal = t.Kind() == kConstantKind && t.SubKind() == 0;
        if (!literal && t.Kind() != 23) return false;
        // The text as stored: a comment may hold more than an operand does.
        const size_t length = std::min<size_t>(stored[4], size_t(size) - 5);
        const std::string before(reinterpret_cast<const char*>(stored + 5), length);
        const std::string after = Replaced(stored + 5, length, find, replacement);
        if (after == before) return false;
        // Never cut: a text that would pass its limit stays as it is.
        if (after.size() > (literal ? kMaxLiteral : kMaxComment)) {
            if (leftWhole) ++*leftWhole;
            return false;
        }
        *out = TextToken(t.Kind(), stored, after);
        return true;
    }, false);
}
