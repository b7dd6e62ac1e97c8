// Token access and the textual references of method tokens.
#include "design/links/TokenAccess.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "design/forms/FormTable.h"
#include "design/objects/TableDescriptions.h"
#include "forms/calc/CalcBlob.h"
#include "forms/kernel/KernelConversion.h"
#include "forms/kernel/KernelForm.h"
#include "kernel/formats/StringFormats.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/helpers/HandleCopies.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "toolbox/foundation/ByteSwap.h"

platform::Handle x_getcalc(int16_t id, int16_t* count, platform::Rect* rect, int16_t* err)
{
    erreure = 0;
    platform::Handle lines = getcalc(id, count, rect);
    *err = erreure;
    return lines;
}

void x_putcalc(int16_t id, platform::Handle lines, int16_t count, const platform::Rect* rect, int16_t* err)
{
    erreure = 0;
    putcalc(&id, lines, count, rect);
    *err = erreure;
}

void x_effcalc(platform::Handle* lines, int16_t* count) { effcalc(lines, count); }

namespace {

// The field list of the table whose form list holds the form.
platform::Handle OwnFieldList(int16_t formId)
{
    for (size_t n = 1; n < ef.size(); ++n) {
        const TabCrit* d = ef[n].description.get();
        if (!d || !d->formTable || !*d->formTable) continue;
        const auto* p = reinterpret_cast<const uint8_t*>(*d->formTable);
        if (FindFormEntry(std::vector<uint8_t>(p, p + platform::GetHandleSize(d->formTable)), formId) >= 0)
            return d->def;
    }
    return nullptr;
}

}  // namespace

platform::Handle x_getform(int16_t formId, int16_t* err)
{
    erreure = 0;
    kernelFormCritRoot = OwnFieldList(formId);
    getform(formId, nullptr, true);
    kernelFormCritRoot = nullptr;
    platform::Handle form = debutform;
    debutform = nullptr;
    *err = erreure;
    return form;
}

void x_effform(platform::Handle* form) { effform(form); }

void x_gettoken(platform::Handle line, champoper* token, int16_t* position) { getchamp(line, token, position); }

int16_t x_addtoken(platform::Handle line, const champoper& token) { return putchamp(line, token); }

void procerr(int16_t err) { (void)err; }

void MyGet2champ(platform::Handle line, champoper* token, int16_t* position)
{
    int16_t tokenBytes = 0;
    const int32_t size = line && *line ? platform::GetHandleSize(line) : 0;
    if (size >= 4) tokenBytes = platform::ReadBES16(*line + 2);
    if (*position < 0 || *position >= tokenBytes) {
        *token = MakeOperand(kEndOfLineKind);
        return;
    }
    constexpr int32_t kRealTokenSize = 14;
    const int32_t at = kCalcRecordHeaderSize + *position;
    if (at + kRealTokenSize <= size && *position + kRealTokenSize <= tokenBytes) {
        const auto* p = reinterpret_cast<const uint8_t*>(*line) + at;
        if (p[0] == kConstantKind && p[2] == kRealSubKind) {
            *token = MyGetRealOper(p);
            *position = int16_t(*position + kRealTokenSize);
            return;
        }
    }
    getchamp(line, token, position);
}

champoper MyGetRealOper(const uint8_t* token)
{
    static champoper ring[16];
    static int32_t next = 0;
    champoper& slot = ring[next];
    next = (next + 1) % 16;
    slot = MakeOperand(kConstantKind);
    std::memcpy(slot.bytes, token, 4);
    Real10toReal8(token + 4, slot.bytes + 4);
    return slot;
}

namespace {

// Reads decimal digits from text[*i]; false without any.
bool ReadNumber(const unsigned char* text, int* i, int16_t* value)
{
    int32_t n = 0;
    bool negative = false, any = false;
    if (*i <= text[0] && text[*i] == '-') {
        negative = true;
        ++*i;
    }
    while (*i <= text[0] && text[*i] >= '0' && text[*i] <= '9') {
        n = std::min<int32_t>(n * 10 + (text[*i] - '0'), 99999);
        any = true;
        ++*i;
    }
    *value = int16_t(negative ? -n : n);
    return any;
}

void SetP(unsigned char* out, const unsigned char* chars, size_t n, size_t max)
{
    n = std::min(n, max);
    std::memmove(out + 1, chars, n);
    out[0] = uint8_t(n);
}

}  // namespace

bool GetStrIndex(const unsigned char* text, int16_t* listId, int16_t* index)
{
    if (text[0] < 1 || text[1] != ':') return false;
    const unsigned char* comma = static_cast<const unsigned char*>(std::memchr(text + 2, ',', text[0] - 1u));
    if (!comma || comma - text >= text[0]) return false;
    int i = 2;
    ReadNumber(text, &i, listId);
    i = int(comma - text) + 1;
    ReadNumber(text, &i, index);
    return true;
}

void GetQzResStr(unsigned char* out, const unsigned char* text)
{
    int16_t listId = 0, index = 0;
    if (GetStrIndex(text, &listId, &index)) {
        platform::GetIndString(out, listId, index);
        return;
    }
    std::memmove(out, text, size_t(text[0]) + 1);
}

bool GetExtProcIndex(unsigned char* name, const unsigned char* data, int16_t* bundle, int16_t* routine)
{
    if (data[0] != 5 || data[1] != 2) {
        SetP(name, data + 1, data[0], 32);
        return false;
    }
    *bundle = platform::ReadBES16(data + 2);
    *routine = platform::ReadBES16(data + 4);
    if (platform::Handle qbnx = platform::GetResource(platform::FourCC("QBNX"), *bundle))
        if (*qbnx && platform::GetHandleSize(qbnx) >= 10) *bundle = platform::ReadBES16(*qbnx + 8);
    unsigned char mark[256], separator[256], text[256] = {0};
    platform::GetIndString(mark, 104, 38);
    platform::GetIndString(separator, 104, 1);
    auto append = [&](const unsigned char* more, size_t n) {
        n = std::min<size_t>(n, 255 - text[0]);
        std::memcpy(text + 1 + text[0], more, n);
        text[0] = uint8_t(text[0] + n);
    };
    const std::string list = std::to_string(*bundle), number = std::to_string(*routine);
    append(mark + 1, mark[0]);
    append(reinterpret_cast<const unsigned char*>(list.data()), list.size());
    append(separator + 1, separator[0]);
    append(reinterpret_cast<const unsigned char*>(number.data()), number.size());
    append(mark + 1, mark[0]);
    SetP(name, text + 1, text[0], 32);
    return true;
}

void gsK(unsigned char* out, platform::Handle list, int16_t index)
{
    out[0] = 0;
    if (!list || !*list || index < 1) return;
    const auto* p = reinterpret_cast<const uint8_t*>(*list);
    const size_t size = size_t(platform::GetHandleSize(list));
    if (size < 2 || index > platform::ReadBES16(p)) return;
    size_t at = 2;
    for (int16_t i = 1; i < index; ++i) {
        if (at >= size) return;
        at += 1 + size_t(p[at]);
    }
    if (at >= size || at + 1 + p[at] > size) return;
    std::memcpy(out, p + at, size_t(p[at]) + 1);
}

void calcconstname(unsigned char* name, unsigned char* value, const unsigned char* data)
{
    value[0] = 0;
    if (data[0] != 5 || data[1] != 2) {
        SetP(name, data + 1, data[0], 32);
        return;
    }
    unsigned char text[256];
    gsK(text, xget1res(platform::FourCC("QzK#"), platform::ReadBES16(data + 2)), platform::ReadBES16(data + 4));
    const unsigned char* chars = text + 1;
    const unsigned char* end = chars + text[0];
    const unsigned char* colon = std::find(chars, end, ':');
    SetP(name, chars, size_t(colon - chars), 31);
    if (colon == end) return;
    const unsigned char* next = std::find(colon + 1, end, ':');
    SetP(value, colon + 1, size_t(next - colon - 1), 31);
}

void xstrIntreel2(double value, unsigned char* out) { strreel2(&value, out, 0); }

int16_t NewCCQz_Comment(const unsigned char* text, int16_t* id)
{
    platform::Handle line = NewCalcRecord();
    platform::Handle lines = line ? platform::NewHandleClear(sizeof(platform::Handle)) : nullptr;
    if (!lines) {
        if (line) platform::DisposeHandle(line);
        return platform::memFullErr;
    }
    std::memcpy(*lines, &line, sizeof line);
    int16_t count = 1;
    champoper comment = MakeOperand(23);
    unsigned char cut[82];
    SetP(cut, text + 1, text[0], 81);
    comment.SetText(4, cut);
    int16_t err = x_addtoken(line, comment);
    int16_t made = 0;
    if (err == 0) {
        erreure = 0;
        putcalc(&made, lines, count, nullptr);
        err = erreure;
    }
    if (id) *id = err == 0 ? made : int16_t(0);
    x_effcalc(&lines, &count);
    return err;
}
