// A stored form into kernel records. Both layouts are first read into form
// objects by the form readers (GetFormQz for chunk files, ReadLayoutData
// for the flat records), each bounded by the resource; every object is then
// turned into its record (Convert2Obj) and deleted. Neither reading touches
// the naming counters of an open form model.
#include "forms/kernel/KernelForm.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "forms/kernel/KernelConversion.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/FormTables.h"
#include "forms/objects/LayoutObject.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/TextRuns.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using namespace objrec;

ObjHandle debutform = nullptr;
uint8_t testlockres = 0;
uint8_t platformResourceMode = 0;

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr int32_t kFormListHeader = 6, kFormListEntry = 270, kFormIdAt = 32;
constexpr uint8_t kFlatTag = 13;
// "FLAG" through the six size words: its early ends take the kernel's
// defaults for them.
constexpr int32_t kFlagThroughSizes = 17;
constexpr int16_t kPlatformLook = 6;

struct Chain {
    ObjHandle first = nullptr;
    ObjHandle last = nullptr;

    void Append(ObjHandle h)
    {
        SetObjNext(h, nullptr);
        if (last) SetObjNext(last, h);
        else first = h;
        last = h;
    }
    void Free() { FreeRecords(first); }
    static void FreeRecords(ObjHandle h)
    {
        while (h) {
            const ObjHandle next = ObjNext(h);
            ClearObj(h);
            h = next;
        }
    }
};

// The naming counters, kept as they were around a reading for the kernel.
class CountersKept {
public:
    CountersKept() { std::copy(objIndex4Name, objIndex4Name + kNamingCounters, saved_); }
    ~CountersKept() { std::copy(saved_, saved_ + kNamingCounters, objIndex4Name); }
    CountersKept(const CountersKept&) = delete;
    CountersKept& operator=(const CountersKept&) = delete;

private:
    int32_t saved_[kNamingCounters];
};

bool IsVariableOf(ObjHandle h, uint8_t subType)
{
    return ObjKind(h) == kVariable && RecByte(h, variable::kSubType) == subType;
}

// The end of an 'OBJG' read from a chunk file: the group's choices point to
// the group's record; its scrolling lists share the tallest line of their
// fonts, and the lowest of them goes last.
void ArrangeGroup(ObjHandle group, Chain* members)
{
    std::vector<ObjHandle> lists;
    for (ObjHandle m = members->first; m; m = ObjNext(m)) {
        if (IsVariableOf(m, 3) || IsVariableOf(m, 9) || IsVariableOf(m, 20)) SetRecHandle(m, variable::kLeader, group);
        if (IsVariableOf(m, 6)) lists.push_back(m);
    }
    if (lists.empty()) return;
    int16_t tallest = -1, width = 0;
    ObjHandle lowest = lists.front();
    for (size_t i = 0; i < lists.size(); ++i) {
        ObjHandle m = lists[i];
        SetRecHandle(m, variable::kNextOfKind, i + 1 < lists.size() ? lists[i + 1] : nullptr);
        // Measured without the port: its font, size and face stay as they are.
        const platform::FontInfo info = platform::StyleFontInfo(
            platform::MakeTextStyle(RecWord(m, variable::kFont), int16_t(std::abs(int32_t(RecWord(m, variable::kSize)))),
                                    platform::Style(RecWord(m, variable::kFace)), 0));
        const int16_t line = int16_t(info.ascent + info.descent + info.leading);
        const platform::Rect r = ObjBounds(m);
        if (line > tallest) tallest = line, width = int16_t(r.right - r.left);
        if (r.bottom > ObjBounds(lowest).bottom) lowest = m;
    }
    if (width > 0)
        for (ObjHandle m : lists) {
            SetRecWord(m, variable::kLineHeight, tallest);
            SetRecWord(m, variable::kLineWidth, width);
        }
    if (lowest == members->last) {
        SetObjFlags(lowest, uint16_t(ObjFlags(lowest) | kLastOfChain));
        return;
    }
    ObjHandle before = nullptr;
    for (ObjHandle m = members->first; m != lowest; m = ObjNext(m)) before = m;
    if (before) SetObjNext(before, ObjNext(lowest));
    else members->first = ObjNext(lowest);
    members->Append(lowest);
    SetObjFlags(lowest, uint16_t(ObjFlags(lowest) | kLastOfChain));
}

// The records of a chain of objects, groups with their members; list boxes
// have none and are left out. False (the records made freed) when one could
// not be made.
bool ConvertChain(LayoutObject* first, int16_t formLook, bool arrange, Chain* out)
{
    for (LayoutObject* o = first; o; o = o->next) {
        if (o->GetObjectType() == 22) continue;
        if (formLook != 0 && o->lookID == 0) o->lookID = formLook;
        ObjHandle h = o->Convert2Obj();
        if (!h) {
            out->Free();
            *out = Chain{};
            return false;
        }
        out->Append(h);
        if (!o->IsGroup()) continue;
        Chain members;
        if (!ConvertChain(o->GetFirst(), formLook, arrange, &members)) {
            out->Free();
            *out = Chain{};
            return false;
        }
        if (arrange) ArrangeGroup(h, &members);
        SetObjLink(h, members.first);
    }
    return true;
}

// Page p of the header takes the records of the objects.
bool ConvertPage(ObjHandle header, int32_t page, LayoutObject* first, int16_t formLook, bool arrange)
{
    Chain chain;
    if (!ConvertChain(first, formLook, arrange, &chain)) return false;
    SetFormPage(header, page, chain.first, chain.last);
    if (page == 1) SetObjNext(header, chain.first);
    return true;
}

void HoldMaxToMin(ObjHandle form)
{
    using namespace header;
    if (RecWord(form, kMaxHeight) < RecWord(form, kMinHeight)) SetRecWord(form, kMaxHeight, RecWord(form, kMinHeight));
    if (RecWord(form, kMaxWidth) < RecWord(form, kMinWidth)) SetRecWord(form, kMaxWidth, RecWord(form, kMinWidth));
}

void TakeLayoutInfo(ObjHandle h, const LayoutInfo& info, int16_t look)
{
    using namespace header;
    SetRecLong(h, kScriptFlags, int32_t(info.scriptFlags[0]));
    SetRecLong(h, kScriptFlags + 4, int32_t(info.scriptFlags[1]));
    SetRecByte(h, kOptionA, info.optionA);
    SetRecByte(h, kOptionB, info.optionB ? 1 : 0);
    SetRecByte(h, kOptionC, info.optionC ? 1 : 0);
    SetRecByte(h, kOptionD, info.optionD);
    SetRecByte(h, kLastByte, info.lastByte);
    SetRecWord(h, objrec::kLook, look);
    SetRecWord(h, kInheritedTable, info.inheritedTable);
    SetRecText(h, kInheritedName, info.inheritedName, kNameMax);
    SetRecText(h, kFormText, info.formText, header::kFormTextMax);
    SetRecWord(h, kMinHeight, info.sizeLimits[0]);
    SetRecWord(h, kMaxHeight, info.sizeLimits[1]);
    SetRecWord(h, kMinWidth, info.sizeLimits[2]);
    SetRecWord(h, kMaxWidth, info.sizeLimits[3]);
    SetRecWord(h, kHSize, info.hSize);
    SetRecWord(h, kVSize, info.vSize);
    SetRecText(h, objrec::kName, info.sizeObjectName, kNameMax);
}

bool IsChunkFile(const uint8_t* data, int32_t size)
{
    return size >= 4 && (std::memcmp(data, "FORM", 4) == 0 || std::memcmp(data, "MROF", 4) == 0);
}

// 'FOQz' id of the reading file as records, null with erreure set.
ObjHandle LoadForm(int16_t id)
{
    const int16_t current = xcurres();
    const int16_t file = numresfalse > 0 ? numresfalse : current;
    if (file != current) useres(file);
    platform::Handle res = nullptr;
    if (testlockres) {
        testlockres = 0;
        bool locked = false;
        res = xgetreslock(kFormType, id, &locked, true);
    } else {
        res = xget1res(kFormType, id);
    }
    ObjHandle form = nullptr;
    if (!res || !*res) {
        erreure = reserr ? reserr : platform::resNotFound;
    } else {
        hlockres(res);
        const auto* data = reinterpret_cast<const uint8_t*>(*res);
        const int32_t size = int32_t(platform::GetHandleSize(res));
        form = IsChunkFile(data, size) ? GetIFFForm(res) : GetFlatForm(data, size);
        hunlockres(res);
        hpurgeres(res);
    }
    if (file != current) useres(current);
    if (form) HoldMaxToMin(form);
    return form;
}

// 'FOQz' of that name (a platform resource file's forms are named).
int16_t NamedFormId(const unsigned char* name)
{
    const int16_t count = compteres(kFormType, true);
    for (int32_t i = 1; i <= count; ++i) {
        platform::Handle h = xgetindres(kFormType, i, true);
        if (!h) continue;
        int16_t id = 0;
        platform::ResType type = 0;
        xgetresinfo(h, &id, &type);
        unsigned char own[256];
        if (xgetresname(kFormType, id, own, true) && rel2str(own, name) == kEqual) return id;
    }
    return 0;
}

int16_t InheritedFormId(ObjHandle form)
{
    unsigned char name[kNameMax + 1];
    RecText(form, header::kInheritedName, name);
    if (name[0] == 0) return 0;
    if (platformResourceMode) return NamedFormId(name);
    platform::Handle list = TableFormList(RecWord(form, header::kInheritedTable));
    return FormListId(list, findleformat(name, 0, list));
}

void MarkOrigin(ObjHandle first, ObjHandle last, int16_t table, int16_t formId)
{
    for (ObjHandle h = first; h; h = h == last ? nullptr : ObjNext(h)) {
        if (RecWord(h, kOriginTable) == 0 && RecWord(h, kOriginForm) == 0) {
            SetRecWord(h, kOriginTable, table);
            SetRecWord(h, kOriginForm, formId);
        }
        if (ObjKind(h) == kGroup) MarkOrigin(ObjLink(h), nullptr, table, formId);
    }
}

// What `loaded` shows on page 1 (its page 0, then its page 1) goes in front
// of the form's page 0, marked as coming from it; the rest of it is freed.
void TakeInherited(ObjHandle form, ObjHandle loaded, int16_t formId)
{
    ObjHandle first = nullptr, last = nullptr, first1 = nullptr, last1 = nullptr;
    FormPage(loaded, 0, &first, &last);
    if (FormPage(loaded, 1, &first1, &last1) && first1) {
        if (last) SetObjNext(last, first1);
        else first = first1;
        last = last1;
    }
    SetFormPage(loaded, 0, nullptr, nullptr);
    SetFormPage(loaded, 1, nullptr, nullptr);
    ClearObj(loaded);
    if (!first) return;
    MarkOrigin(first, last, RecWord(form, header::kInheritedTable), formId);
    ObjHandle own = nullptr, ownLast = nullptr;
    FormPage(form, 0, &own, &ownLast);
    SetObjNext(last, own);
    SetFormPage(form, 0, first, ownLast ? ownLast : last);
}

}  // namespace

bool getform_getfo(void* destination, int32_t count, FlatCursor* cursor)
{
    if (count < 0 || cursor->end - cursor->at < count) return false;
    std::memcpy(destination, cursor->at, size_t(count));
    cursor->at += count;
    return true;
}

ObjHandle GetFlatForm(const uint8_t* data, int32_t size)
{
    FlatCursor cursor{data, data + std::max(size, 0)};
    uint8_t head[4];
    if (!getform_getfo(head, 4, &cursor) || head[0] != kFlatTag) {
        erreure = kBadFormLayout;
        return nullptr;
    }
    const int16_t pages = int16_t(platform::ReadBE16(head + 2));
    // No page at all reads as one empty page.
    ObjHandle form = newdebut(pages < 1 ? 1 : pages);
    if (!form) return nullptr;
    CountersKept counters;
    char* at = reinterpret_cast<char*>(const_cast<uint8_t*>(cursor.at));
    int32_t remaining = int32_t(cursor.end - cursor.at);
    for (int32_t p = 1; p <= pages && remaining > 0; ++p) {
        LayoutObject* last = nullptr;
        LayoutObject* first = ReadLayoutData(&at, &remaining, nullptr, &last);
        const bool read = remaining >= 0;
        const bool converted = read && ConvertPage(form, p, first, 0, false);
        DestroyObjects(first);
        if (!converted) {
            ClearObj(form);
            erreure = read ? kRecordNotMade : kBadFormLayout;
            return nullptr;
        }
    }
    erreure = 0;
    return form;
}

IFFP GetFormOld(_GroupContext* context)
{
    const IFFP subtype = context->subtype;
    if (subtype != formchunk::LAYO && subtype != formchunk::OBJG) return IFF_OKAY;
    return GetFormQz(context);
}

ObjHandle GetIFFForm(platform::Handle image)
{
    CustomClientFrame frame;
    InitFormReadingFrame(&frame, nullptr);
    frame.client.getForm = GetFormOld;
    frame.forKernel = true;
    IFFP result = IFF_OKAY;
    {
        CountersKept counters;
        result = ReadFormImage(image, &frame);
    }
    if (result != IFF_OKAY && result != IFF_DONE) {
        erreure = int16_t(result);
        return nullptr;
    }
    if (!frame.pages) {
        erreure = kBadFormLayout;
        return nullptr;
    }
    LayoutInfo& info = frame.layoutInfo;
    if (frame.flagChunkSize >= 0 && frame.flagChunkSize < kFlagThroughSizes) {
        const int16_t limits[4] = {-5, 32767, -5, 32767};
        std::copy(limits, limits + 4, info.sizeLimits);
        info.hSize = info.vSize = -5;
    }
    const int16_t look = platformResourceMode ? kPlatformLook : int16_t(info.look & 0xFFFF);
    const int16_t last = LastPageIndex(frame.pages);
    ObjHandle form = newdebut(last);
    bool converted = form != nullptr;
    for (int16_t p = 0; converted && p <= last; ++p) {
        PageEntry entry;
        if (GetPage(frame.pages, p, &entry)) converted = ConvertPage(form, p, entry.first, look, true);
    }
    DestroyPages(frame.pages);
    if (!converted) {
        if (form) {
            ClearObj(form);
            erreure = kRecordNotMade;
        }
        return nullptr;
    }
    TakeLayoutInfo(form, info, look);
    erreure = 0;
    return form;
}

int16_t getform(int16_t formId, VisitedForms* visited, bool chain)
{
    effform(&debutform);
    ObjHandle form = LoadForm(formId);
    if (!form) return 0;
    if (chain) {
        VisitedForms own;
        VisitedForms* list = visited ? visited : &own;
        list->push_back(formId);
        ChainBaseForm(form, list);
    }
    debutform = form;
    erreure = 0;
    return 0;
}

void ChainBaseForm(ObjHandle form, VisitedForms* visited)
{
    if (!form || ObjKind(form) != kHeader || !visited) return;
    // The chain is followed in a loop, deepest form last, then folded from
    // the deepest up: each form takes what its inherited form shows.
    struct Loaded {
        ObjHandle form;
        int16_t id;
    };
    std::vector<Loaded> loaded;
    for (ObjHandle current = form;;) {
        const int16_t id = InheritedFormId(current);
        if (id == 0 || std::find(visited->begin(), visited->end(), id) != visited->end()) break;
        visited->push_back(id);
        ObjHandle next = LoadForm(id);
        if (!next) break;
        loaded.push_back(Loaded{next, id});
        current = next;
    }
    for (size_t i = loaded.size(); i-- > 0;)
        TakeInherited(i == 0 ? form : loaded[i - 1].form, loaded[i].form, loaded[i].id);
}

int16_t findleformat(const unsigned char* name, int16_t dflt, platform::Handle formList)
{
    if (!formList || !*formList || name[0] == 0) return dflt;
    const int32_t size = int32_t(platform::GetHandleSize(formList));
    if (size < 2) return dflt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(*formList);
    const int32_t held = std::max(0, (size - kFormListHeader) / kFormListEntry);
    const int32_t count = std::clamp<int32_t>(int16_t(platform::ReadBE16(bytes)), 0, held);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes + kFormListHeader + i * kFormListEntry;
        unsigned char own[kNameMax + 1];
        own[0] = std::min<uint8_t>(entry[0], kNameMax);
        std::memcpy(own + 1, entry + 1, own[0]);
        if (rel2str(own, name) == kEqual) return int16_t(i + 1);
    }
    return dflt;
}

int16_t findformat(platform::Handle tableFields, const unsigned char* name)
{
    if (name[0] == 0) return 0;
    return findleformat(name, 0, TableFormList(FieldListTableNumber(tableFields)));
}

int16_t FormListId(platform::Handle formList, int16_t index)
{
    if (!formList || !*formList || index < 1) return 0;
    const int32_t at = kFormListHeader + (index - 1) * kFormListEntry + kFormIdAt;
    if (at + 2 > int32_t(platform::GetHandleSize(formList))) return 0;
    return int16_t(platform::ReadBE16(*formList + at));
}
