// A form of the document read into a form model for one piece of work:
// the kernel's table records in place, the table's field list as the
// model's field root, the port's font given back after.
#pragma once

#include "app/documents/MainDoc.h"
#include "design/forms/FormTable.h"
#include "design/objects/ObjKinds.h"
#include "forms/model/LayoutEditor.h"
#include "kernel/guards/DrawingGuards.h"
#include "platform/core/Memory.h"

// A copy of the table's field list ('FIQz'), owned by the caller.
platform::Handle FieldListCopy(TObjQz* table);

// Reads the form into a model and hands it to `use`; false when the form
// does not read whole or `use` answers false.
template <class Use>
bool WithFormModel(TLayoutObjQz* form, Use use)
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
