// Installed components: the module record of each, written here byte by
// byte (the reader in transfer/modules reads it back), enciphered with the
// program's own record cipher.
#include <cstdio>

#include "platform/text/SingleByteSets.h"
#include "tools/docbuilder/LayoutBuilder.h"
#include "transfer/modules/ModuleCipher.h"

namespace docbuilder::layout {

namespace {

// The member lists of a record, in the stored order.
constexpr const char* kListTypes[10] = {"CCQz", "FOQz", "FIQz", "#GMO", "BAQz", "MENQ", "List", "PICT", "STQz", "Stlx"};

uint32_t Type(const char* t)
{
    return uint32_t(uint8_t(t[0])) << 24 | uint32_t(uint8_t(t[1])) << 16 | uint32_t(uint8_t(t[2])) << 8 | uint8_t(t[3]);
}

std::u16string Units(const std::string& macRoman)
{
    std::u16string s;
    for (unsigned char c : macRoman) s.push_back(platform::MacRomanToUnicode(c));
    return s;
}

// A toolbox string in stream form: length, UTF-16, the units and a 0.
void String(ByteWriter& w, const std::u16string& s)
{
    w.U32(uint32_t(s.size()));
    if (s.empty()) return;
    w.U32(2);
    for (char16_t c : s) w.U16(c);
    w.U16(0);
}

struct Entry {
    int16_t id, state;
    uint32_t key;
};

}  // namespace

void Builder::ModuleRecord(const ComponentSpec& k)
{
    // Keys from a generator of the description's seed and the component.
    uint32_t seed = uint32_t(d_.seed) * 16807u + uint32_t(Id(&k));
    auto draw = [&seed]() -> uint32_t {
        seed = uint32_t((uint64_t(seed % 2147483647u ? seed % 2147483647u : 1) * 16807u) % 2147483647u);
        return seed & 0xFFFF;
    };
    std::vector<Entry> lists[10];
    auto list = [](const char* type) {
        for (int i = 0; i < 10; ++i)
            if (std::string(kListTypes[i]) == type) return i;
        return -1;
    };
    for (int f = 0; f < 3; ++f) {
        const int16_t state = int16_t(f + 1);
        lists[3].push_back({Id(&k.folders[f]), state, state == 1 ? 0u : draw() | draw() << 16});
        for (const MemberSpec& m : k.folders[f].members) {
            Ref ref;
            MemberEntry(m, &ref);
            const char* type = nullptr;
            int16_t listId = int16_t(ref.id), resId = int16_t(ref.id);
            switch (ref.kind) {
            case 1: type = "FIQz", listId = int16_t(TableNumber(FindTable(m.name, m.src.line))); break;
            case 2: type = "CCQz"; break;
            case 4: type = "List"; break;
            case 5: type = "BAQz"; break;
            case 6: type = "MENQ"; break;
            case 12: type = "STQz"; break;
            case 18: type = "PICT"; break;
            case 19: type = "Stlx"; break;
            case 24: type = "FOQz"; break;
            default: continue;  // kinds the record does not list
            }
            const uint32_t key = state == 1 ? 0u : draw() | draw() << 16;
            lists[list(type)].push_back({listId, state, key});
            // A member that may not be viewed keeps its own resource
            // enciphered with its key; styles and style sheets share one.
            if (state == 1 || ref.kind == 12 || ref.kind == 19) continue;
            for (ResourceOut& r : out_.resources)
                if (!r.companion && r.type == Type(type) && r.id == resId) {
                    r.enciphered = true;
                    r.key = d_.moduleFormat >= 769 ? key : 0;
                }
        }
    }

    const std::u16string name = Units(k.name);
    char date[40];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", k.date[2], k.date[1], k.date[0]);
    const std::u16string dateText = Units(date);
    ByteWriter w;
    w.U8(1);
    w.U16(uint16_t(d_.moduleFormat));
    String(w, name), String(w, u""), String(w, dateText), String(w, Units(k.version));
    w.U32(k.number);
    String(w, Units(k.comments)), String(w, u"");
    const bool ciphered = d_.moduleFormat >= 768;
    if (ciphered) w.Zeros(40);
    ByteWriter body;
    for (const std::vector<Entry>& l : lists) {
        body.U32(uint32_t(l.size()));
        for (const Entry& e : l) body.U16(uint16_t(e.id)), body.U16(uint16_t(e.state)), body.U32(e.key);
    }
    Bytes members = body.Take();
    if (ciphered)
        transfer::ModuleShake(members.data(), members.size(),
                              transfer::ModuleRecordKey(name.data(), int32_t(name.size()), dateText.data(),
                                                        int32_t(dateText.size())));
    w.Append(members);
    Add(false, FourCC("MODQ"), Id(&k), "", w.Take(), k.src.line);
    out_.moduleRecords = true;
    if (k.maps.empty()) return;
    ByteWriter map;
    map.U8(1);
    map.U16(769);
    map.U32(uint32_t(k.maps.size()));
    for (const ComponentSpec::MapRow& row : k.maps) map.U32(row.type), map.U16(uint16_t(row.oldId)), map.U16(uint16_t(row.newId));
    Add(false, FourCC("MAPQ"), Id(&k), "", map.Take(), k.src.line);
}

}  // namespace docbuilder::layout
