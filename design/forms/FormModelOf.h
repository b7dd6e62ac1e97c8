// A form of the document read into a form model for as long as one use
// lasts: the document's tables loaded, the form's table's field list
// copied, the port's font put back afterwards.
#pragma once

#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/forms/FormTable.h"
#include "design/objects/ObjKinds.h"
#include "forms/model/LayoutEditor.h"
#include "kernel/guards/DrawingGuards.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

// A copy of the table's field list ('FIQz'), owned by the caller.
inline platform::Handle FieldListCopy(TObjQz* table)
{
    if (!table) return nullptr;
    platform::Handle def = xget1res(platform::FourCC("FIQz"), table->id);
    if (!def || !*def) return nullptr;
    platform::Handle copy = def;
    return platform::HandToHand(&copy) == 0 ? copy : nullptr;
}

// Copies the bytes of `from` into `to`; false (to untouched) when it
// cannot grow.
inline bool CopyInto(platform::Handle to, platform::Handle from)
{
    const platform::Size size = platform::GetHandleSize(from);
    platform::SetHandleSize(to, size);
    if (platform::MemError() != 0) return false;
    std::memcpy(*to, *from, size_t(size));
    return true;
}

// Reads the form into a model of the document and hands it to `use`;
// false when it did not read or `use` answered false.
template <class Use>
bool WithModel(TLayoutObjQz* form, Use use)
{
    FontSaver font(true);
    DocTables tables(form->owner);
    platform::Handle fields = FieldListCopy(form->ownerObj);
    bool done = false;
    {
        LayoutEditor model(form->formResId, 0, form->owner ? form->owner->fResFile : 0);
        model.SetCritRoot(fields);
        done = model.ReadLayout() && use(model);
    }
    if (fields) platform::DisposeHandle(fields);
    font.RestoreFont();
    return done;
}
