// A form's links. The form method and the object methods parse with the
// form; the stored form is walked for the fields, variables, methods,
// styles, balloons, choice lists, string lists, plug-ins and subforms it
// names. Forms stored as chunk files are walked by the forms layer through
// the look-ups of FormLinkLookups; forms kept in the older flat layouts are
// walked here, each read bounded by its record and by the resource: the
// paged one (byte 13, a count of record lists, the lists from byte 4) and
// the oldest (one record list from byte 0). Either way a form that cannot
// be read ends the walk with 9001, the links made so far kept.
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "design/links/FormLinkLookups.h"
#include "forms/walkers/ParseIFFForm.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kBadForm = 9001;
constexpr int16_t kMemFull = -108;
constexpr uint8_t kPagedTag = 13;

// A length byte and its characters padded to an even count.
size_t PaddedSize(uint8_t length) { return (size_t(length) + 2) & ~size_t(1); }

class FlatWalk {
public:
    FlatWalk(TLayoutObjQz* form, const ByteView& bytes) : form_(form), doc_(form->owner), bytes_(bytes)
    {
        platform::GetIndString(mark_, 1019, 5);
    }

    int16_t Run()
    {
        int16_t lists = 1;
        at_ = 0;
        if (bytes_.data[0] == kPagedTag) {
            if (!bytes_.S16(2, &lists)) return kBadForm;
            at_ = 4;
        }
        for (int16_t l = 0; l < lists; ++l) {
            for (;;) {
                uint8_t type = 0;
                if (!bytes_.U8(at_, &type) || !bytes_.Has(at_, 2)) return kBadForm;
                at_ += 2;
                if (type == 0) break;
                if (const int16_t err = Record(type)) return err;
            }
        }
        return 0;
    }

private:
    int16_t Record(uint8_t type)
    {
        switch (type) {
        case 2: case 3: case 4: case 6: return Skip(34);
        case 10: {
            int32_t length = 0;
            if (!bytes_.S32(at_ + 8, &length) || length < 0 || !bytes_.Has(at_, 12)) return kBadForm;
            if (const int16_t err = Skip(12)) return err;
            return Skip((size_t(length) + 1) & ~size_t(1));
        }
        case 1: return FieldRecord();
        case 5: return TextRecord();
        case 9: return ActiveRecord();
        case 11: return SubformRecord();
        default: return kBadForm;
        }
    }

    int16_t Skip(size_t count)
    {
        if (!bytes_.Has(at_, count)) return kBadForm;
        at_ += count;
        return 0;
    }

    int16_t Link(TObjQz* from, TObjQz* to) { return from && to ? XRef(from, to) : 0; }

    // A padded length-prefixed string at the walk's place.
    int16_t Label(unsigned char* out)
    {
        uint8_t n = 0;
        if (!bytes_.U8(at_, &n) || !bytes_.PStr(at_, PaddedSize(n), out)) return kBadForm;
        return Skip(PaddedSize(n));
    }

    // An object method of the form named `name`, made, read and linked.
    int16_t ObjectMethod(const unsigned char* name, int16_t methodId, TObjQz* alsoFrom)
    {
        if (!form_->objMethods && NewObjList(&form_->objMethods, 10) != 0) return kMemFull;
        TObjQz* method = NewListObj_Id(doc_, &form_->objMethods, 25, name, methodId, false);
        if (!method) return kMemFull;
        auto* m = static_cast<TGnlProcObjQz*>(method);
        m->ownerObj = form_;
        m->Read(nullptr);
        if (!m->table) m->table = dynamic_cast<TFileObjQz*>(form_->ownerObj);
        int16_t err = XRef(form_, method);
        if (err == 0) err = Link(alsoFrom, method);
        return err;
    }

    int16_t Style(const unsigned char* label)
    {
        if (!mark_[0] || !label[0] || label[1] != mark_[1]) return 0;
        unsigned char name[256];
        name[0] = uint8_t(label[0] - 1);
        std::memcpy(name + 1, label + 2, name[0]);
        return Link(form_, SearchObj_Name(doc_, 12, name));
    }

    int16_t StringList(const unsigned char* text)
    {
        int16_t listId = 0, index = 0;
        if (!GetStrIndex(text, &listId, &index)) return 0;
        return Link(form_, SearchObj_Id(doc_, 11, listId));
    }

    // The optional balloon and the choice-list block behind fields and
    // variables.
    int16_t Trailer(TObjQz* object, bool balloonFromObject)
    {
        int16_t word = 0;
        if (!bytes_.S16(at_, &word)) return kBadForm;
        if (word == -2) {
            int16_t balloonId = 0;
            if (!bytes_.S16(at_ + 2, &balloonId)) return kBadForm;
            at_ += 4;
            TObjQz* balloon = SearchObj_Id(doc_, 10, balloonId);
            int16_t err = Link(form_, balloon);
            if (err == 0 && balloonFromObject) err = Link(object, balloon);
            if (err) return err;
            if (!bytes_.S16(at_, &word)) return kBadForm;
        }
        if (word == 0) return Skip(2);
        const size_t block = at_;
        uint8_t firstOn = 0, n = 0;
        if (!bytes_.Has(block, 70) || !bytes_.U8(block + 4, &firstOn) || !bytes_.U8(block + 70, &n) ||
            !bytes_.Has(block + 70, PaddedSize(n)))
            return kBadForm;
        for (size_t off : {size_t(2), size_t(6), size_t(10)}) {
            if (off == 2 && !firstOn) continue;
            int16_t listId = -1;
            bytes_.S16(block + off, &listId);
            if (listId == -1) continue;
            TObjQz* list = SearchObj_Id(doc_, 4, listId);
            int16_t err = Link(form_, list);
            if (err == 0) err = Link(object, list);
            if (err) return err;
        }
        return Skip(70 + PaddedSize(n));
    }

    int16_t FieldRecord()
    {
        const size_t record = at_;
        int16_t fieldNumber = 0, methodId = 0;
        uint8_t tableNumber = 0;
        if (!bytes_.Has(record, 28)) return kBadForm;
        bytes_.S16(record + 14, &fieldNumber);
        bytes_.U8(record + 17, &tableNumber);
        bytes_.S16(record + 26, &methodId);
        at_ += 28;
        ChampOper op;
        op.field = fieldNumber;
        op.table = tableNumber;
        TObjQz* field = SearchCritObj(form_->ownerObj, doc_->fTypeList, op);
        int16_t err = Link(form_, field);
        if (err == 0 && field && methodId != 0) err = ObjectMethod(field->name, methodId, nullptr);
        if (err) return err;
        unsigned char label[256];
        if ((err = Label(label)) != 0) return err;
        if ((err = Style(label)) != 0) return err;
        return Trailer(field, false);
    }

    int16_t TextRecord()
    {
        if (!bytes_.Has(at_, 30)) return kBadForm;
        int16_t length = 0;
        bytes_.S16(at_ + 28, &length);
        if (length < 0 || !bytes_.Has(at_ + 30, size_t(length))) return kBadForm;
        unsigned char text[256];
        text[0] = uint8_t(length > 255 ? 255 : length);
        std::memcpy(text + 1, bytes_.data + at_ + 30, text[0]);
        if (const int16_t err = Skip(30 + ((size_t(length) + 1) & ~size_t(1)))) return err;
        return StringList(text);
    }

    int16_t ActiveRecord()
    {
        const size_t record = at_;
        if (!bytes_.Has(record, 42)) return kBadForm;
        unsigned char name[256];
        int16_t scope = 0, methodId = 0;
        uint8_t objectKind = 0;
        if (!bytes_.PStr(record + 8, 16, name)) return kBadForm;
        bytes_.S16(record + 24, &scope);
        bytes_.U8(record + 32, &objectKind);
        bytes_.S16(record + 34, &methodId);
        at_ += 42;
        unsigned char label[256];
        if (const int16_t err = Label(label)) return err;

        int16_t err = 0;
        TObjQz* routine = nullptr;
        if (objectKind == 11) {
            routine = SearchObj_Name(doc_, 8, label);
            if (routine) {
                err = Link(form_, routine);
                if (err == 0) err = Link(form_, routine->GetOwnerObj());
            } else {
                err = Link(form_, Search_Package(doc_, label));
            }
        }
        TObjQz* variable = nullptr;
        if (err == 0 && name[0]) {
            if (scope < 0) {
                unsigned char prefix[256], full[256];
                platform::GetIndString(prefix, 104, 39);
                const bool hasPrefix =
                    prefix[0] && name[0] >= prefix[0] && std::memcmp(name + 1, prefix + 1, prefix[0]) == 0;
                if (!hasPrefix) {
                    full[0] = uint8_t(std::min<int>(255, prefix[0] + name[0]));
                    std::memcpy(full + 1, prefix + 1, prefix[0]);
                    std::memcpy(full + 1 + prefix[0], name + 1, size_t(full[0] - prefix[0]));
                    std::memcpy(name, full, size_t(full[0]) + 1);
                }
                variable = Get_GlobGlobVar(doc_, name);
            } else {
                variable = Get_GlobVar(doc_, name);
            }
            if (!variable) return kMemFull;
            err = Link(form_, variable);
        }
        if (err == 0 && objectKind >= 2 && objectKind <= 4) err = StringList(label);
        if (err == 0 && methodId != 0) err = ObjectMethod(name, methodId, routine);
        if (err == 0) err = Style(label);
        if (err) return err;
        return Trailer(variable, true);
    }

    int16_t SubformRecord()
    {
        const size_t record = at_;
        if (!bytes_.Has(record, 48)) return kBadForm;
        int16_t which = 0;
        unsigned char first[256], second[256];
        bytes_.S16(record + 12, &which);
        // Both names stay inside the record.
        if (!bytes_.PStr(record + 14, 16, first) || !bytes_.PStr(record + 30, 18, second)) return kBadForm;
        at_ += 48;
        TFileObjQz* table = nullptr;
        if (which < 0) {
            ObjListHdl tables = doc_->fTypeList ? doc_->fTypeList->lists[0] : nullptr;
            for (int32_t i = 0; tables && i < tables->Size() && !table; ++i) {
                auto* t = dynamic_cast<TFileObjQz*>(tables->At(i));
                if (t && t->kind == 1 && t->tableNumber == -which) table = t;
            }
        } else if (which > 0) {
            ObjListHdl members = form_->ownerObj ? form_->ownerObj->members : nullptr;
            for (int32_t i = 0; members && i < members->Size() && !table; ++i) {
                auto* t = dynamic_cast<TFileObjQz*>(members->At(i));
                if (t && t->kind == 29 && t->fieldNumber == which) table = t;
            }
        }
        if (!table) return 0;
        int16_t err = Link(form_, SearchListObj_Name(table->forms, first));
        if (err == 0) err = Link(form_, SearchListObj_Name(table->forms, second));
        return err;
    }

    TLayoutObjQz* form_;
    TMainDoc* doc_;
    ByteView bytes_;
    size_t at_ = 0;
    unsigned char mark_[256];
};

}  // namespace

int16_t WalkFlatForm(TLayoutObjQz* form, const uint8_t* data, size_t size)
{
    const ByteView bytes{data, size};
    if (!form || !form->owner || size < 1) return kBadForm;
    return FlatWalk(form, bytes).Run();
}

int16_t TLayoutObjQz::GetForm(int16_t resId)
{
    platform::Handle h = xget1res(platform::FourCC("FOQz"), resId);
    if (!h) return kMemFull;
    resTime = xgetrestimestamp(h);
    resSize = uint32_t(platform::GetHandleSize(h));
    if (!xiscryptedres(h)) ShowProgress(7);
    const ByteView bytes = ByteView::Of(h);
    if (bytes.Has(0, 4) && (std::memcmp(bytes.data, "FORM", 4) == 0 || std::memcmp(bytes.data, "MROF", 4) == 0)) {
        InstallFormLinkLookups();
        const int16_t result = ParseIFFForm(h, this);
        return result == 0 || result == kMemFull ? result : kBadForm;
    }
    return WalkFlatForm(this, bytes.data, bytes.size);
}

int16_t TLayoutObjQz::Parse()
{
    if (ParseOnce(this)) return 0;
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    int16_t result = 0;
    if (formMethodId != 0 && !formMethod) {
        formMethod = NewOwnedObj(owner, 27, name, formMethodId);
        if (!formMethod) return CheckParseError(kMemFull);
        auto* m = static_cast<TGnlProcObjQz*>(formMethod);
        m->ownerObj = this;
        m->Read(nullptr);
        if (!m->table) m->table = dynamic_cast<TFileObjQz*>(ownerObj);
    }
    // Made now or by an earlier parse: the form uses it either way.
    if (formMethod) result = XRef(this, formMethod);
    if (result == 0 && !GromMemHdl) result = kMemFull;
    if (result == 0) result = GetForm(formResId);
    if (mbarNumber != 0) {
        const int16_t barId = MenuBarIdOfSlot(mbarNumber < 0 ? -int32_t(mbarNumber) : mbarNumber);
        const int16_t err = barId > 0 ? XRef(this, SearchObj_Id(owner, 5, barId)) : 0;
        if (result == 0) result = err;
    }
    if (result == 0 && formMethod) {
        result = formMethod->Parse();
    }
    for (int32_t i = 0; result == 0 && objMethods && i < objMethods->Size(); ++i) {
        result = objMethods->At(i)->Parse();
        if (result == 0 && ParseCancelled()) result = kCancelledByUser;
        if (result == 0 && !GromMemHdl) result = kMemFull;
    }
    return CheckParseError(result);
}
