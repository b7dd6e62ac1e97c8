// A form's stored texts and names searched and rewritten: the search of the
// browser's filters, the replacement of a text, the renaming of what the
// form names after a renamed object, and the moving of its texts into
// string lists and back. The form is made a big-endian chunk file first
// (ConvertLayout); a rewritten image is stored in place of the old one only
// when the walk read the form whole, so a form that cannot be read stays
// as it was.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/choicelists/OneCommit.h"
#include "design/filters/ObjFilter.h"
#include "design/forms/FormRewriteLookups.h"
#include "design/forms/StoredFormImage.h"
#include "design/links/FormLinkLookups.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/text/MethodTextSupport.h"
#include "forms/calc/StringRefs.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"
#include "forms/walkers/FormRewriters.h"
#include "forms/walkers/ParseIFFForm.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr int16_t kMemFull = platform::memFullErr;
constexpr uint8_t kFlatLayoutTag = 13;
constexpr int16_t kStringListKind = 11;
// Static texts of the older layout this long or longer stay in the form.
constexpr int32_t kLongFlatText = 256;

// A handle freed when it goes out of scope.
struct OwnedHandle {
    explicit OwnedHandle(platform::Handle handle = nullptr) : h(handle) {}
    ~OwnedHandle()
    {
        if (h) platform::DisposeHandle(h);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    platform::Handle h;
};

bool IsLabelKind(int32_t subType) { return subType >= 2 && subType <= 4; }

// A copy of the form's stored data, made a big-endian chunk file; null
// when the form is missing or cannot be made one. The store's own copy is
// left as it is.
platform::Handle ReadyImage(TLayoutObjQz* form)
{
    platform::Handle stored = xget1res(kFormType, form->formResId);
    if (!stored || !*stored) return nullptr;
    platform::Handle copy = stored;
    if (platform::HandToHand(&copy) != 0) return nullptr;
    if (form->ConvertLayout(copy) != 0) {
        platform::DisposeHandle(copy);
        return nullptr;
    }
    return copy;
}

// Stores `image` as the form's data in one commit (or in the change
// around it); 0 or the store's error, the store then as it was.
int16_t StoreImage(TLayoutObjQz* form, platform::Handle image)
{
    OneCommit change(form->owner->fResFile);
    if (!change.Keep(kFormType, form->formResId)) return kMemFull;
    platform::Handle stored = xget1res(kFormType, form->formResId);
    if (!stored) return reserr ? reserr : platform::resNotFound;
    const platform::Size size = platform::GetHandleSize(image);
    platform::SetHandleSize(stored, size);
    if (platform::MemError() != 0) return kMemFull;
    std::memcpy(*stored, *image, size_t(size));
    // Within a change that holds the commits, the commit waits for it.
    if (!xwriteres(stored) || !updateres(form->owner->fResFile)) return reserr ? reserr : platform::ioErr;
    return change.Commit();
}

}  // namespace

int16_t RewriteStoredForm(TLayoutObjQz* form, const FormImageWalk& walk, bool* changed)
{
    if (changed) *changed = false;
    if (!form->owner) return kMemFull;
    ParseResFile current(form->owner);
    InstallFormLinkLookups();
    InstallFormRewriteHooks();
    OwnedHandle source(ReadyImage(form));
    OwnedHandle output(platform::NewHandle(0));
    if (!source.h || !output.h || walk(source.h, output.h) != 0) return kMemFull;
    const platform::Size size = platform::GetHandleSize(output.h);
    if (size == platform::GetHandleSize(source.h) && std::memcmp(*output.h, *source.h, size_t(size)) == 0) return 0;
    if (changed) *changed = true;
    return StoreImage(form, output.h);
}

namespace {

// Visible texts are matched as they show: one that names a string-list item
// by that item.
bool MatchShown(const unsigned char* label, const unsigned char* pattern, int16_t how)
{
    unsigned char shown[256];
    ShownStringText(label, shown);
    return StringMatch(shown, pattern, how);
}

bool MatchShownText(platform::Handle text, const unsigned char* pattern, int16_t how)
{
    const int32_t length = text && *text ? platform::GetHandleSize(text) : 0;
    if (length == 0) return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(*text);
    unsigned char shown[256];
    if (ShownStringText(bytes, size_t(length), shown)) return TextMatch(shown + 1, shown[0], pattern, how);
    return TextMatch(bytes, int16_t(std::min<int32_t>(length, 32767)), pattern, how);
}

}  // namespace

int16_t TLayoutObjQz::SearchIn(const unsigned char* text, int16_t how)
{
    if (const int16_t byName = TObjQz::SearchIn(text, how)) return byName;
    if (!owner) return 0;
    ParseResFile current(owner);
    InstallFormRewriteHooks();
    platform::Handle stored = xget1res(kFormType, formResId);
    const platform::Size size = stored && *stored ? platform::GetHandleSize(stored) : 0;
    // The older flat layout is searched as its objects, without making it
    // a chunk file first.
    if (size >= 4 && uint8_t((*stored)[0]) == kFlatLayoutTag) {
        std::vector<char> bytes(*stored, *stored + size);
        int16_t lists = int16_t(uint8_t(bytes[2]) << 8 | uint8_t(bytes[3]));
        char* data = bytes.data() + 4;
        int32_t remaining = int32_t(size) - 4;
        bool found = false;
        for (; !found && lists > 0 && remaining >= 0; --lists) {
            LayoutObject* objects = ReadLayoutData(&data, &remaining, nullptr, nullptr);
            found = SearchInFormObj(objects, text, how);
            DestroyObjects(objects);
        }
        return found ? 1 : 0;
    }
    OwnedHandle image(ReadyImage(this));
    if (!image.h) {
        // The form could not be made ready: said once, and the reserve
        // given up so that the search can end.
        ErrMsg(kMemFull);
        if (GromMemHdl) platform::DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
        return 0;
    }
    std::string pattern(reinterpret_cast<const char*>(text + 1), text[0]);
    // The walker takes a C string: the pattern goes as far as its first 0.
    return SearchTxtIFF(image.h, pattern.c_str(), how);
}

bool TLayoutObjQz::SearchInFormObj(LayoutObject* objects, const unsigned char* text, int16_t how)
{
    for (LayoutObject* o = objects; o; o = o->next) {
        if (o->GetObjectType() == 9 && o->IsVar()) {
            auto* var = static_cast<VarObject*>(o);
            if (StringMatch(var->varName, text, how)) return true;
            if (IsLabelKind(var->subType) && MatchShown(var->format, text, how)) return true;
        } else if (o->GetObjectType() == 5) {
            if (MatchShownText(static_cast<TextObject*>(o)->text, text, how)) return true;
        } else if (o->IsGroup() && SearchInFormObj(o->firstChild, text, how)) {
            return true;
        }
    }
    return false;
}

int16_t TLayoutObjQz::Do_TxtToStr(LayoutObject* objects, TObjQz** strObj, bool* changed)
{
    int16_t err = 0;
    for (LayoutObject* o = objects; o && err == 0; o = o->next) {
        unsigned char text[256];
        bool done = false;
        if (o->GetObjectType() == 9 && o->IsVar() && IsLabelKind(static_cast<VarObject*>(o)->subType)) {
            auto* var = static_cast<VarObject*>(o);
            std::memcpy(text, var->format, size_t(var->format[0]) + 1);
            err = DoItTxtStr(text, strObj, G_StrArrHdl, &done);
            if (err == 0 && done) std::memcpy(var->format, text, size_t(text[0]) + 1);
        } else if (o->GetObjectType() == 5) {
            auto* textObject = static_cast<TextObject*>(o);
            platform::Handle t = textObject->text;
            const int32_t length = t ? platform::GetHandleSize(t) : 0;
            if (length >= kLongFlatText) continue;
            text[0] = uint8_t(length);
            if (length) std::memcpy(text + 1, *t, size_t(length));
            err = DoItTxtStr(text, strObj, G_StrArrHdl, &done);
            if (err == 0 && done) textObject->SetText(text);
        } else if (o->IsGroup()) {
            err = Do_TxtToStr(o->firstChild, strObj, &done);
        }
        if (done && changed) *changed = true;
    }
    return err;
}

int16_t TLayoutObjQz::ReplaceTxt(const unsigned char* find, const unsigned char* replacement, int32_t* leftWhole)
{
    return RewriteStoredForm(this, [&](platform::Handle source, platform::Handle output) {
        return ReplaceTxtIFF(source, output, find, replacement, leftWhole);
    });
}

bool TLayoutObjQz::KeepsOldName(TObjQz*, bool force) { return TstFlag(kFlagCiphered) && !force; }

int16_t TLayoutObjQz::RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (!obj || KeepsOldName(obj, force)) return 0;
    unsigned char oldName[256], cut[256];
    obj->GetName(oldName);
    cut[0] = uint8_t(std::min<int32_t>(newName[0], kMaxStoredName));
    std::memcpy(cut + 1, newName + 1, cut[0]);
    // A form is renamed in the references that name its own table.
    TObjQz* renamedOwner = obj->kind == kRenamedForm ? obj->GetOwnerObj() : nullptr;
    return RewriteStoredForm(this, [&](platform::Handle source, platform::Handle output) {
        return ReplaceInIFFLayOut(source, output, obj->kind, oldName, cut, this, renamedOwner);
    });
}

void TLayoutObjQz::XRefReplace(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (const int16_t err = RewriteForRename(obj, newName, force)) ErrMsg(err);
}

int16_t TLayoutObjQz::TxtToStr(void* strList)
{
    if (TstFlag(kFlagInComponent)) return 0;
    // The slot of the string list in use, which a full list moves on.
    TObjQz** slot = static_cast<TObjQz**>(strList);
    TObjQz* current = slot ? *slot : nullptr;
    unsigned char nameBuffer[256] = {};
    bool changed = false;
    int16_t err = RewriteStoredForm(
        this,
        [&](platform::Handle source, platform::Handle output) {
            CompanionCurrent companion(owner);
            return TxtToStrIFF(source, output, &current, nameBuffer, this);
        },
        &changed);
    if (slot) *slot = current;
    if (err == 0 && changed && current) err = XRef(this, current);
    return err;
}

int16_t TLayoutObjQz::StrToTxt()
{
    if (TstFlag(kFlagInComponent)) return 0;
    const int16_t err = RewriteStoredForm(this, [&](platform::Handle source, platform::Handle output) {
        CompanionCurrent companion(owner);
        return StrToTxtIFF(source, output);
    });
    if (err != 0) return err;
    // The form names no string list any more, but through a reference
    // whose item was missing and which therefore stayed: those are linked
    // again from the stored form.
    for (int32_t i = uses ? uses->Size() : 0; i-- > 0;)
        if (uses->At(i) && uses->At(i)->kind == kStringListKind) XDelRef(this, uses->At(i));
    ParseResFile current(owner);
    platform::Handle stored = xget1res(kFormType, formResId);
    if (!stored) return 0;
    const int16_t relinked = ParseIFFForm(stored, this);
    return relinked == kMemFull ? relinked : 0;
}
