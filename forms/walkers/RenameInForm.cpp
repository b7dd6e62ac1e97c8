// Renaming the references of a stored form to a renamed design object.
// Each handler compares what names an object of the renamed kind with the
// old name and, where they are the same name, writes the chunk again with
// the new name; every other chunk goes to the output as stored.
#include <algorithm>
#include <cstring>
#include <string>

#include "forms/walkers/FormLinkHooks.h"
#include "forms/walkers/FormRewriteHooks.h"
#include "forms/walkers/FormRewriters.h"
#include "forms/walkers/LinkTexts.h"
#include "forms/walkers/RewriteSupport.h"
#include "forms/walkers/StoredListBox.h"

namespace {

constexpr int32_t kMaxName = 31;
// A variable's name is kept in a room of N bytes, N from 8 to 32.
constexpr int32_t kMinNameRoom = 8;

struct RenameState {
    int16_t kind = 0;
    unsigned char oldName[256] = {}, newName[256] = {};
    TLayoutObjQz* form = nullptr;
    TObjQz* renamedOwner = nullptr;
    unsigned char styleMark[256] = {}, prefix[256] = {};
};

RenameState* StateOf(_GroupContext* c) { return static_cast<RenameState*>(WalkerFrameOf(c)->state); }

// Whether the form reference of a chunk naming its table by `table`
// (negative: a table's number; positive: a subtable by field number, or
// for an inherited form a table's number) names a form of the renamed
// form's table.
bool OfRenamedTable(const RenameState* s, int16_t table, bool subtableWhenPositive)
{
    if (!s->renamedOwner) return true;
    const FormLinkHooks& h = GetFormLinkHooks();
    TObjQz* found = nullptr;
    if (table < 0 && h.tableNumbered) found = h.tableNumbered(s->form, int16_t(-int32_t(table)));
    else if (table > 0 && subtableWhenPositive && h.subtableNumbered) found = h.subtableNumbered(s->form, table);
    else if (table > 0 && h.tableNumbered) found = h.tableNumbered(s->form, table);
    return found == s->renamedOwner;
}

// A format or filter naming the renamed style: the style mark, then the
// old name. The new text is the mark and the new name.
bool NamesRenamedStyle(const RenameState* s, const unsigned char* text, unsigned char* renamed)
{
    unsigned char style[256];
    if (!StyleNameOf(text, s->styleMark, style) || !SameName(style, s->oldName)) return false;
    unsigned char name[256];
    CopyCut(name, s->newName, kMaxName);
    renamed[0] = uint8_t(1 + name[0]);
    renamed[1] = s->styleMark[1];
    std::memcpy(renamed + 2, name + 1, name[0]);
    return true;
}

// The form's object method `methodId` named after a variable.
void RenameMethod(const RenameState* s, int16_t methodId, const unsigned char* name)
{
    if (methodId != 0 && GetFormRewriteHooks().renameMethod) GetFormRewriteHooks().renameMethod(s->form, methodId, name);
}

// A static text that begins with "<", its references rebuilt: only the
// variable's name, or a field reference's table part given by name, is
// replaced; every other byte stays. False when nothing changed.
bool RenameInStaticText(const RenameState* s, const uint8_t* text, int32_t length, std::string* out)
{
    if (length == 0 || text[0] != '<') return false;
    bool changed = false;
    int32_t at = 0;
    std::string literal;
    StaticRef ref;
    while (true) {
        const int32_t from = at;
        const bool found = GetStaticRef(text, length, &at, &literal, &ref);
        out->append(literal);
        if (!found) break;
        const int32_t refStart = from + int32_t(literal.size());
        const std::string stored(reinterpret_cast<const char*>(text + refStart), size_t(at - refStart));
        const std::string name(reinterpret_cast<const char*>(s->newName + 1), s->newName[0]);
        if (s->kind == kRenamedVariable && ref.kind == StaticRef::Variable && SameName(ref.name, s->oldName)) {
            out->append("<" + name + ">");
            changed = true;
        } else if (s->kind == kRenamedTable && ref.kind == StaticRef::Field && ref.hasTable && !ref.tableIsNumber &&
                   SameName(ref.table, s->oldName)) {
            // "<?[" table "]" field ">": the part behind the table kept.
            out->append("<?[" + name + stored.substr(3 + ref.table.size()));
            changed = true;
        } else {
            out->append(stored);
        }
    }
    return changed;
}

}  // namespace

bool ListBoxCompareVarName(const unsigned char* plainName, int16_t range, int16_t kind, const unsigned char* oldName)
{
    if (plainName[0] == 0) return false;
    if (kind == kRenamedListBoxVariable) return SameName(plainName, oldName);
    unsigned char prefix[256], full[256];
    GetInterprocessPrefix(prefix);
    if (range == kInterprocessRange) PutPrefix(prefix, plainName, full);
    else std::memcpy(full, plainName, size_t(plainName[0]) + 1);
    return SameName(full, oldName);
}

IFFP FlagReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        const RenameState* s = StateOf(c);
        StoredFlag flag;
        if (s->kind != kRenamedForm) return IFF_OKAY;
        if (const IFFP err = ReadStoredFlag(c, &flag)) return err;
        if (flag.inheritedTable == 0 || !flag.inheritedName.Present() ||
            !SameName(flag.inheritedName.text, s->oldName) || !OfRenamedTable(s, flag.inheritedTable, false))
            return IFF_OKAY;
        unsigned char name[256];
        CopyCut(name, s->newName, kMaxName);
        return Edited(RespellText(edit, flag.inheritedName, name, false));
    });
}

IFFP TextReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        const RenameState* s = StateOf(c);
        StoredStaticText stored;
        if (s->kind != kRenamedVariable && s->kind != kRenamedTable) return IFF_OKAY;
        if (const IFFP err = ReadStoredStaticText(c, &stored)) return err;
        std::string renamed;
        if (!RenameInStaticText(s, stored.text, stored.length, &renamed)) return IFF_OKAY;
        return Edited(RespellStaticText(edit, stored, renamed));
    });
}

IFFP SattReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        const RenameState* s = StateOf(c);
        StoredSatt satt;
        if (s->kind != kRenamedStyle) return IFF_OKAY;
        if (const IFFP err = ReadStoredSatt(c, &satt)) return err;
        unsigned char filter[256];
        if (!NamesRenamedStyle(s, satt.filter.text, filter)) return IFF_OKAY;
        // The chunk ends with the filter's length once more.
        return Edited(RespellText(edit, satt.filter, filter, false) &&
                      (satt.lengthCopyAt < 0 || edit.Replace(satt.lengthCopyAt, 1, std::string(1, char(filter[0])))));
    });
}

IFFP FildReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        const RenameState* s = StateOf(c);
        StoredEditable field;
        if (s->kind != kRenamedStyle) return IFF_OKAY;
        if (const IFFP err = ReadStoredField(c, &field)) return err;
        unsigned char format[256];
        if (!NamesRenamedStyle(s, field.format.text, format)) return IFF_OKAY;
        return Edited(RespellText(edit, field.format, format, true));
    });
}

IFFP VarReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        const RenameState* s = StateOf(c);
        StoredEditable var;
        if (s->kind != kRenamedStyle && s->kind != kRenamedVariable) return IFF_OKAY;
        if (const IFFP err = ReadStoredVar(c, &var)) return err;
        if (s->kind == kRenamedStyle) {
            unsigned char format[256];
            if (!NamesRenamedStyle(s, var.format.text, format)) return IFF_OKAY;
            return Edited(RespellText(edit, var.format, format, true));
        }
        unsigned char full[256];
        if (var.interprocess) PutPrefix(s->prefix, var.varName, full);
        else std::memcpy(full, var.varName, size_t(var.varName[0]) + 1);
        if (var.varName[0] == 0 || !SameName(full, s->oldName)) return IFF_OKAY;
        // Stored without the prefix; the byte says whether it was there.
        const bool interprocess = HasPrefix(s->newName, s->prefix);
        unsigned char stored[256];
        stored[0] = uint8_t(s->newName[0] - (interprocess ? s->prefix[0] : 0));
        std::memcpy(stored + 1, s->newName + 1 + (interprocess ? s->prefix[0] : 0), stored[0]);
        CopyCut(stored, stored, kMaxName);
        // The room stays when the new name fits it.
        const int32_t room = stored[0] + 1 <= var.room ? var.room : std::max<int32_t>(stored[0] + 1, kMinNameRoom);
        std::string kept(size_t(room) + 1, '\0');
        kept[0] = char(room);
        std::memcpy(kept.data() + 1, stored, size_t(stored[0]) + 1);
        if (!edit.Replace(var.nameRoomAt, 1 + var.room, kept) ||
            !edit.Replace(var.interprocessAt, 1, std::string(1, char(interprocess ? 1 : 0))))
            return BAD_FORM;
        unsigned char method[256];
        if (interprocess) PutPrefix(s->prefix, stored, method);
        else std::memcpy(method, stored, size_t(stored[0]) + 1);
        RenameMethod(s, var.objectMethodID, method);
        return IFF_OKAY;
    });
}

IFFP MultReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        const RenameState* s = StateOf(c);
        StoredSubform subform;
        if (s->kind != kRenamedForm) return IFF_OKAY;
        if (const IFFP err = ReadStoredSubform(c, &subform)) return err;
        if (!OfRenamedTable(s, subform.table, true)) return IFF_OKAY;
        unsigned char name[256];
        CopyCut(name, s->newName, kMaxName);
        for (const StoredText* form : {&subform.listForm, &subform.detailForm})
            if (SameName(form->text, s->oldName) && !RespellText(edit, *form, name, false)) return BAD_FORM;
        return IFF_OKAY;
    });
}

IFFP ListBoxReplace(_GroupContext* c)
{
    const RenameState* s = StateOf(c);
    StoredListBox stored;
    if (const IFFP err = stored.Read(c)) return err;
    // Only a variable's rename concerns a list box: a form, table or list
    // named like its variable does not.
    if (!stored.Readable() || (s->kind != kRenamedVariable && s->kind != kRenamedListBoxVariable))
        return stored.Write(WalkOutput(c));
    unsigned char plain[256], full[256];
    const bool marked = HasPrefix(s->newName, s->prefix);
    plain[0] = uint8_t(s->newName[0] - (marked ? s->prefix[0] : 0));
    std::memcpy(plain + 1, s->newName + 1 + (marked ? s->prefix[0] : 0), plain[0]);
    CopyCut(plain, plain, kMaxName);
    // An object method goes by its variable's name, prefixed when the
    // variable is interprocess.
    auto methodName = [&](int16_t range) -> const unsigned char* {
        if (range != kInterprocessRange) return plain;
        PutPrefix(s->prefix, plain, full);
        return full;
    };
    VLayoutGrid& grid = stored.Grid();
    VGridView& view = grid.GetGridView();
    unsigned char name[256];
    NameFromU16(grid.variable, name, 255);
    if (ListBoxCompareVarName(name, grid.range, s->kind, s->oldName)) {
        grid.SetVariableName(plain, kKeepRange);
        RenameMethod(s, grid.objectMethodID, methodName(grid.range));
    }
    for (int32_t k = 1; k <= grid.GetGridColumnCount(); ++k) {
        view.GetColHeaderVarName(k, name);
        if (ListBoxCompareVarName(name, view.GetColHeaderVarRange(k), s->kind, s->oldName))
            view.SetColHeaderVarName(k, plain, kKeepRange);
        view.GetColumnVarName(k, name);
        if (ListBoxCompareVarName(name, view.GetColumnVarRange(k), s->kind, s->oldName)) {
            view.SetColumnVarName(k, plain, kKeepRange);
            RenameMethod(s, grid.GetColumnProc(k), methodName(view.GetColumnVarRange(k)));
        }
    }
    return stored.Write(WalkOutput(c));
}

int16_t ReplaceInIFFLayOut(platform::Handle source, platform::Handle output, int16_t kind,
                           const unsigned char* oldName, const unsigned char* newName, TLayoutObjQz* form,
                           TObjQz* renamedOwner)
{
    RenameState state;
    state.kind = kind;
    CopyCut(state.oldName, oldName, 255);
    CopyCut(state.newName, newName, 255);
    state.form = form;
    state.renamedOwner = kind == kRenamedForm ? renamedOwner : nullptr;
    GetStyleMark(state.styleMark);
    GetInterprocessPrefix(state.prefix);
    WalkerFrame frame;
    frame.target = frame.source = form;
    frame.state = &state;
    CopyEveryChunk(&frame);
    frame.flag = FlagReplace;
    frame.text = TextReplace;
    frame.var = VarReplace;
    frame.field = FildReplace;
    frame.mult = MultReplace;
    frame.satt = SattReplace;
    frame.listBox = ListBoxReplace;
    return RunFormWalker(source, &frame, output);
}
