#include "tools/docbuilder/IffForm.h"

#include <algorithm>

#include "platform/text/SingleByteSets.h"
#include "tools/docbuilder/IffWriter.h"
#include "tools/docbuilder/Records.h"

namespace docbuilder {
namespace {

constexpr int16_t kFont = 3, kSize = 12;
constexpr uint32_t kScriptFlags[2] = {0x1EBD27FF, 0xFFFFF9C0};

// The kernel object type of each kind, which the "Nam#" counters follow.
int KernelType(FormItemSpec::Kind kind)
{
    switch (kind) {
    case FormItemSpec::Field: return 1;
    case FormItemSpec::Rect: return 2;
    case FormItemSpec::RoundRect: return 3;
    case FormItemSpec::Oval: return 4;
    case FormItemSpec::Text: return 5;
    case FormItemSpec::Line: return 6;
    case FormItemSpec::Variable: return 9;
    case FormItemSpec::Picture: case FormItemSpec::StaticPicture: return 10;
    case FormItemSpec::Subform: return 11;
    case FormItemSpec::Group: return 18;
    case FormItemSpec::Matrix: return 19;
    case FormItemSpec::GroupBox: return 20;
    default: return 0;
    }
}

class FormWriter {
public:
    explicit FormWriter(bool little) : w_(little) {}

    Bytes Write(const IffFormLayout& f)
    {
        w_.Group("FORM", "LAYO");
        Container(f);
        for (size_t p = 0; p < f.pages.size(); ++p) {
            for (const IffObject& o : f.pages[p]) Object(o);
            w_.Begin("PAGE");
            w_.U16(uint32_t(p));
            w_.End();
        }
        w_.End();
        return w_.Take();
    }

private:
    static void Count(const std::vector<IffObject>& objects, uint32_t counters[21])
    {
        for (const IffObject& o : objects) {
            ++counters[KernelType(o.kind)];
            Count(o.members, counters);
        }
    }

    void Container(const IffFormLayout& f)
    {
        w_.Begin("Vers");
        w_.U16(3);
        w_.U32(0);
        w_.End();
        w_.Begin("KhPr");
        for (uint32_t v : {0u, 0u, 0u, 0u, 0xFFFFu, 0xFFFFu}) w_.U16(v);
        w_.End();
        w_.Begin("Layr");
        w_.U16(10);
        w_.U8(0);
        for (int i = 0; i < 10; ++i) {
            w_.U8(1);
            w_.U8(1);
            w_.PString(f.layers[size_t(i)].empty() ? "Layer " + std::to_string(i + 1) : f.layers[size_t(i)]);
        }
        w_.End();
        uint32_t counters[21] = {};
        for (const auto& page : f.pages) Count(page, counters);
        w_.Begin("Nam#");
        for (uint32_t c : counters) w_.U32(c);
        w_.End();
        w_.Begin("DRAW");
        w_.Raw(Bytes(16, 0xFF));
        w_.U16(1);
        w_.U16(1);
        w_.U32(0);
        w_.U32(0);
        for (uint32_t v : {0u, 1u, 0u, 0u}) w_.U8(v);
        w_.End();
        Font(-1, true);
        w_.Begin("FLAG");
        w_.U8(0);
        w_.U32(kScriptFlags[0]);
        for (uint32_t v : {0u, 32767u, 0u, 32767u, 0u, 0u}) w_.U16(v);
        w_.U8(2);
        w_.U8(1);
        w_.U8(1);
        w_.PString(f.sizeObject);
        w_.PString(f.formText);
        w_.U32(f.look);
        w_.U16(uint32_t(f.inheritTable));
        w_.PString(f.inheritName);
        w_.U32(8);
        w_.U32(kScriptFlags[0]);
        w_.U32(kScriptFlags[1]);
        w_.U8(0);
        w_.End();
        w_.Begin("PAG#");
        w_.U16(uint32_t(f.pages.size() - 1));
        w_.End();
    }

    // "FONT" when the style sheet differs from the one written last.
    void Font(int16_t styleSheet, bool force)
    {
        if (!force && styleSheet == styleSheet_) return;
        styleSheet_ = styleSheet;
        w_.Begin("FONT");
        for (int16_t v : {kFont, kSize, int16_t(0), int16_t(0), styleSheet, kSize}) w_.U16(uint16_t(v));
        w_.End();
    }

    void Bounds(const IffObject& o)
    {
        for (int16_t v : o.bounds) w_.U16(uint16_t(v));
    }

    void Look() { w_.U32(0), w_.U16(0); }
    void Flags(int n)
    {
        for (int i = 0; i < n; ++i) w_.U8(0);
    }

    void Themes(const IffObject& o)
    {
        if (o.themes.empty()) return;
        w_.Begin("Thm#");
        w_.U32(uint32_t(o.themes.size()));
        for (auto v = o.themes.rbegin(); v != o.themes.rend(); ++v) w_.U32(uint32_t(*v));
        w_.End();
    }

    static bool HasAttributes(const IffObject& o)
    {
        return o.listId || o.requiredId || o.excludedId || !o.filter.empty() || o.disabled;
    }

    // The entry attributes: the choice list (set when there is one), the
    // lists of required and excluded values (-1: none), no minimum or
    // maximum, editable unless disabled, no default text, the filter.
    void Satt(const IffObject& o)
    {
        auto list = [](int16_t id) { return id ? uint32_t(id) : 0xFFFFu; };
        w_.Begin("SATT");
        w_.U16(list(o.listId));
        w_.U8(o.listId ? 1 : 0), w_.U8(0);
        w_.U16(list(o.requiredId)), w_.U16(0), w_.U16(list(o.excludedId));
        for (int slot = 0; slot < 2; ++slot) w_.U8(0), w_.U8(0), w_.Raw(Bytes(10, 0));
        w_.U8(o.disabled ? 0 : 1), w_.U8(0);
        w_.PString(""), w_.PString(o.filter);
        w_.U8(0), w_.U8(uint32_t(std::min<size_t>(o.filter.size(), 255)));
        w_.End();
    }

    // A toolbox string: its count, the UTF-16 units and a 0 unit.
    void VString(const std::string& s)
    {
        w_.U32(uint32_t(s.size()));
        for (char c : s) w_.U16(platform::MacRomanToUnicode(uint8_t(c)));
        if (!s.empty()) w_.U16(0);
    }

    // The part fields and variables begin with, and their display format.
    void Editable(const IffObject& o)
    {
        Bounds(o);
        w_.U8(0), w_.U8(1);  // entry and display options: bytes in either order
        w_.U16(0);
        w_.U16(uint32_t(o.tip));
        w_.U16(uint32_t(o.methodId));
        w_.PString(o.format);
        if ((o.format.size() + 1) % 2) w_.U8(0);
    }

    void ScriptFlags()
    {
        w_.U32(8);
        w_.U32(kScriptFlags[0]);
        w_.U32(kScriptFlags[1]);
    }

    void Object(const IffObject& o)
    {
        switch (o.kind) {
        case FormItemSpec::Rect: case FormItemSpec::RoundRect: case FormItemSpec::Oval: case FormItemSpec::Line:
            w_.Begin(o.kind == FormItemSpec::Rect ? "RECT" : o.kind == FormItemSpec::RoundRect ? "RRCT"
                     : o.kind == FormItemSpec::Oval ? "OVAL" : "LINE");
            Bounds(o), w_.PString(o.name), Look(), Flags(5);
            w_.End();
            break;
        case FormItemSpec::Matrix:
            w_.Begin("GRID");
            Bounds(o), w_.PString(o.name), Look(), w_.U8(0);
            w_.U16(uint32_t(o.rows)), w_.U16(uint32_t(o.columns));
            Flags(4);
            w_.End();
            break;
        case FormItemSpec::Text: case FormItemSpec::GroupBox:
            Font(o.styleSheet, false);
            w_.Begin(o.kind == FormItemSpec::Text ? "TEXT" : "GRPB");
            Bounds(o), w_.Raw(Bytes(8, 0)), w_.U8(0);
            w_.U32(uint32_t(o.text.size()));
            w_.Raw(Bytes(o.text.begin(), o.text.end()));
            w_.PString(o.name), w_.U8(0), w_.U32(0), w_.U32(0x00FFFFFF), Look(), Flags(4);
            w_.End();
            break;
        case FormItemSpec::Picture: {
            Bytes picture = docbuilder::Picture(20, 200);
            // A program on the other byte order kept the picture's size word
            // and frame its own way.
            if (w_.Little())
                for (size_t i = 0; i + 1 < 10; i += 2) std::swap(picture[i], picture[i + 1]);
            w_.Begin("PICT");
            Bounds(o), w_.U32(uint32_t(picture.size())), w_.Raw(picture);
            // Not transparent; drawn scaled, or tiled (2).
            w_.PString(o.name), w_.U8(0), w_.U8(0), w_.U8(o.tiled ? 2 : 0), Look(), Flags(5);
            w_.End();
            break;
        }
        case FormItemSpec::StaticPicture:
            w_.Begin("SPIC");
            Bounds(o), w_.U16(uint32_t(o.pictureId)), w_.PString(o.pictureName), w_.PString(o.name);
            Flags(3), Look(), Flags(5);
            w_.End();
            break;
        case FormItemSpec::Group:
            w_.Begin("GRUP");
            Bounds(o), w_.PString(o.name), Look(), Flags(5);
            w_.End();
            w_.Group("FORM", "OBJG");
            for (const IffObject& m : o.members) Object(m);
            w_.End();
            break;
        case FormItemSpec::Subform:
            w_.Begin("MULT");
            Bounds(o), w_.PString(o.name), Look();
            w_.U16(0x0200), w_.U16(uint32_t(o.subformTable));
            w_.PString(o.text), w_.PString(o.detail.empty() ? o.text : o.detail);
            for (uint32_t v : {0u, 0u, 0u, 0u, 12u, 14u, 0u, 0u, 0u}) w_.U8(v);
            w_.End();
            break;
        case FormItemSpec::Field:
            Font(-1, false);
            if (HasAttributes(o)) Satt(o);
            w_.Begin("FILD");
            Editable(o);
            w_.U16(uint32_t(o.fieldNumber)), w_.U16(uint32_t(o.tableNumber)), w_.U8(0), w_.U8(0);
            Look(), w_.PString(o.name), w_.U32(kScriptFlags[0]);
            Flags(3), w_.U32(0), w_.U8(0), w_.U32(0), Flags(2);
            ScriptFlags();
            Flags(6);
            w_.End();
            break;
        case FormItemSpec::Variable: {
            Font(-1, false);
            if (HasAttributes(o)) Satt(o);
            w_.Begin("VAR ");
            Editable(o);
            const size_t room = o.variable.size() + 1 < 8 ? 8 : o.variable.size() + 1;
            w_.U8(uint32_t(room));
            w_.PString(o.variable);
            w_.Raw(Bytes(room - 1 - o.variable.size(), 0));
            w_.U32(o.subType), w_.U32(0), w_.U8(o.interprocess ? 1 : 0), Flags(5), w_.U16(0), w_.U16(0);
            Look(), w_.PString(o.name), w_.U32(kScriptFlags[0]);
            Flags(3), w_.U32(0), w_.U8(0), w_.U32(0), w_.U8(0), w_.U8(1), Flags(2);
            ScriptFlags();
            Flags(8);
            w_.End();
            if (!o.bytes.empty()) {
                w_.Begin("DfSt");
                w_.Raw(o.bytes);
                w_.End();
            }
            break;
        }
        case FormItemSpec::ListBox:
            Font(-1, false);
            w_.Begin("GDTL");
            Editable(o);
            Look(), w_.PString(o.name);
            VString(o.listVariable);
            w_.U16(o.interprocess ? 2 : 1);
            w_.U16(uint32_t(o.listColumns.size()));
            Flags(4);
            w_.End();
            for (const IffColumn& c : o.listColumns) {
                w_.Begin("GCOL");
                VString(c.variable), w_.U16(1);
                VString(c.header), w_.U16(1);
                VString(c.title);
                w_.U16(uint32_t(c.methodId));
                w_.End();
            }
            break;
        case FormItemSpec::Chunk:
            w_.BeginId(o.chunkId);
            w_.Raw(o.bytes);
            w_.End();
            return;
        }
        Themes(o);
    }

    IffWriter w_;
    int16_t styleSheet_ = -1;
};

}  // namespace

Bytes IffForm(const IffFormLayout& form) { return FormWriter(form.little).Write(form); }

}  // namespace docbuilder
