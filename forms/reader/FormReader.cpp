#include "forms/reader/FormReader.h"

#include <cstring>
#include <memory>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/listbox/ListBox.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "resources/swap/SwapResource.h"

namespace {

constexpr IFFP kRect = IFFP(platform::FourCC("RECT")), kRoundRect = IFFP(platform::FourCC("RRCT")),
               kOval = IFFP(platform::FourCC("OVAL")), kLine = IFFP(platform::FourCC("LINE")),
               kGrid = IFFP(platform::FourCC("GRID")), kText = IFFP(platform::FourCC("TEXT")),
               kGroupBox = IFFP(platform::FourCC("GRPB")), kPict = IFFP(platform::FourCC("PICT")),
               kStaticPict = IFFP(platform::FourCC("SPIC")), kGroup = IFFP(platform::FourCC("GRUP")),
               kSubform = IFFP(platform::FourCC("MULT")), kThemes = IFFP(platform::FourCC("Thm#")),
               kFonts = IFFP(platform::FourCC("FON#")), kField = IFFP(platform::FourCC("FILD")),
               kVar = IFFP(platform::FourCC("VAR ")), kListBox = IFFP(platform::FourCC("GDTL")),
               kColumn = IFFP(platform::FourCC("GCOL")), kSatt = IFFP(platform::FourCC("SATT")),
               kDefaultStyle = IFFP(platform::FourCC("DfSt")), kMethod = IFFP(platform::FourCC("CCQz"));
constexpr uint32_t kMethodType = platform::FourCC("CCQz");

// The object a chunk id makes, with its kernel type; null for other ids.
LayoutObject* MakeObject(IFFP id, LayoutEditor* editor, int16_t* type)
{
    switch (id) {
    case kRect: *type = 2; return new RectObject(editor);
    case kRoundRect: *type = 3; return new RoundRectObject(editor);
    case kOval: *type = 4; return new OvalObject(editor);
    case kLine: *type = 6; return new LineObject(editor);
    case kText: *type = 5; return new TextObject(editor);
    case kGroupBox: *type = 20; return new GroupBoxObj(editor);
    case kPict: *type = 10; return new ImageObject(editor);
    case kStaticPict: *type = 10; return new LibraryImageObject(editor);
    case kGroup: *type = 18; return new GroupObject(editor);
    case kSubform: *type = 11; return new SubFormObject(editor);
    case kGrid: *type = 19; return new MatrixObject(editor);
    case kField: *type = 1; return new FieldObject(editor);
    case kVar: {
        *type = 9;
        auto* v = new VarObject(editor);
        if (v) v->NameDfltVar();
        return v;
    }
    case kListBox: *type = 22; return new VLayoutGrid(editor);
    default: return nullptr;
    }
}

// The chunks a reader for the kernel's records passes over.
bool KernelSkips(IFFP id)
{
    return id == formchunk::NamS || id == formchunk::KhPr || id == formchunk::Layr || id == kMethod || id == kThemes ||
           id == kColumn;
}

bool IsObjectChunk(IFFP id)
{
    for (IFFP k : {kRect, kRoundRect, kOval, kLine, kText, kGroupBox, kPict, kStaticPict, kGroup, kSubform, kGrid,
                   kField, kVar, kListBox})
        if (id == k) return true;
    return false;
}

// The chunk's bytes in a new handle; null when memory is short (the chunk
// is then passed over) or, with *result set, when it cannot be read.
platform::Handle ChunkBytes(_GroupContext* c, IFFP* result)
{
    *result = IFF_OKAY;
    const int32_t size = ChunkMoreBytes(c);
    platform::Handle h = platform::NewHandle(size);
    if (!h) return nullptr;
    *result = IFFReadBytes(c, *h, size);
    if (*result == IFF_OKAY) return h;
    platform::DisposeHandle(h);
    return nullptr;
}

// A variable's default style. A string list stored by a program of the
// other byte order begins "#RTS" and has its count turned.
IFFP ReadDefaultStyle(VarObject* variable, _GroupContext* c)
{
    IFFP result = IFF_OKAY;
    platform::Handle style = ChunkBytes(c, &result);
    if (!style) return result;
    const int32_t size = int32_t(platform::GetHandleSize(style));
    if (size >= 4 && std::memcmp(*style, "#RTS", 4) == 0) {
        std::memcpy(*style, "STR#", 4);
        if (size >= 6) std::swap((*style)[4], (*style)[5]);
    }
    variable->SetDefaultStyle(style);
    return IFF_OKAY;
}

// Adds the method under a new id: the id, or 0 when it could not be added.
int16_t AddMethod(platform::Handle method)
{
    const int16_t id = uniqueresid(kMethodType);
    if (id == 0 || !xaddres(method, kMethodType, id)) {
        platform::DisposeHandle(method);
        return 0;
    }
    const bool written = xwriteres(method);
    hpurgeres(method);
    return written ? id : 0;
}

// An object method carried in the form, stored as a new 'CCQz' of the form
// model's resource file (the current one without a model): its id, or 0
// when it could not be stored.
int16_t StoreFormMethod(CustomClientFrame* f, _GroupContext* c, IFFP* result)
{
    platform::Handle method = ChunkBytes(c, result);
    if (!method) return 0;
    if (c->byteReversed) SwapResource(1, kMethodType, int32_t(platform::GetHandleSize(method)), *method);
    const int16_t file = ModelMethodFile(f->formModel), current = xcurres();
    if (file <= 0 || file == current) return AddMethod(method);
    if (!useres(file)) {
        platform::DisposeHandle(method);
        return 0;
    }
    const int16_t id = AddMethod(method);
    useres(current);
    return id;
}

void Append(CustomClientFrame* f, LayoutObject* o)
{
    o->previous = f->lastObject;
    o->next = nullptr;
    if (f->lastObject) f->lastObject->next = o;
    else f->firstObject = o;
    f->lastObject = o;
}

IFFP ReadFonts(CustomClientFrame* f, _GroupContext* c)
{
    const int32_t size = ChunkMoreBytes(c);
    platform::Handle fonts = platform::NewHandle(size);
    if (!fonts) return platform::MemError() ? platform::MemError() : platform::memFullErr;
    IFFP result = IFFReadBytes(c, *fonts, size);
    if (result == IFF_OKAY) AdjustFonts(f->pages, fonts);
    platform::DisposeHandle(fonts);
    return result;
}

// What is left in the list after the last "PAGE" goes to the last page;
// false when there is no page to take it (memory short), the list then
// deleted.
bool KeepLeftovers(CustomClientFrame* f)
{
    if (!f->firstObject) return true;
    if (!f->pages) f->pages = NewPageTable(0);
    PageEntry last;
    const int16_t n = LastPageIndex(f->pages);
    const bool kept = n >= 0 && GetPage(f->pages, n, &last);
    if (!kept) {
        DestroyObjects(f->firstObject);
    } else {
        if (last.last) {
            last.last->next = f->firstObject;
            f->firstObject->previous = last.last;
        } else {
            last.first = f->firstObject;
        }
        last.last = f->lastObject;
        SetPage(f->pages, n, last);
    }
    f->firstObject = f->lastObject = nullptr;
    return kept;
}

IFFP ReadChunks(CustomClientFrame* f, _GroupContext* group)
{
    LayoutObject* created = nullptr;  // the last object made in this group
    VGridSubObject* column = nullptr;  // the list box column just read
    IFFP result = IFF_OKAY;
    while ((result = GetF1ChunkHdr(group)) >= 0) {
        const IFFP id = result;
        if (id == IFF_OKAY) continue;  // a nested group, read
        if (f->forKernel && KernelSkips(id)) continue;
        if (id == formchunk::FLAG) f->flagChunkSize = group->ckSize;
        bool handled = false;
        result = ReadContainerChunk(f, group, objIndex4Name, &handled);
        if (handled) {
            if (result != IFF_OKAY) return result;
            continue;
        }
        if (id == kThemes) {
            // The themes of the object made last here; none before any.
            if (created && (result = created->themes.Read(f, group)) != IFF_OKAY) return result;
            continue;
        }
        if (id == kFonts) {
            if ((result = ReadFonts(f, group)) != IFF_OKAY) return result;
            continue;
        }
        if (id == kSatt) {
            platform::Handle record = ReadSaisieAtt(group, &result);
            if (!record) return result;
            if (f->entryAttributes) platform::DisposeHandle(f->entryAttributes);
            f->entryAttributes = record;
            continue;
        }
        if (id == kDefaultStyle) {
            // A second one for the same variable replaces the first.
            if (f->lastObject && f->lastObject->IsVar() &&
                (result = ReadDefaultStyle(static_cast<VarObject*>(f->lastObject), group)) != IFF_OKAY)
                return result;
            continue;
        }
        if (id == kMethod) {
            const int16_t methodId = StoreFormMethod(f, group, &result);
            if (result != IFF_OKAY) return result;
            LayoutObject* target = column ? column : f->lastObject;
            if (methodId != 0 && target && target->IsEditable())
                static_cast<EditableObject*>(target)->objectMethodID = methodId;
            continue;
        }
        if (id == kColumn) {
            auto* grid = dynamic_cast<VLayoutGrid*>(f->lastObject);
            if (!grid) continue;
            column = grid->ReadSubObject(f, group, id, &result);
            if (result != IFF_OKAY) return result;
            continue;
        }
        if (!IsObjectChunk(id)) continue;
        int16_t type = 0;
        // Held here until the list takes it.
        std::unique_ptr<LayoutObject> o(MakeObject(id, f->formModel, &type));
        if (!o) return platform::memFullErr;
        created = o.get();
        column = nullptr;
        if ((result = o->ReadObject(f, group)) != IFF_OKAY) return result;
        o->AdjustVersion(f->formVersion);
        Append(f, o.get());
        NameObject(type, o.release(), objIndex4Name, f->pages);
    }
    return result;
}

}  // namespace

IFFP GetFormQz(_GroupContext* parent)
{
    CustomClientFrame* f = ReadingFrameOf(parent);
    const IFFP subtype = parent->subtype;
    if (subtype != formchunk::LAYO && subtype != formchunk::OBJS && subtype != formchunk::OBJG) return IFF_OKAY;
    LayoutObject* savedFirst = f->firstObject;
    LayoutObject* savedGroup = f->currentGroup;
    LayoutObject* group = nullptr;
    if (subtype == formchunk::OBJG) {
        // Members hang from the group object read just before.
        if (!f->lastObject || !f->lastObject->IsGroup()) return BAD_FORM;
        group = f->lastObject;
        f->currentGroup = group;
        f->firstObject = f->lastObject = nullptr;
    }
    _GroupContext context;
    IFFP result = OpenRGroup(parent, &context);
    if (result == IFF_OKAY) {
        result = ReadChunks(f, &context);
        CloseRGroup(&context);
    }
    if (group) {
        // A second 'OBJG' after the same group adds to its members.
        for (LayoutObject* m = f->firstObject; m;) {
            LayoutObject* following = m->next;
            group->AddSubObject(m);
            m = following;
        }
        f->firstObject = savedFirst;
        f->lastObject = group;
        f->currentGroup = savedGroup;
    } else {
        // Entry attributes no field or variable took.
        if (f->entryAttributes) platform::DisposeHandle(f->entryAttributes);
        f->entryAttributes = nullptr;
    }
    return result == END_MARK ? IFF_OKAY : result;
}

void InitFormReadingFrame(CustomClientFrame* frame, LayoutEditor* formModel)
{
    InitReadingFrame(frame);
    frame->client.getForm = GetFormQz;
    frame->formModel = formModel;
}

IFFP ReadFormImage(platform::Handle form, CustomClientFrame* frame)
{
    IOFile* io = form && *form ? MemoryOpen(form, 0) : nullptr;
    if (!io) return NO_FILE;
    IFFP result = ReadIFF(io, &frame->client);
    FClose(io);
    // Entry attributes no field or variable took: a group's members read
    // outside any form leave theirs here.
    if (frame->entryAttributes) platform::DisposeHandle(frame->entryAttributes);
    frame->entryAttributes = nullptr;
    // The pages hold all that was read: objects outside any form (an 'OBJS'
    // where a form was expected) go to the last page as well.
    if (!KeepLeftovers(frame) && result == IFF_OKAY) result = platform::memFullErr;
    if (result != IFF_OKAY) {
        DestroyPages(frame->pages);
        frame->pages = nullptr;
    }
    return result;
}

void DestroyObjects(LayoutObject* first)
{
    while (first) {
        LayoutObject* next = first->next;
        delete first;
        first = next;
    }
}

void DestroyPages(platform::Handle pages)
{
    if (!pages) return;
    for (int32_t p = LastPageIndex(pages); p >= 0; --p) {
        PageEntry entry;
        if (GetPage(pages, p, &entry)) DestroyObjects(entry.first);
    }
    platform::DisposeHandle(pages);
}

void AdjustFonts(platform::Handle, platform::Handle) {}
