#include "forms/reader/FormReader.h"

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

constexpr IFFP kRect = IFFP(platform::FourCC("RECT")), kRoundRect = IFFP(platform::FourCC("RRCT")),
               kOval = IFFP(platform::FourCC("OVAL")), kLine = IFFP(platform::FourCC("LINE")),
               kGrid = IFFP(platform::FourCC("GRID")), kText = IFFP(platform::FourCC("TEXT")),
               kGroupBox = IFFP(platform::FourCC("GRPB")), kPict = IFFP(platform::FourCC("PICT")),
               kStaticPict = IFFP(platform::FourCC("SPIC")), kGroup = IFFP(platform::FourCC("GRUP")),
               kSubform = IFFP(platform::FourCC("MULT")), kThemes = IFFP(platform::FourCC("Thm#")),
               kFonts = IFFP(platform::FourCC("FON#"));

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
    default: return nullptr;
    }
}

bool IsObjectChunk(IFFP id)
{
    for (IFFP k : {kRect, kRoundRect, kOval, kLine, kText, kGroupBox, kPict, kStaticPict, kGroup, kSubform, kGrid})
        if (id == k) return true;
    return false;
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

// What is left in the list after the last "PAGE" goes to the last page.
void KeepLeftovers(CustomClientFrame* f)
{
    if (!f->firstObject) return;
    if (!f->pages) f->pages = NewPageTable(0);
    PageEntry last;
    const int16_t n = LastPageIndex(f->pages);
    if (n < 0 || !GetPage(f->pages, n, &last)) return;
    if (last.last) {
        last.last->next = f->firstObject;
        f->firstObject->previous = last.last;
    } else {
        last.first = f->firstObject;
    }
    last.last = f->lastObject;
    SetPage(f->pages, n, last);
    f->firstObject = f->lastObject = nullptr;
}

IFFP ReadChunks(CustomClientFrame* f, _GroupContext* group)
{
    LayoutObject* created = nullptr;  // the last object made in this group
    IFFP result = IFF_OKAY;
    while ((result = GetF1ChunkHdr(group)) >= 0) {
        const IFFP id = result;
        if (id == IFF_OKAY) continue;  // a nested group, read
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
        if (!IsObjectChunk(id)) continue;
        int16_t type = 0;
        LayoutObject* o = MakeObject(id, f->formModel, &type);
        if (!o) return platform::memFullErr;
        created = o;
        if (o->IsSubObject()) continue;
        if ((result = o->ReadObject(f, group)) != IFF_OKAY) {
            delete o;
            return result;
        }
        o->AdjustVersion(f->formVersion);
        Append(f, o);
        NameObject(type, o, objIndex4Name, f->pages);
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
        group->firstChild = f->firstObject;
        group->lastChild = f->lastObject;
        for (LayoutObject* m = f->firstObject; m; m = m->next) m->owner = group;
        f->firstObject = savedFirst;
        f->lastObject = group;
        f->currentGroup = savedGroup;
    } else if (subtype == formchunk::LAYO) {
        KeepLeftovers(f);
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
    if (result != IFF_OKAY) {
        DestroyPages(frame->pages);
        frame->pages = nullptr;
        DestroyObjects(frame->firstObject);
        frame->firstObject = frame->lastObject = nullptr;
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
