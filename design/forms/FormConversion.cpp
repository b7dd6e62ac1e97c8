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

bool TLayoutObjQz::ConvertLayout(platform::Handle form)
{
    if (!form || !*form || platform::GetHandleSize(form) == 0) return false;
    if (!GromMemHdl || !CheckMem(platform::GetHandleSize(form))) return false;
    if (platform::GetHandleSize(form) >= 4 && std::memcmp(*form, "FORM", 4) == 0) return true;
    return WithFormModel(this, [&](LayoutEditor& model) {
        platform::Handle image = platform::NewHandle(0);
        const bool packed = image && model.PackFormat(image, false) && CopyInto(form, image);
        if (image) platform::DisposeHandle(image);
        return packed;
    });
}

int16_t TLayoutObjQz::ScaleLayout(const ScaleLayoutParmRec& params)
{
    if (!owner) return platform::memFullErr;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    int16_t result = 0;
    platform::Handle res = xget1res(kFormType, formResId);
    if (!res || !ConvertLayout(res)) {
        result = platform::memFullErr;
    } else {
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
