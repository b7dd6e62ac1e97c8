// Recording the links of a stored form. Each handler reads only what names
// another object; a missing object is never an error, a read error ends the
// walk. The form is the target and the source of every look-up.
#include "forms/walkers/ParseIFFForm.h"

#include <cstring>
#include <string>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/LayoutInfo.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/listbox/ListBox.h"
#include "forms/walkers/EditableIO.h"
#include "forms/walkers/FormLinkHooks.h"
#include "forms/walkers/LinkTexts.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

constexpr int16_t kMemFull = platform::memFullErr;
constexpr int16_t kChoiceListKind = 4, kPlugInKind = 8, kBalloonKind = 10, kStyleKind = 12, kPictureKind = 18,
                  kStyleSheetKind = 19;
// A static text this short may be a ":ID,INDEX" reference.
constexpr int32_t kStrRefLimit = 11;

struct ParseState {
    bool outOfMemory = false;
    unsigned char styleMark[256] = {};
};

ParseState* StateOf(_GroupContext* c) { return static_cast<ParseState*>(WalkerFrameOf(c)->state); }

const FormLinkHooks& H() { return GetFormLinkHooks(); }

TLayoutObjQz* FormOf(_GroupContext* c) { return WalkerFrameOf(c)->target; }

// Records from -> to (the form when `from` is null); a failure (memory)
// ends the walk.
IFFP LinkFrom(_GroupContext* c, TObjQz* from, bool fromForm, TObjQz* to)
{
    if ((!from && !fromForm) || !to || !H().link) return IFF_OKAY;
    const int16_t err = H().link(FormOf(c), from, to);
    if (err == 0) return IFF_OKAY;
    StateOf(c)->outOfMemory = true;
    return err;
}

IFFP Link(_GroupContext* c, TObjQz* to) { return LinkFrom(c, nullptr, true, to); }
IFFP Link(_GroupContext* c, TObjQz* from, TObjQz* to) { return LinkFrom(c, from, false, to); }

IFFP OutOfMemory(_GroupContext* c)
{
    StateOf(c)->outOfMemory = true;
    return kMemFull;
}

TObjQz* ById(_GroupContext* c, int16_t kind, int16_t id) { return H().byId ? H().byId(FormOf(c), kind, id) : nullptr; }

TObjQz* ByName(_GroupContext* c, int16_t kind, const unsigned char* name)
{
    return H().byName && name[0] ? H().byName(FormOf(c), kind, name) : nullptr;
}

TObjQz* FormNamed(TObjQz* table, const unsigned char* name)
{
    return table && H().formNamed && name[0] ? H().formNamed(table, name) : nullptr;
}

TObjQz* TableNumbered(_GroupContext* c, int32_t number)
{
    return H().tableNumbered && number > 0 && number <= 32767 ? H().tableNumbered(FormOf(c), int16_t(number)) : nullptr;
}

// The style named by a format or entry filter that begins with the mark.
IFFP StyleLink(_GroupContext* c, const unsigned char* text)
{
    unsigned char name[256];
    return StyleNameOf(text, StateOf(c)->styleMark, name) ? Link(c, ByName(c, kStyleKind, name)) : IFF_OKAY;
}

IFFP StringListLink(_GroupContext* c, const unsigned char* text)
{
    int16_t listId = 0, index = 0;
    if (!ParseStrRef(text, &listId, &index) || !H().stringList) return IFF_OKAY;
    return Link(c, H().stringList(FormOf(c), listId));
}

// The pending entry attributes, taken by the field or variable that
// follows them.
struct PendingSatt {
    explicit PendingSatt(_GroupContext* c) : record(WalkerFrameOf(c)->pendingSatt)
    {
        WalkerFrameOf(c)->pendingSatt = nullptr;
    }
    ~PendingSatt()
    {
        if (record) platform::DisposeHandle(record);
    }
    PendingSatt(const PendingSatt&) = delete;
    PendingSatt& operator=(const PendingSatt&) = delete;
    platform::Handle record;
};

// The choice lists and the style of entry attributes, from the form and
// from the object they belong to.
IFFP SattLinks(_GroupContext* c, platform::Handle record, TObjQz* object)
{
    if (!record) return IFF_OKAY;
    IFFP result = IFF_OKAY;
    const bool choiceSet = SattByte(record, saisieatt::kChoiceSet) != 0;
    for (int32_t offset : {saisieatt::kChoiceList, saisieatt::kRequiredList, saisieatt::kExcludedList}) {
        if (offset == saisieatt::kChoiceList && !choiceSet) continue;
        const int16_t id = SattWord(record, offset);
        if (id == -1) continue;
        TObjQz* list = ById(c, kChoiceListKind, id);
        if ((result = Link(c, list)) != IFF_OKAY || (result = Link(c, object, list)) != IFF_OKAY) return result;
    }
    unsigned char filter[256];
    SattText(record, saisieatt::kEntryFilter, filter);
    return StyleLink(c, filter);
}

// An object method of the form named after `name`.
IFFP MethodLink(_GroupContext* c, const unsigned char* name, bool interprocess, int16_t methodId, TObjQz* alsoFrom)
{
    if (methodId == 0 || !H().objectMethod) return IFF_OKAY;
    TObjQz* method = H().objectMethod(FormOf(c), name, interprocess, methodId);
    if (!method) return OutOfMemory(c);
    const IFFP result = Link(c, method);
    return result != IFF_OKAY ? result : Link(c, alsoFrom, method);
}

IFFP StaticRefLink(_GroupContext* c, const StaticRef& ref)
{
    auto pstr = [](const std::string& s, unsigned char* out) {
        out[0] = uint8_t(s.size());
        std::memcpy(out + 1, s.data(), s.size());
    };
    unsigned char name[256];
    if (ref.kind == StaticRef::Variable) {
        if (!H().variable) return IFF_OKAY;
        pstr(ref.name, name);
        TObjQz* variable = H().variable(FormOf(c), name, false);
        return variable ? Link(c, variable) : OutOfMemory(c);
    }
    TObjQz* table = nullptr;
    if (!ref.hasTable) table = H().ownTable ? H().ownTable(FormOf(c)) : nullptr;
    else if (ref.tableIsNumber) table = TableNumbered(c, std::stol(ref.table));
    else if (H().tableNamed) {
        pstr(ref.table, name);
        table = H().tableNamed(FormOf(c), name);
    }
    if (!table) return IFF_OKAY;
    TObjQz* field = nullptr;
    if (ref.fieldIsNumber) {
        const long n = std::stol(ref.field);
        if (H().fieldNumbered && n > 0 && n <= 32767) field = H().fieldNumbered(FormOf(c), table, int16_t(n));
    } else if (H().fieldNamed) {
        pstr(ref.field, name);
        field = H().fieldNamed(FormOf(c), table, name);
    }
    return Link(c, field);
}

}  // namespace

IFFP ParseLinkFlagObject(_GroupContext* c)
{
    LayoutInfo info;
    if (const IFFP err = info.ReadFlags(c, kFormVersion)) return err;
    if (info.inheritedTable == 0) return IFF_OKAY;
    TObjQz* table = TableNumbered(c, info.inheritedTable);
    if (!table) return IFF_OKAY;
    const IFFP result = Link(c, table);
    return result != IFF_OKAY ? result : Link(c, FormNamed(table, info.inheritedName));
}

IFFP ParseLinkFontProp(_GroupContext* c)
{
    FontSpecs font;
    if (const IFFP err = ReadFontProperties(&font, c)) return err;
    // A chunk of the older 8 bytes names no style sheet.
    if (c->ckSize < 9 || font.styleSheet == -1) return IFF_OKAY;
    return Link(c, ById(c, kStyleSheetKind, font.styleSheet));
}

IFFP ParseLinkStaticPict(_GroupContext* c)
{
    ChunkReader r(c);
    int16_t pictureId = 0;
    if (!r.Skip(8) || !r.S16(&pictureId)) return r.Error();
    return Link(c, ById(c, kPictureKind, pictureId));
}

IFFP ParseLinkTextObject(_GroupContext* c)
{
    ChunkReader r(c);
    int32_t length = 0;
    if (!r.Skip(17) || !r.S32(&length)) return r.Error();
    // The length is checked against the chunk before anything is read.
    if (length < 0 || length > r.Left()) return BAD_FORM;
    // The text is looked at where it lies in the form's image, which does
    // not move while the walk runs.
    IOFile* file = c->file;
    const auto* text = reinterpret_cast<const unsigned char*>(*file->handle + file->base + file->mark);
    IFFP result = IFF_OKAY;
    if (length < kStrRefLimit) {
        unsigned char p[kStrRefLimit + 1];
        p[0] = uint8_t(length);
        std::memcpy(p + 1, text, size_t(length));
        result = StringListLink(c, p);
    }
    // Only a text that begins with "<" is looked into.
    if (result == IFF_OKAY && length > 0 && text[0] == '<') {
        int32_t at = 0;
        StaticRef ref;
        while (result == IFF_OKAY && GetStaticRef(text, length, &at, nullptr, &ref))
            if (ref.kind != StaticRef::None) result = StaticRefLink(c, ref);
    }
    if (result == IFF_OKAY && !r.Skip(length)) result = r.Error();
    return result;
}

IFFP ParseLinkMultObject(_GroupContext* c)
{
    ChunkReader r(c);
    unsigned char name[32], list[32], detail[32];
    int32_t look = 0;
    int16_t lookStyle = 0, table = 0;
    uint16_t flags = 0;
    if (!r.Skip(8) || !r.PStr(name, 31) || !r.S32(&look) || !r.S16(&lookStyle) || !r.U16(&flags) ||
        !r.S16(&table) || !r.PStr(list, 31) || !r.PStr(detail, 31))
        return r.Error();
    TObjQz* found = nullptr;
    if (table < 0) found = TableNumbered(c, -int32_t(table));
    else if (table > 0 && H().subtableNumbered) found = H().subtableNumbered(FormOf(c), table);
    if (!found) return IFF_OKAY;
    IFFP result = Link(c, found);
    if (result == IFF_OKAY) result = Link(c, FormNamed(found, list));
    if (result == IFF_OKAY) result = Link(c, FormNamed(found, detail));
    return result;
}

IFFP ParseLinkFieldObject(_GroupContext* c)
{
    PendingSatt satt(c);
    EditableIOStruct io;
    if (const IFFP err = ReadEditableIO(c, &io)) return err;
    ChunkReader r(c);
    int16_t fieldNumber = 0, tableNumber = 0;
    if (!r.S16(&fieldNumber) || !r.S16(&tableNumber)) return r.Error();
    TObjQz* field = H().field ? H().field(FormOf(c), tableNumber, fieldNumber) : nullptr;
    if (!field) return IFF_OKAY;
    IFFP result = Link(c, field);
    if (result == IFF_OKAY && io.objectMethodID != 0 && H().nameOf) {
        unsigned char name[256] = {0};
        H().nameOf(field, name);
        result = MethodLink(c, name, false, io.objectMethodID, nullptr);
    }
    if (result == IFF_OKAY) result = StyleLink(c, io.format);
    if (result == IFF_OKAY && io.tipKind != 0) result = Link(c, ById(c, kBalloonKind, io.tipKind));
    if (result == IFF_OKAY) result = SattLinks(c, satt.record, field);
    return result;
}

IFFP ParseLinkVarObject(_GroupContext* c)
{
    PendingSatt satt(c);
    EditableIOStruct io;
    if (const IFFP err = ReadEditableIO(c, &io)) return err;
    ChunkReader r(c);
    uint8_t room = 0;
    unsigned char name[33] = {0};
    if (!r.U8(&room)) return r.Error();
    if (room <= 32) {
        unsigned char stored[32];
        if (!r.Bytes(stored, room)) return r.Error();
        if (room > 0) {
            name[0] = stored[0] < room ? stored[0] : uint8_t(room - 1);
            std::memcpy(name + 1, stored + 1, name[0]);
        }
    } else if (!r.Skip(room)) {
        return r.Error();
    }
    int32_t subType = 0, option = 0;
    uint8_t bytes[6];
    int16_t word1 = 0, word2 = 0;
    if (!r.S32(&subType) || !r.S32(&option) || !r.Bytes(bytes, 6) || !r.S16(&word1) || !r.S16(&word2))
        return r.Error();
    const bool interprocess = bytes[0] != 0;

    IFFP result = IFF_OKAY;
    TObjQz* area = nullptr;
    if (subType == 11) {
        area = ByName(c, kPlugInKind, io.format);
        if (area) {
            result = Link(c, area);
            if (result == IFF_OKAY && H().ownerOf) result = Link(c, H().ownerOf(area));
        } else if (H().package && io.format[0]) {
            area = H().package(FormOf(c), io.format);
            result = Link(c, area);
        }
    }
    TObjQz* variable = nullptr;
    if (result == IFF_OKAY && name[0] && H().variable) {
        variable = H().variable(FormOf(c), name, interprocess);
        result = variable ? Link(c, variable) : OutOfMemory(c);
    }
    if (result == IFF_OKAY) {
        unsigned char part[256];
        switch (subType) {
        case 2: case 3: case 4: case 28: result = StringListLink(c, io.format); break;
        case 17: case 27:
        case 18: case 19: case 20:
            TitlePart(io.format, subType == 17 || subType == 27 ? 3 : 2, part);
            if (part[0] >= 2 && part[1] == '?') {
                int32_t number = 0, i = 2;
                while (i <= part[0] && part[i] >= '0' && part[i] <= '9' && number <= 32767)
                    number = number * 10 + (part[i++] - '0');
                if (i > 2 && number <= 32767) result = Link(c, ById(c, kPictureKind, int16_t(number)));
            }
            break;
        default: break;
        }
    }
    if (result == IFF_OKAY) result = MethodLink(c, name, interprocess, io.objectMethodID, area);
    if (result == IFF_OKAY) result = StyleLink(c, io.format);
    if (result == IFF_OKAY && io.tipKind != 0) {
        TObjQz* balloon = ById(c, kBalloonKind, io.tipKind);
        result = Link(c, balloon);
        if (result == IFF_OKAY) result = Link(c, variable, balloon);
    }
    if (result == IFF_OKAY) result = SattLinks(c, satt.record, variable);
    return result;
}

IFFP ListBoxRefVarMethod(_GroupContext* c, VLayoutGrid* grid)
{
    // One variable of the list box with the method that runs for it.
    auto variable = [c](const std::u16string& text, int16_t range, int16_t methodId) -> IFFP {
        unsigned char name[256];
        NameFromU16(text, name, 31);
        if (name[0] == 0) return IFF_OKAY;
        const bool interprocess = range == kInterprocessRange;
        if (H().listBoxVariable) {
            TObjQz* listBox = H().listBoxVariable(FormOf(c), name, interprocess);
            if (!listBox) return OutOfMemory(c);
            if (const IFFP err = Link(c, listBox)) return err;
        }
        return MethodLink(c, name, interprocess, methodId, nullptr);
    };
    IFFP result = variable(grid->variable, grid->range, grid->objectMethodID);
    VGridView& view = grid->GetGridView();
    for (int32_t k = 1; result == IFF_OKAY && k <= grid->GetGridColumnCount(); ++k) {
        result = variable(view.GetColumnHeader(k)->variable, view.GetColHeaderVarRange(k), 0);
        if (result == IFF_OKAY) result = variable(view.GetColumn(k)->variable, view.GetColumnVarRange(k), grid->GetColumnProc(k));
    }
    return result;
}

IFFP ParseLinkListboxObject(_GroupContext* c)
{
    auto* grid = new VLayoutGrid(nullptr);
    if (!grid) return OutOfMemory(c);
    IFFP result = ReadListBoxWithColumns(grid, c);
    if (result == IFF_OKAY) result = ListBoxRefVarMethod(c, grid);
    delete grid;
    return result;
}

IFFP ReadSattLinks(_GroupContext* c)
{
    IFFP result = IFF_OKAY;
    platform::Handle record = ReadSattObject(c, &result);
    if (!record && result == kMemFull) return OutOfMemory(c);
    if (!record) return result;
    WalkerFrame* frame = WalkerFrameOf(c);
    if (frame->pendingSatt) platform::DisposeHandle(frame->pendingSatt);
    frame->pendingSatt = record;
    return IFF_OKAY;
}

int16_t ParseIFFForm(platform::Handle form, TLayoutObjQz* formObject)
{
    WalkerFrame frame;
    ParseState state;
    frame.target = frame.source = formObject;
    frame.state = &state;
    GetStyleMark(state.styleMark);
    frame.flag = ParseLinkFlagObject;
    frame.text = ParseLinkTextObject;
    frame.var = ParseLinkVarObject;
    frame.field = ParseLinkFieldObject;
    frame.mult = ParseLinkMultObject;
    frame.satt = ReadSattLinks;
    frame.font = ParseLinkFontProp;
    frame.staticPict = ParseLinkStaticPict;
    frame.listBox = ParseLinkListboxObject;
    const int16_t result = RunFormWalker(form, &frame, nullptr);
    return result != 0 && state.outOfMemory ? kMemFull : result;
}
