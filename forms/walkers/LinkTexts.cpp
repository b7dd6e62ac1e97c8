#include "forms/walkers/LinkTexts.h"

#include <cstring>

#include "kernel/startup/KernelGlobals.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/RomanCase.h"

namespace {

constexpr size_t kNameLimit = 32;  // names are shorter than this
constexpr unsigned char kInterprocessMark = 0xD7;

bool IsLetter(unsigned char ch)
{
    const unsigned char base = platform::RomanStripDiacritics(ch);
    return (base >= 'A' && base <= 'Z') || (base >= 'a' && base <= 'z') ||
           platform::RomanUppercase(ch) != platform::RomanLowercase(ch);
}

bool AllDigits(const std::string& s)
{
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool ReadNumber(const unsigned char* text, int32_t* i, int32_t end, int32_t* value)
{
    int32_t n = 0;
    bool any = false;
    while (*i <= end && text[*i] >= '0' && text[*i] <= '9') {
        n = n * 10 + (text[*i] - '0');
        if (n > 32767) return false;
        any = true;
        ++*i;
    }
    *value = n;
    return any;
}

void Classify(const std::string& content, StaticRef* ref)
{
    *ref = StaticRef{};
    if (content.empty()) return;
    if (content[0] == '?') {
        std::string rest = content.substr(1);
        if (!rest.empty() && rest[0] == '[') {
            const size_t close = rest.find(']');
            if (close == std::string::npos) return;
            ref->hasTable = true;
            ref->table = rest.substr(1, close - 1);
            rest = rest.substr(close + 1);
            if (ref->table.empty() || ref->table.size() >= kNameLimit) return;
            ref->tableIsNumber = AllDigits(ref->table);
        }
        if (rest.empty() || rest.size() >= kNameLimit) return;
        ref->field = rest;
        ref->fieldIsNumber = AllDigits(rest);
        ref->kind = StaticRef::Field;
        return;
    }
    const unsigned char first = static_cast<unsigned char>(content[0]);
    if (content.size() >= kNameLimit) return;
    if (IsLetter(first) || first == '<' || first == '>' || first == kInterprocessMark || first == '$') {
        ref->kind = StaticRef::Variable;
        ref->name = content;
    }
}

}  // namespace

bool ParseStrRef(const unsigned char* text, int16_t* listId, int16_t* index)
{
    const int32_t end = text[0];
    if (end < 1 || text[1] != ':') return false;
    int32_t i = 2, id = 0, item = 0;
    if (!ReadNumber(text, &i, end, &id) || i > end || text[i] != ',') return false;
    ++i;
    if (!ReadNumber(text, &i, end, &item)) return false;
    *listId = int16_t(id);
    *index = int16_t(item);
    return true;
}

void GetStyleMark(unsigned char* mark) { platform::GetIndString(mark, 1019, 5); }

bool StyleNameOf(const unsigned char* text, const unsigned char* mark, unsigned char* name)
{
    if (!mark[0] || !text[0] || text[1] != mark[1]) return false;
    name[0] = uint8_t(text[0] - 1);
    std::memcpy(name + 1, text + 2, name[0]);
    return true;
}

void TitlePart(const unsigned char* title, int32_t n, unsigned char* part)
{
    const std::string text(reinterpret_cast<const char*>(title + 1), title[0]);
    const std::string sep(reinterpret_cast<const char*>(stseparateur + 1), stseparateur[0]);
    size_t from = 0;
    for (int32_t k = 1; k < n; ++k) {
        const size_t at = sep.empty() ? std::string::npos : text.find(sep, from);
        from = at == std::string::npos ? text.size() : at + sep.size();
    }
    const size_t at = sep.empty() ? std::string::npos : text.find(sep, from);
    const std::string piece = text.substr(from, at == std::string::npos ? std::string::npos : at - from);
    part[0] = uint8_t(piece.size());
    std::memcpy(part + 1, piece.data(), piece.size());
}

bool GetStaticRef(const unsigned char* text, int32_t length, int32_t* at, std::string* literal, StaticRef* ref)
{
    const int32_t from = *at;
    while (*at < length && text[*at] != '<') ++*at;
    if (literal) literal->assign(reinterpret_cast<const char*>(text + from), size_t(*at - from));
    if (*at >= length) return false;
    int32_t depth = 0, i = *at;
    for (; i < length; ++i) {
        if (text[i] == '<') ++depth;
        else if (text[i] == '>' && --depth == 0) break;
    }
    if (i >= length) {
        if (literal) literal->append(reinterpret_cast<const char*>(text + *at), size_t(length - *at));
        *at = length;
        return false;
    }
    Classify(std::string(reinterpret_cast<const char*>(text + *at + 1), size_t(i - *at - 1)), ref);
    *at = i + 1;
    return true;
}
