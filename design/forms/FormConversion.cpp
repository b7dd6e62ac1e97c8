// A form's stored data made ready to edit, and scaled. Forms of the older
// flat layouts, and chunk files of the other byte order, are read into a
// form model and written back as a big-endian chunk file, so that every
// editing and rewriting walker meets one layout. The form's own bytes
// change only once the new image is whole.
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/forms/FormModelUse.h"
#include "design/forms/FormTable.h"
#include "design/objects/ObjKinds.h"
#include "forms/model/LayoutEditor.h"
#include "kernel/guards/DrawingGuards.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr int16_t kBadForm = 9001;  // data that does not read as a form
constexpr int16_t kMissing = 1003;  // an object missing

// Why the store gave no form: its error, or the form is missing.
int16_t NotGiven() { return reserr == kResNotFound || reserr == 0 ? kMissing : reserr; }

// Copies the bytes of `from` into `to`; false (to untouched) when it
// cannot grow.
bool CopyInto(platform::Handle to, platform::Handle from)
{
    const platform::Size size = platform::GetHandleSize(from);
    platform::SetHandleSize(to, size);
    if (platform::MemError() != 0) return false;
    std::memcpy(*to, *from, size_t(size));
    return true;
}

}  // namespace

platform::Handle FieldListCopy(TObjQz* table)
{
    if (!table) return nullptr;
    platform::Handle def = xget1res(platform::FourCC("FIQz"), table->id);
    if (!def || !*def) return nullptr;
    platform::Handle copy = def;
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

int16_t TLayoutObjQz::ConvertLayout(platform::Handle form)
{
    if (!form || !*form || platform::GetHandleSize(form) == 0) return kBadForm;
    if (!GromMemHdl || !CheckMem(platform::GetHandleSize(form))) return platform::memFullErr;
    if (platform::GetHandleSize(form) >= 4 && std::memcmp(*form, "FORM", 4) == 0) return 0;
    // The model reads the stored form: one the store cannot give is its
    // error, one that does not read whole is damaged.
    {
        const int16_t saved = xcurres();
        if (owner) useres(owner->fResFile);
        const bool had = xget1res(kFormType, formResId) != nullptr;
        const int16_t why = NotGiven();
        useres(saved);
        if (!had) return why;
    }
    int16_t err = kBadForm;
    WithFormModel(this, [&](LayoutEditor& model) {
        platform::Handle image = platform::NewHandle(0);
        err = image && model.PackFormat(image, false) && CopyInto(form, image) ? 0 : platform::memFullErr;
        if (image) platform::DisposeHandle(image);
        return err == 0;
    });
    return err;
}

int16_t TLayoutObjQz::ScaleLayout(const ScaleLayoutParmRec& params)
{
    if (!owner) return platform::memFullErr;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    platform::Handle res = xget1res(kFormType, formResId);
    int16_t result = res ? ConvertLayout(res) : NotGiven();
    if (result == 0) {
        const bool scaled = WithFormModel(this, [&](LayoutEditor& model) {
            model.Brz_DoScale(params.scale, params.flag);
            platform::Handle image = platform::NewHandle(0);
            const bool packed = image && model.PackFormat(image, false) && CopyInto(res, image);
            if (image) platform::DisposeHandle(image);
            return packed;
        });
        useres(owner->fResFile);
        if (!scaled) result = platform::memFullErr;
        else if (!xwriteres(res) || !updateres(owner->fResFile)) result = reserr ? reserr : platform::ioErr;
    }
    useres(saved);
    return result;
}
