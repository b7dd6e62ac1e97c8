#include "tools/docbuilder/Records.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kernel/pstrings/PStrings.h"
#include "kernel/standins/EncrypteText.h"
#include "kernel/standins/PasswordKey.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/TextRuns.h"
#include "platform/fonts/Fonts.h"
#include "resources/swap/PasswordTableKey.h"
#include "toolbox/foundation/VHandleStream.h"
#include "toolbox/foundation/VMacString.h"

namespace docbuilder {

Bytes TokenBytes(const TokenSpec& t, int16_t tableNumber, const std::vector<int16_t>& fieldPath, ByteOrder order)
{
    ByteWriter w(order);
    w.U8(t.kind);
    w.U8(0);
    switch (t.kind) {
    case 0:
        w.U8(t.subkind);
        w.U8(0);
        break;
    case 1:
    case 13:
        w.U16(uint16_t(t.number));
        break;
    case 2:
        w.U8(t.subkind);
        w.U8(0);
        switch (t.subkind) {
        case 0: w.PaddedPString(t.text); break;
        case 1: PutExtended(w, t.real); break;
        case 4:
            for (int16_t v : t.date) w.U16(uint16_t(v));
            break;
        case 9:
        case 11: w.U32(uint32_t(t.number)); break;
        case 25:
            w.BE32(uint32_t(uint64_t(t.number) >> 32));
            w.BE32(uint32_t(t.number));
            break;
        }
        break;
    case 3:
        // The field number in the top table (0: the table alone), the
        // table, the subtable depth, then one field number per level.
        w.U16(uint16_t(fieldPath.empty() ? 0 : fieldPath.front()));
        w.U16(uint16_t(tableNumber));
        w.U16(uint16_t(fieldPath.empty() ? 0 : fieldPath.size() - 1));
        for (size_t i = 1; i < fieldPath.size(); ++i) w.U16(uint16_t(fieldPath[i]));
        break;
    case 9:
    case 11:
    case 26:
    case 35: w.PaddedPString(t.text); break;
    case 22:
    case 36:
        // Five bytes behind a length byte: 2, then the two numbers.
        w.U8(5);
        w.U8(2);
        w.U16(uint16_t(t.number));
        w.U16(uint16_t(t.number2));
        break;
    case 23:
    case 27:
        w.U16(0);
        w.PaddedPString(t.text);
        break;
    default: break;  // the two-byte kinds
    }
    return w.Take();
}

Bytes MethodBlob(const std::vector<Bytes>& lines, ByteOrder order)
{
    ByteWriter w(order);
    w.Zeros(8);  // the stored rectangle
    w.U16(uint16_t(lines.size()));
    for (const Bytes& tokens : lines) {
        w.U16(uint16_t(tokens.size() + 18));
        w.U16(0);
        w.U16(uint16_t(tokens.size()));
        w.Zeros(12);
        w.Append(tokens);
        w.Zeros(2);
    }
    return w.Take();
}

void PutExtended(ByteWriter& w, double value)
{
    uint16_t signExp = 0;
    uint64_t mantissa = 0;
    if (std::signbit(value)) signExp = 0x8000;
    const double a = std::fabs(value);
    if (std::isinf(a)) {
        signExp |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (std::isnan(a)) {
        signExp |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (a != 0) {
        int exp = 0;
        const double frac = std::frexp(a, &exp);  // a = frac * 2^exp, frac in [0.5, 1)
        signExp |= uint16_t(exp - 1 + 16383);
        mantissa = uint64_t(std::ldexp(frac, 64));
    }
    w.BE16(signExp);
    w.BE32(uint32_t(mantissa >> 32));
    w.BE32(uint32_t(mantissa));
}

Bytes ParameterRecord(uint8_t level, const std::vector<int16_t>& tableIds, ByteOrder order, int16_t designGroup,
                      int16_t defaultUser)
{
    ByteWriter w(order);
    w.U16(uint16_t(tableIds.size()));
    w.U8(0x11);
    w.U8(0);
    w.U8(level);
    w.U8(15);
    w.Zeros(4);  // bytes 6 to 9
    w.U16(4444);
    for (int r = 0; r < 4; ++r) {
        w.U16(0), w.U16(0), w.U16(0xFFFF), w.U16(0xFFFF);
    }
    w.U32(54000);
    w.U32(uint32_t(uint16_t(designGroup)));
    w.U32(uint32_t(uint16_t(defaultUser)));
    w.U8(0);
    w.U8(0);  // byte 57
    w.U16(0), w.U16(0), w.U16(0xFFFF), w.U16(0xFFFF);
    w.U16(0);
    w.U16(80);
    w.U8(1);
    w.U8(0);
    for (int i = 0; i < 6; ++i) w.U8(1);
    for (size_t i = 0; i < 255; ++i) {
        w.U16(i < tableIds.size() ? uint16_t(tableIds[i]) : 0);
        w.Zeros(12);
    }
    return w.Take();
}

Bytes ProjectMethodRecord(const std::string& name, int16_t id, uint16_t attributes, ByteOrder order)
{
    ByteWriter w(order);
    w.FixedPString(name, 32);
    w.U16(uint16_t(id));
    w.U16(attributes);
    w.Zeros(8);
    return w.Take();
}

Bytes PasswordTable(const std::vector<UserRecord>& users, const std::vector<GroupRecord>& groups, bool oldLayout,
                    ByteOrder order)
{
    ByteWriter w(order);
    if (!oldLayout && !(users.empty() && groups.empty())) w.U16(0xA0A0);
    w.U16(uint16_t(users.size()));
    w.U16(uint16_t(groups.size()));
    for (const UserRecord& u : users) {
        w.U32(0);
        w.FixedPString(u.name, 32);
        unsigned char pass[16] = {0};
        pass[0] = uint8_t(std::min<size_t>(u.password.size(), 15));
        std::memcpy(pass + 1, u.password.data(), pass[0]);
        encryptetext(pass + 1, pass[0], PasswordKey());
        for (unsigned char c : pass) w.U8(c);
        if (oldLayout) {
            w.FixedPString(u.method, 16);
            w.Zeros(28);
        } else {
            w.FixedPString(u.method, 32);
            w.Zeros(24);
            w.U32(uint32_t(u.owner));
        }
    }
    for (const GroupRecord& g : groups) {
        const size_t n = g.members.size();
        w.U16(uint16_t(n));
        w.FixedPString(g.name, 32);
        w.U16(uint16_t(n));
        w.U16(0);
        for (int16_t m : g.members) w.U16(uint16_t(m));
    }
    Bytes bytes = w.Take();
    encryptetext(bytes.data(), int32_t(bytes.size()), PasswordTableKey());
    return bytes;
}

Bytes Picture(int16_t width, int16_t height, ByteOrder order)
{
    ByteWriter w(order);
    auto rect = [&](int16_t top, int16_t left, int16_t bottom, int16_t right) {
        w.BE16(uint16_t(top)), w.BE16(uint16_t(left)), w.BE16(uint16_t(bottom)), w.BE16(uint16_t(right));
    };
    // The size word and the frame: the picture header, in the order given.
    w.U16(0);  // size, set below
    w.U16(0), w.U16(0), w.U16(uint16_t(height)), w.U16(uint16_t(width));
    w.BE16(0x0011), w.BE16(0x02FF);  // version 2
    w.BE16(0x0C00);                  // extended header: 72 dpi, the frame
    w.BE16(0xFFFE), w.BE16(0);
    w.BE32(0x00480000), w.BE32(0x00480000);
    rect(0, 0, height, width);
    w.BE32(0);
    w.BE16(0x001E);          // default highlight
    w.BE16(0x0001);          // clip region: the frame
    w.BE16(10);
    rect(0, 0, height, width);
    w.BE16(0x0030);          // frame the rectangle with the pen
    rect(0, 0, height, width);
    w.BE16(0x00FF);          // end
    w.PutU16At(0, uint32_t(w.Size()));
    return w.Take();
}

namespace {

void ListLevel(ByteWriter& w, const std::vector<ListItemOut>& items)
{
    for (const ListItemOut& it : items) {
        w.U16(1);
        w.U32(uint32_t(it.picture));
        w.U16(uint16_t(it.number));
        w.U16(0);
        w.U8(it.face);
        w.U8(0);
        const bool longText = it.text.size() >= 32;
        w.FixedPString(longText ? std::string() : it.text, 36);
        w.U8(it.children.empty() ? 0 : 1);
        w.U8(longText ? 1 : 0);
        w.U16(0);
        if (longText) w.PString(it.text);
        if (!it.children.empty()) ListLevel(w, it.children);
    }
    w.U16(0);
}

}  // namespace

Bytes ChoiceList(const std::vector<ListItemOut>& items)
{
    ByteWriter w;
    w.Zeros(32);
    w.U16(0);
    w.U16(0);
    w.U8(0xFF);
    w.U8(0);
    w.U16(0);
    w.U32(0);
    ListLevel(w, items);
    return w.Take();
}

Bytes Documentation(const std::string& text, int16_t state, ByteOrder order, const std::vector<DocRunSpec>& runs)
{
    ByteWriter w(order);
    w.U16(1);
    w.U16(uint16_t(state));
    w.U32(uint32_t(text.size()));
    for (char c : text) w.U8(uint8_t(c));
    w.PadEven();
    if (runs.empty()) {
        w.U32(0);  // no style record
        w.U32(0);  // no style table
        return w.Take();
    }
    struct Look {
        int16_t font, size;
        uint8_t face;
        bool operator==(const Look& o) const { return font == o.font && size == o.size && face == o.face; }
    };
    const Look plain{platform::applFont, 12, 0};
    std::vector<std::pair<int32_t, Look>> parts;
    auto add = [&](int32_t start, const Look& look) {
        if (!parts.empty() && parts.back().second == look) return;
        parts.emplace_back(start, look);
    };
    int32_t at = 0;
    for (const DocRunSpec& r : runs) {
        if (r.start > at) add(at, plain);
        Look look = plain;
        if (!r.font.empty()) {
            unsigned char name[256];
            name[0] = uint8_t(std::min<size_t>(r.font.size(), 255));
            std::memcpy(name + 1, r.font.data(), name[0]);
            platform::GetFNum(name, &look.font);
        }
        if (r.size) look.size = r.size;
        look.face = r.face;
        add(r.start, look);
        at = r.end;
    }
    if (at < int32_t(text.size())) add(at, plain);
    // The table: each look once, in the order of first use.
    std::vector<Look> table;
    std::vector<uint16_t> uses, index;
    for (const auto& [start, look] : parts) {
        size_t i = 0;
        while (i < table.size() && !(table[i] == look)) ++i;
        if (i == table.size()) {
            table.push_back(look);
            uses.push_back(0);
        }
        ++uses[i];
        index.push_back(uint16_t(i));
    }
    // The style record: counts, four handle words, the runs and the one
    // past the end.
    w.U32(uint32_t(20 + 4 * (parts.size() + 1)));
    w.U16(uint16_t(parts.size()));
    w.U16(uint16_t(table.size()));
    for (int i = 0; i < 4; ++i) w.U32(0);
    for (size_t i = 0; i < parts.size(); ++i) {
        w.U16(uint16_t(parts[i].first));
        w.U16(index[i]);
    }
    w.U16(uint16_t(text.size() + 1));
    w.U16(0);
    w.U32(uint32_t(18 * table.size()));
    for (size_t i = 0; i < table.size(); ++i) {
        const Look& l = table[i];
        const platform::FontInfo fi =
            platform::StyleFontInfo(platform::MakeTextStyle(l.font, l.size, platform::Style(l.face), 0));
        w.U16(uses[i]);
        w.U16(uint16_t(fi.ascent + fi.descent + fi.leading));
        w.U16(uint16_t(fi.ascent));
        w.U16(uint16_t(l.font));
        w.U8(l.face);
        w.U8(0);
        w.U16(uint16_t(l.size));
        w.U16(0);  // black
        w.U16(0);
        w.U16(0);
    }
    return w.Take();
}

Bytes ComponentRecord(const ComponentProperties& p)
{
    char** h = nullptr;
    Bytes out;
    {
        VHandleStream s(&h);
        s.SetCpuKind(kCpuPowerPC, kCpuIntel);
        s.OpenWriting();
        s.PutByte(1);
        for (int16_t d : p.date) s.PutWord(d);
        s.PutLong(int32_t(p.versionNb));
        s.PutLong(0);
        s.PutLong(0);
        for (int16_t f : p.folders) s.PutWord(f);
        VMacStr<255> version, comments;
        unsigned char text[256];
        CToPStr(p.version.data(), int32_t(std::min<size_t>(p.version.size(), 255)), text);
        version.FromMacPString(text);
        CToPStr(p.comments.data(), int32_t(std::min<size_t>(p.comments.size(), 255)), text);
        comments.FromMacPString(text);
        s.PutValue(version, 0);
        s.PutValue(comments, 0);
        const int16_t format = p.componentDocument ? 3 : 2;
        s.PutWord(format);
        uint8_t prefix[4] = {0, 0, 0, 0};
        std::memcpy(prefix, p.prefix.data(), std::min<size_t>(p.prefix.size(), 4));
        s.PutLong(platform::ReadBES32(prefix));
        s.PutByte(p.rename >= 0 ? uint8_t(p.rename) : p.prefix.empty() ? 0 : 1);
        if (format > 2)
            for (int16_t f : p.folders) s.PutWord(f);
        s.PutByte(p.generated ? 1 : 0);
        s.CloseWriting(true);
    }
    if (h && *h) {
        const size_t size = size_t(platform::GetHandleSize(h));
        out.assign(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + size);
    }
    platform::DisposeHandle(h);
    return out;
}

Bytes NameCodeTable(std::vector<std::pair<std::string, std::string>> entries, ByteOrder order)
{
    auto key = [](std::string s) {
        for (char& c : s)
            if (c >= 'a' && c <= 'z') c = char(c - 32);
        return s;
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) { return key(a.first) < key(b.first); });
    ByteWriter w(order);
    w.U32(uint32_t(entries.size()));
    w.U32(0);
    w.U16(30);
    w.U32(0);
    for (const auto& [name, code] : entries) {
        w.FixedPString(name, 34);
        w.FixedPString(code, 34);
    }
    return w.Take();
}

Bytes StringList(const std::vector<std::string>& strings)
{
    ByteWriter w;
    w.U16(uint16_t(strings.size()));
    for (const std::string& s : strings) w.PString(s);
    return w.Take();
}

}  // namespace docbuilder
